#include "ui/frmTask.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Platform.h"
#include "engine/Session.h"
#include "engine/TaskEditing.h"
#include "ui/DialogText.h"

namespace tandrel {

namespace {

constexpr int kLargoNombre = 50;  // characters a name may be typed with

QCheckBox* Box(const char* name, QWidget* parent, QLayout* layout) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(name);
  layout->addWidget(box);
  return box;
}

QGroupBox* Frame(const char* name, QWidget* parent) {
  auto* frame = new QGroupBox(parent);
  frame->setObjectName(name);
  return frame;
}

}  // namespace

frmTask::frmTask(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName("frmTask");
  setWindowTitle("Task editor");
  BuildControls();
  PonTextos();
}

void frmTask::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  Label28_ = WrappedLabel({}, this);
  Label28_->setObjectName("Label28");
  QFont titleFont = Label28_->font();
  titleFont.setBold(true);
  Label28_->setFont(titleFont);
  layout->addWidget(Label28_);

  Frame1_ = Frame("Frame1", this);
  auto* nameLayout = new QVBoxLayout(Frame1_);
  txtNombre_ = new QLineEdit(Frame1_);
  txtNombre_->setObjectName("txtNombre");
  txtNombre_->setMaxLength(kLargoNombre);
  nameLayout->addWidget(txtNombre_);
  layout->addWidget(Frame1_);

  // One column per direction: the folder of the side the changes come from, and which changes go.
  auto makeSide = [this](QGroupBox*& side, const char* sideName, const char* fixed,
                         QGroupBox*& folderFrame, const char* folderName, QLineEdit*& folder,
                         const char* folderBox, QCheckBox*& sub, const char* subName,
                         QGroupBox*& changes, const char* changesName) {
    side = Frame(sideName, this);
    side->setTitle(fixed);
    auto* sideLayout = new QVBoxLayout(side);
    folderFrame = Frame(folderName, side);
    auto* folderLayout = new QVBoxLayout(folderFrame);
    folder = new QLineEdit(folderFrame);
    folder->setObjectName(folderBox);
    folder->setMinimumWidth(folder->fontMetrics().averageCharWidth() * 44);
    folderLayout->addWidget(folder);
    sub = Box(subName, folderFrame, folderLayout);
    sideLayout->addWidget(folderFrame);
    changes = Frame(changesName, side);
    sideLayout->addWidget(changes);
    sideLayout->addStretch(1);
    return new QVBoxLayout(changes);
  };
  auto* sides = new QHBoxLayout;
  QVBoxLayout* left = makeSide(Frame2_, "Frame2", "USB ------------> PC", Frame5_, "Frame5",
                               txtLeft_, "txtLeft", chkSubLeft_, "chkSubLeft", Frame6_, "Frame6");
  chkNL_ = Box("chkNL", Frame6_, left);
  chkEL_ = Box("chkEL", Frame6_, left);
  chkAL_ = Box("chkAL", Frame6_, left);
  QVBoxLayout* right = makeSide(Frame3_, "Frame3", "PC ------------> USB", Frame8_, "Frame8",
                                txtRight_, "txtRight", chkSubRight_, "chkSubRight", Frame7_,
                                "Frame7");
  chkNR_ = Box("chkNR", Frame7_, right);
  chkER_ = Box("chkER", Frame7_, right);
  chkAR_ = Box("chkAR", Frame7_, right);
  sides->addWidget(Frame2_, 1);
  sides->addWidget(Frame3_, 1);
  layout->addLayout(sides);

  Frame9_ = Frame("Frame9", this);
  auto* taskLayout = new QVBoxLayout(Frame9_);
  chkRun_ = Box("chkRun", Frame9_, taskLayout);
  chkRead_ = Box("chkRead", Frame9_, taskLayout);
  chkOptimista_ = Box("chkOptimista", Frame9_, taskLayout);
  layout->addWidget(Frame9_);

  auto* buttons = new QDialogButtonBox(this);
  butOK_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
  butOK_->setObjectName("butOK");
  butOK_->setDefault(true);
  Command2_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
  Command2_->setObjectName("Command2");
  layout->addWidget(buttons);

  txtNombre_->setFocus();  // taken when the dialog shows
  connect(butOK_, &QPushButton::clicked, this, &frmTask::Guarda);
  connect(Command2_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmTask::PonTextos() {
  Label28_->setText(Qs(session_.W("tit9")));
  Frame1_->setTitle(Qs(session_.W("capDesc")));
  const QString folder = Qs(session_.W("wrdFolder"));
  const QString changes = Qs(session_.W("lblAT5"));
  const QString subfolders = Qs(session_.W("incSF"));
  Frame5_->setTitle(folder);
  Frame8_->setTitle(folder);
  Frame6_->setTitle(changes);
  Frame7_->setTitle(changes);
  chkSubLeft_->setText(subfolders);
  chkSubRight_->setText(subfolders);
  const QString news = Qs(session_.W("chkAT4"));
  const QString deletions = Qs(session_.W("chkAT6"));
  const QString updates = Qs(session_.W("chkAT5"));
  chkNL_->setText(news);
  chkNR_->setText(news);
  chkEL_->setText(deletions);
  chkER_->setText(deletions);
  chkAL_->setText(updates);
  chkAR_->setText(updates);
  Frame9_->setTitle(Qs(session_.W("advOPT")));
  chkRun_->setText(Qs(session_.W("chkAT1")));
  chkRead_->setText(Qs(session_.W("chkAT2")));
  chkOptimista_->setText(Qs(session_.W("chkAT3")));
  butOK_->setText(Qs(session_.W("butOK")));
  Command2_->setText(Qs(session_.W("butCancel")));
}

void frmTask::Carga(int posicion) {
  const TaskForm form = FormOfTask(session_, session_.Tareas.ITem1(posicion));
  const QString nombre = Qs(form.descripcion);
  // The limit is for typing: a longer name already stored is shown whole, never cut by loading.
  txtNombre_->setMaxLength(std::max<int>(kLargoNombre, static_cast<int>(nombre.size())));
  txtNombre_->setText(nombre);
  txtLeft_->setText(Qs(form.usbFolder));
  txtRight_->setText(Qs(form.pcFolder));
  const SideOptions& usb = form.options.usb;
  const SideOptions& pc = form.options.pc;
  const std::pair<QCheckBox*, bool> boxes[] = {
      {chkSubLeft_, usb.subcarpetas}, {chkNL_, usb.nuevos},  {chkEL_, usb.borrados},
      {chkAL_, usb.actualizados},     {chkSubRight_, pc.subcarpetas}, {chkNR_, pc.nuevos},
      {chkER_, pc.borrados},          {chkAR_, pc.actualizados},
      {chkRead_, form.options.soloLectura}, {chkOptimista_, form.options.optimista},
      {chkRun_, form.options.automatica}};
  for (const auto& [box, ticked] : boxes) box->setChecked(ticked);
  usbLeft_ = form.usbLeft;
  posicion_ = posicion;
}

void frmTask::Guarda() {
  if (posicion_ < 1) {
    reject();
    return;
  }
  TaskForm form{Ss(txtNombre_->text()), Ss(txtLeft_->text()), Ss(txtRight_->text()), {}, usbLeft_};
  form.options.usb = {chkNL_->isChecked(), chkEL_->isChecked(), chkAL_->isChecked(),
                      chkSubLeft_->isChecked()};
  form.options.pc = {chkNR_->isChecked(), chkER_->isChecked(), chkAR_->isChecked(),
                     chkSubRight_->isChecked()};
  form.options.automatica = chkRun_->isChecked();
  form.options.soloLectura = chkRead_->isChecked();
  form.options.optimista = chkOptimista_->isChecked();
  errorAlGuardar_ = SaveTask(session_, posicion_, form);
  accept();
}

}  // namespace tandrel
