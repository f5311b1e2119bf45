#include "ui/frmAsistTaskPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/Session.h"
#include "ui/DialogText.h"
#include "ui/FolderTree.h"

namespace tandrel {

namespace {

QString Word(const Session& session, std::string_view key) { return Qs(session.W(key)); }

QWidget* NewPage(QWidget* parent, QVBoxLayout*& layout) {
  auto* page = new QWidget(parent);
  layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  return page;
}

// The heading of a page.
QLabel* Title(const QString& text, const char* name, QWidget* parent, QVBoxLayout* layout) {
  QLabel* label = WrappedLabel(text, parent);
  label->setObjectName(name);
  QFont font = label->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.15);
  label->setFont(font);
  layout->addWidget(label);
  return label;
}

QLabel* Text(const QString& text, const char* name, QWidget* parent, QLayout* layout) {
  QLabel* label = WrappedLabel(text, parent);
  label->setObjectName(name);
  layout->addWidget(label);
  return label;
}

QCheckBox* Box(const QString& text, const char* name, QWidget* parent, QLayout* layout) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  layout->addWidget(box);
  return box;
}

// A check box and, below it and indented under its text, what it means.
QCheckBox* ExplainedBox(const QString& text, const char* name, const QString& explanation,
                        const char* explanationName, QWidget* parent, QLayout* layout) {
  QCheckBox* box = Box(text, name, parent, layout);
  QLabel* label = Text(explanation, explanationName, parent, layout);
  label->setIndent(box->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6);
  label->setContentsMargins(0, 0, 0, 6);
  return box;
}

QLineEdit* PathBox(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 40);
  return box;
}

}  // namespace

PaginaNombre CreaPaginaNombre(const Session& session, QWidget* parent) {
  PaginaNombre p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "ATITLE1"), "Label28", p.page, layout);
  Text(Word(session, "TaskName"), "Label20", p.page, layout);
  p.txtNombre = new QLineEdit(p.page);
  p.txtNombre->setObjectName("txtNombre");
  // The limit the task editor sets, so that every name can be edited there without being cut.
  p.txtNombre->setMaxLength(50);
  layout->addWidget(p.txtNombre);
  layout->addSpacing(8);
  Text(Word(session, "sltTask"), "Label1", p.page, layout);
  const char* keys[2][2] = {{"Task1", "Task1Desc"}, {"Task2", "Task2DESC"}};
  const char* labels[2] = {"Label2", "Label3"};
  for (int i = 0; i < 2; ++i) {
    p.optTipo[i] = new QRadioButton(Word(session, keys[i][0]), p.page);
    p.optTipo[i]->setObjectName(QString("optTipo%1").arg(i));
    layout->addWidget(p.optTipo[i]);
    QLabel* label = Text(Word(session, keys[i][1]), labels[i], p.page, layout);
    label->setIndent(p.optTipo[i]->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 6);
  }
  p.optTipo[0]->setChecked(true);
  layout->addStretch(1);
  return p;
}

PaginaCopia CreaPaginaCopia(const Session& session, QWidget* parent) {
  PaginaCopia p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "sltCOPY"), "Label31", p.page, layout);
  p.lstTareas = new QTreeWidget(p.page);
  p.lstTareas->setObjectName("lstTareas");
  p.lstTareas->setRootIsDecorated(false);
  p.lstTareas->setAllColumnsShowFocus(true);
  p.lstTareas->setHeaderLabels({"ID", "Hostname", "Description", "USB Path", "PC Path"});
  p.lstTareas->header()->setSectionResizeMode(QHeaderView::Interactive);
  layout->addWidget(p.lstTareas, 1);
  return p;
}

