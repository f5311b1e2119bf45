#include "ui/frmAsistTask.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/Session.h"
#include "engine/Startup.h"
#include "engine/TaskEditing.h"
#include "ui/DialogText.h"
#include "ui/FolderTree.h"

namespace tandrel {

namespace {

constexpr int kPasoCopia = 11;
constexpr int kPasoResumen = 6;

}  // namespace

frmAsistTask::frmAsistTask(Session& session, AppView& view, QWidget* parent)
    : QDialog(parent), session_(session), view_(view) {
  setObjectName("frmAsistTask");
  setWindowTitle(Qs(session_.W("frmATASK")));
  BuildControls();
  ValoresIniciales();
  MuestraPaso(1);
}

void frmAsistTask::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  pages_ = new QStackedWidget(this);
  nombre_ = CreaPaginaNombre(session_, pages_);
  copia_ = CreaPaginaCopia(session_, pages_);
  usb_ = CreaPaginaUSB(session_, pages_);
  pc_ = CreaPaginaPC(session_, pages_);
  cambios_ = CreaPaginaCambios(session_, pages_);
  opciones_ = CreaPaginaOpciones(session_, pages_);
  resumen_ = CreaPaginaResumen(session_, pages_);
  const std::pair<int, QWidget*> steps[] = {{1, nombre_.page},   {2, usb_.page},
                                            {3, pc_.page},       {4, cambios_.page},
                                            {5, opciones_.page}, {kPasoResumen, resumen_.page},
                                            {kPasoCopia, copia_.page}};
  for (const auto& [step, page] : steps) pageOfStep_[step] = pages_->addWidget(page);
  layout->addWidget(pages_, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  butPrev_ = new QPushButton(Qs(session_.W("butPREV")), this);
  butPrev_->setObjectName("butPrev");
  Command1_ = new QPushButton(Qs(session_.W("butNEXT")), this);
  Command1_->setObjectName("Command1");
  butCancel_ = new QPushButton(Qs(session_.W("butCancel")), this);
  butCancel_->setObjectName("butCancel");
  // Enter means Next only in the three text boxes; elsewhere it presses no button by itself.
  for (QPushButton* button : {butPrev_, Command1_, butCancel_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->insertSpacing(3, 12);
  layout->addLayout(buttons);

  connect(Command1_, &QPushButton::clicked, this, &frmAsistTask::Siguiente);
  connect(butPrev_, &QPushButton::clicked, this, &frmAsistTask::Anterior);
  connect(butCancel_, &QPushButton::clicked, this, &QDialog::reject);
  for (QLineEdit* box : {nombre_.txtNombre, usb_.AstxtUSB, pc_.AstxtPC}) box->installEventFilter(this);

  // Choosing a folder in a tree writes it into its box; typing in a box never moves the tree, so
  // a folder that does not exist yet can be given.
  connect(usb_.Dir1, &FolderTree::FolderChosen, this,
          [this](const QString& path) { usb_.AstxtUSB->setText(path); });
  connect(pc_.Dir2, &FolderTree::FolderChosen, this,
          [this](const QString& path) { pc_.AstxtPC->setText(path); });
  connect(pc_.Drive1, &QComboBox::activated, this, &frmAsistTask::EligeUnidad);
}

void frmAsistTask::ValoresIniciales() {
  for (QCheckBox* box : {usb_.AschkUSB, pc_.AschkPC, cambios_.AschkUSBNew, cambios_.AschkUSBRefresh,
                         cambios_.AschkUSBDel, cambios_.AschkPCNew, cambios_.AschkPCRefresh,
                         cambios_.AschkPCDel}) {
    box->setChecked(true);
  }

  // Dir1 opens at the root of the drive the program runs from, and that counts as a choice.
  const QString raiz = Qs(DriveRoot(DriveOf(session_.carpetaPrograma, session_.mounts)));
  usb_.Dir1->SetRoot(raiz);
  usb_.AstxtUSB->setText(raiz);

  // Drive1 and Dir2 open on the program's current folder; that is not a choice: AstxtPC stays
  // empty until the user picks a folder or a drive.
  const std::string actual = QDir::currentPath().toStdString();
  const std::string raizActual = DriveRoot(DriveOf(actual, session_.mounts));
  const std::vector<std::string> puntos =
      DrivesToShow(session_.mounts, QDir::homePath().toStdString(),
                   DriveOf(session_.carpetaPrograma, session_.mounts));
  for (const std::string& punto : puntos) {
    const std::string raizPunto = DriveRoot(punto);
    pc_.Drive1->addItem(Qs(DriveForDisplay(punto)), Qs(raizPunto));
    if (raizPunto == raizActual) pc_.Drive1->setCurrentIndex(pc_.Drive1->count() - 1);
  }
  if (pc_.Dir2->SetRoot(Qs(raizActual))) pc_.Dir2->ShowFolder(Qs(actual));
}

bool frmAsistTask::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Siguiente();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmAsistTask::MuestraPaso(int paso) {
  paso_ = paso;
  pages_->setCurrentIndex(pageOfStep_.at(paso));
  butPrev_->setEnabled(paso > 1);
  // What the user types next goes to the page's first field; the summary only asks for Next.
  QWidget* const primero[] = {nullptr,           nombre_.txtNombre,   usb_.AstxtUSB,
                              pc_.AstxtPC,       cambios_.AschkUSBNew, opciones_.AschkAuto,
                              Command1_};
  QWidget* campo = paso == kPasoCopia ? copia_.lstTareas : primero[paso];
  campo->setFocus(Qt::OtherFocusReason);
}

void frmAsistTask::Siguiente() {
  switch (paso_) {
    case 1:
      // Only an empty name is refused: one made of spaces is a name.
      if (nombre_.txtNombre->text().isEmpty()) {
        view_.ShowMessage(MessageIcon::Information, kTitulo, session_.W("errTask1"));
        return;
      }
      if (nombre_.optTipo[1]->isChecked()) {
        LlenaListaCopia();
        MuestraPaso(kPasoCopia);
      } else {
        MuestraPaso(2);
      }
      return;
    case kPasoCopia:
      if (copia_.lstTareas->topLevelItemCount() > 0) CopiaTarea();
      LlenaResumen();
      MuestraPaso(kPasoResumen);
      return;
    case 5:
      LlenaResumen();
      MuestraPaso(kPasoResumen);
      return;
    case kPasoResumen:
      CreaTarea();
      return;
    default:
      MuestraPaso(paso_ + 1);
  }
}

void frmAsistTask::Anterior() {
  if (paso_ == kPasoCopia) {
    MuestraPaso(1);
  } else if (paso_ > 1) {
    MuestraPaso(paso_ - 1);
  }
}

void frmAsistTask::LlenaListaCopia() {
  QTreeWidget* lista = copia_.lstTareas;
  lista->clear();
  for (const TareaDeHost& fila : TasksOfEveryComputer(session_, view_)) {
    const clsTarea& t = fila.Tarea;
    auto* item = new QTreeWidgetItem(QStringList{QString::number(t.ID), Qs(fila.HOSTNAME),
                                                 Qs(t.Descripcion), Qs(t.Left), Qs(t.Right)});
    item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(t.ID));
    lista->addTopLevelItem(item);
  }
  for (int column = 0; column < lista->columnCount(); ++column) lista->resizeColumnToContents(column);
  if (lista->topLevelItemCount() > 0) lista->setCurrentItem(lista->topLevelItem(0));
}

void frmAsistTask::CopiaTarea() {
  const QTreeWidgetItem* fila = copia_.lstTareas->currentItem();
  if (fila == nullptr) fila = copia_.lstTareas->topLevelItem(0);
  const auto copia = CopyOfTask(session_, view_, fila->data(0, Qt::UserRole).toLongLong());
  if (!copia) return;
  // Folders and letters come over; the name typed on step 1 stays, and the copy belongs to this
  // computer.
  usb_.AstxtUSB->setText(Qs(copia->usbFolder));
  leftCopiado_ = copia->usbLeft;
  pc_.AstxtPC->setText(Qs(copia->pcFolder));
  const TaskOptions& o = copia->options;
  const std::pair<QCheckBox*, bool> boxes[] = {
      {usb_.AschkUSB, o.usb.subcarpetas},        {cambios_.AschkUSBNew, o.usb.nuevos},
      {cambios_.AschkUSBRefresh, o.usb.actualizados}, {cambios_.AschkUSBDel, o.usb.borrados},
      {pc_.AschkPC, o.pc.subcarpetas},           {cambios_.AschkPCNew, o.pc.nuevos},
      {cambios_.AschkPCDel, o.pc.borrados},      {cambios_.AschkPCRefresh, o.pc.actualizados},
      {opciones_.AschkAuto, o.automatica},       {opciones_.AschkOptimist, o.optimista},
      {opciones_.AschkORead, o.soloLectura}};
  for (const auto& [box, ticked] : boxes) box->setChecked(ticked);
}

void frmAsistTask::LlenaResumen() {
  resumen_.lblDesc->setText(nombre_.txtNombre->text());
  resumen_.txtUSB->setText(usb_.AstxtUSB->text());
  resumen_.txtPC->setText(pc_.AstxtPC->text());
  const std::pair<QCheckBox*, QCheckBox*> pares[] = {
      {resumen_.chkUSB, usb_.AschkUSB},
      {resumen_.chkPC, pc_.AschkPC},
      {resumen_.chkUSBNew, cambios_.AschkUSBNew},
      {resumen_.chkUSBRefresh, cambios_.AschkUSBRefresh},
      {resumen_.chkUSBDel, cambios_.AschkUSBDel},
      {resumen_.chkPCNew, cambios_.AschkPCNew},
      {resumen_.chkPCRefresh, cambios_.AschkPCRefresh},
      {resumen_.chkPCDel, cambios_.AschkPCDel},
      {resumen_.chkAuto, opciones_.AschkAuto},
      {resumen_.chkORead, opciones_.AschkORead},
      {resumen_.chkOptimist, opciones_.AschkOptimist},
  };
  for (const auto& [resumen, paso] : pares) resumen->setChecked(paso->isChecked());
}

void frmAsistTask::CreaTarea() {
  // The task is made from what the summary shows, which is what the user confirmed.
  TaskForm form{Ss(resumen_.lblDesc->text()), Ss(resumen_.txtUSB->text()),
                Ss(resumen_.txtPC->text()), {}, leftCopiado_};
  form.options.usb = {resumen_.chkUSBNew->isChecked(), resumen_.chkUSBDel->isChecked(),
                      resumen_.chkUSBRefresh->isChecked(), resumen_.chkUSB->isChecked()};
  form.options.pc = {resumen_.chkPCNew->isChecked(), resumen_.chkPCDel->isChecked(),
                     resumen_.chkPCRefresh->isChecked(), resumen_.chkPC->isChecked()};
  form.options.automatica = resumen_.chkAuto->isChecked();
  form.options.soloLectura = resumen_.chkORead->isChecked();
  form.options.optimista = resumen_.chkOptimist->isChecked();
  (void)CreateTask(session_, view_, form);  // a failure is logged
  accept();
}

void frmAsistTask::EligeUnidad(int indice) {
  const QString raiz = pc_.Drive1->itemData(indice).toString();
  // A drive that cannot be read is passed over: Dir2 and the PC folder stay as they were.
  if (pc_.Dir2->SetRoot(raiz)) pc_.AstxtPC->setText(raiz);
}

}  // namespace tandrel