PaginaUSB CreaPaginaUSB(const Session& session, QWidget* parent) {
  PaginaUSB p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "sltUSB"), "Label8", p.page, layout);
  Text(Word(session, "AStep1"), "Label5", p.page, layout);
  p.Dir1 = new FolderTree(p.page);
  p.Dir1->setObjectName("Dir1");
  layout->addWidget(p.Dir1, 1);
  p.AstxtUSB = PathBox("AstxtUSB", p.page);
  layout->addWidget(p.AstxtUSB);
  p.AschkUSB = Box(Word(session, "incSF"), "AschkUSB", p.page, layout);
  return p;
}

PaginaPC CreaPaginaPC(const Session& session, QWidget* parent) {
  PaginaPC p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "sltPC"), "Label7", p.page, layout);
  Text(Word(session, "ASTEP2"), "Label6", p.page, layout);
  p.Drive1 = new QComboBox(p.page);
  p.Drive1->setObjectName("Drive1");
  p.Drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  p.Drive1->setMinimumContentsLength(20);
  layout->addWidget(p.Drive1);
  p.Dir2 = new FolderTree(p.page);
  p.Dir2->setObjectName("Dir2");
  layout->addWidget(p.Dir2, 1);
  p.AstxtPC = PathBox("AstxtPC", p.page);
  layout->addWidget(p.AstxtPC);
  p.AschkPC = Box(Word(session, "incSF"), "AschkPC", p.page, layout);
  return p;
}

PaginaCambios CreaPaginaCambios(const Session& session, QWidget* parent) {
  PaginaCambios p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "lblAT5"), "Label9", p.page, layout);
  Text(Word(session, "lblAT6"), "Label10", p.page, layout);
  const QString news = Word(session, "chkAT4");
  const QString updates = Word(session, "chkAT5");
  const QString deletions = Word(session, "chkAT6");

  auto* usb = new QGroupBox("USB -> PC", p.page);
  usb->setObjectName("Frame1");
  auto* usbLayout = new QVBoxLayout(usb);
  p.AschkUSBNew = ExplainedBox(news, "AschkUSBNew", Word(session, "lblAT7"), "Label11", usb, usbLayout);
  p.AschkUSBRefresh =
      ExplainedBox(updates, "AschkUSBRefresh", Word(session, "lblAT8"), "Label12", usb, usbLayout);
  p.AschkUSBDel =
      ExplainedBox(deletions, "AschkUSBDel", Word(session, "lblAT9"), "Label13", usb, usbLayout);
  usbLayout->addStretch(1);

  auto* pc = new QGroupBox("PC -> USB", p.page);
  pc->setObjectName("Frame2");
  auto* pcLayout = new QVBoxLayout(pc);
  p.AschkPCNew = ExplainedBox(news, "AschkPCNew", Word(session, "lblAT10"), "Label16", pc, pcLayout);
  p.AschkPCRefresh =
      ExplainedBox(updates, "AschkPCRefresh", Word(session, "lblat11"), "Label15", pc, pcLayout);
  p.AschkPCDel =
      ExplainedBox(deletions, "AschkPCDel", Word(session, "lblat12"), "Label14", pc, pcLayout);
  pcLayout->addStretch(1);

  auto* sides = new QHBoxLayout;
  sides->addWidget(usb, 1);
  sides->addWidget(pc, 1);
  layout->addLayout(sides, 1);
  return p;
}

PaginaOpciones CreaPaginaOpciones(const Session& session, QWidget* parent) {
  PaginaOpciones p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "advOPT"), "Label24", p.page, layout);
  Text(Word(session, "lblAT1"), "Label23", p.page, layout);
  layout->addSpacing(6);
  p.AschkAuto = ExplainedBox(Word(session, "chkAT1"), "AschkAuto", Word(session, "lblAT2"),
                             "Label17", p.page, layout);
  p.AschkORead = ExplainedBox(Word(session, "chkAT2"), "AschkORead", Word(session, "lblat3"),
                              "Label18", p.page, layout);
  p.AschkOptimist = ExplainedBox(Word(session, "chkAT3"), "AschkOptimist", Word(session, "lblAT4"),
                                 "Label19", p.page, layout);
  layout->addStretch(1);
  return p;
}

PaginaResumen CreaPaginaResumen(const Session& session, QWidget* parent) {
  PaginaResumen p;
  QVBoxLayout* layout = nullptr;
  p.page = NewPage(parent, layout);
  Title(Word(session, "lblAT13"), "Label25", p.page, layout);
  Text(Word(session, "lblAT14"), "Label26", p.page, layout);

  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  auto* Label27 = PlainLabel(Word(session, "lblTITLE"), p.page);
  Label27->setObjectName("Label27");
  p.lblDesc = PlainLabel({}, p.page);
  p.lblDesc->setObjectName("lblDesc");
  QFont bold = p.lblDesc->font();
  bold.setBold(true);
  p.lblDesc->setFont(bold);
  grid->addWidget(Label27, 0, 0);
  grid->addWidget(p.lblDesc, 0, 1, 1, 2);
  auto addFolder = [&](int row, const char* key, const char* labelName, QLineEdit*& box,
                       const char* boxName, QCheckBox*& sub, const char* subName) {
    auto* label = PlainLabel(Word(session, key) + " : ", p.page);
    label->setObjectName(labelName);
    box = PathBox(boxName, p.page);
    box->setReadOnly(true);
    sub = new QCheckBox(Word(session, "incSF"), p.page);
    sub->setObjectName(subName);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(sub, row, 2);
  };
  addFolder(1, "capPUSB", "Label21", p.txtUSB, "txtUSB", p.chkUSB, "chkUSB");
  addFolder(2, "capPPC", "Label22", p.txtPC, "txtPC", p.chkPC, "chkPC");
  layout->addLayout(grid);

  const QString news = Word(session, "wrdnews");
  const QString updates = Word(session, "wrdMODF");
  const QString deletions = Word(session, "wrdDELE");
  auto* frames = new QHBoxLayout;
  auto* usb = new QGroupBox("USB -> PC", p.page);
  usb->setObjectName("Frame3");
  auto* usbLayout = new QVBoxLayout(usb);
  p.chkUSBNew = Box(news, "chkUSBNew", usb, usbLayout);
  p.chkUSBRefresh = Box(updates, "chkUSBRefresh", usb, usbLayout);
  p.chkUSBDel = Box(deletions, "chkUSBDel", usb, usbLayout);
  auto* pc = new QGroupBox("PC -> USB", p.page);
  pc->setObjectName("Frame4");
  auto* pcLayout = new QVBoxLayout(pc);
  p.chkPCNew = Box(news, "chkPCNew", pc, pcLayout);
  p.chkPCRefresh = Box(updates, "chkPCRefresh", pc, pcLayout);
  p.chkPCDel = Box(deletions, "chkPCDel", pc, pcLayout);
  auto* options = new QGroupBox(Word(session, "advOPT"), p.page);
  options->setObjectName("Frame5");
  auto* optionsLayout = new QVBoxLayout(options);
  p.chkAuto = Box(Word(session, "chkASTART"), "chkAuto", options, optionsLayout);
  p.chkORead = Box(Word(session, "chkASRO"), "chkORead", options, optionsLayout);
  p.chkOptimist = Box(Word(session, "chkASOPT"), "chkOptimist", options, optionsLayout);
  frames->addWidget(usb, 1);
  frames->addWidget(pc, 1);
  frames->addWidget(options, 1);
  layout->addLayout(frames);
  layout->addStretch(1);

  // The summary only shows what the pages hold; it is changed by going back to them.
  for (QCheckBox* box : {p.chkUSB, p.chkPC, p.chkUSBNew, p.chkUSBRefresh, p.chkUSBDel, p.chkPCNew,
                         p.chkPCRefresh, p.chkPCDel, p.chkAuto, p.chkORead, p.chkOptimist}) {
    box->setEnabled(false);
  }
  return p;
}

}  // namespace tandrel
