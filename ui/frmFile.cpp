#include "ui/frmFile.h"

#include <charconv>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "engine/Analisis.h"
#include "engine/Session.h"
#include "ui/DialogText.h"
#include "ui/FileSideBox.h"

namespace tandrel {

namespace {

// The five choices, by index: fixed texts (they are not in the language files) and the code each
// writes into the entry.
struct Choice {
  const char* text;
  const char* code;
};
constexpr std::array<Choice, 5> kChoices{{
    {"[----->] - Copy file to Disk drive", "C1"},
    {"[<-----] - Copy file to USB drive", "C2"},
    {"[---->X] - Delete file from Disk drive", "X2"},
    {"[X<----] - Delete file from USB Drive", "X1"},
    {"[|-//-|] - No action", "ZZ"},
}};

QString Fecha(const TimeText& stamp) { return Qs(FormateaFecha(stamp.Text())); }

// A drive in a title: as it is stored, the root file system as "/".
QString DriveTitle(const std::string& drive) { return Qs(drive.empty() ? "/" : drive); }

// The size as the dialog shows it: digits grouped in threes with the system's thousands separator,
// then " bytes"; a size of zero as "0 bytes".
QString TextoTamano(const SizeText& packed) {
  const auto text = packed.Text();
  const std::string_view size = text;
  std::int64_t value = 0;
  const char* end = size.data() + size.size();
  auto [stop, error] = std::from_chars(size.data(), end, value);
  // A size that is not a number (a hand-edited snapshot) shows as it is.
  if (error != std::errc() || stop != end) return Qs(size) + " bytes";
  if (value == 0) return "0 bytes";
  QString digits = QString::number(value < 0 ? -value : value);
  QString separator = QLocale::system().groupSeparator();
  if (separator.isEmpty()) separator = ",";
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, separator);
  return (value < 0 ? "-" : "") + digits + " bytes";
}

}  // namespace

frmFile::frmFile(Session& session, AppView& view, QWidget* parent)
    : QDialog(parent), session_(session), view_(view) {
  setObjectName("frmFile");
  setWindowTitle(kTitulo);
  BuildControls();
  PonTextos();
}

void frmFile::BuildControls() {
  auto* layout = new QVBoxLayout(this);

  fileFrame_ = new QGroupBox(this);
  auto* fileLayout = new QVBoxLayout(fileFrame_);
  txtFile_ = new QLineEdit(fileFrame_);
  txtFile_->setObjectName("txtFile");
  txtFile_->setReadOnly(true);
  txtFile_->setFocus();  // taken when the dialog shows
  fileLayout->addWidget(txtFile_);
  layout->addWidget(fileFrame_);

  auto* sides = new QHBoxLayout;
  lblUSB_ = new FileSideBox("lblUSB", false, this);
  lblPC_ = new FileSideBox("lblPC", false, this);
  lastSync_ = new FileSideBox("lastSync", true, this);
  lblUSB_->note()->setObjectName("lblNUSB");
  lblPC_->note()->setObjectName("lblNPC");
  lastSync_->note()->setObjectName("lblDB");
  for (FileSideBox* box : {lblUSB_, lblPC_, lastSync_}) sides->addWidget(box, 1);
  layout->addLayout(sides);

  auto* actions = new QHBoxLayout;
  actionFrame_ = new QGroupBox(this);
  auto* actionLayout = new QVBoxLayout(actionFrame_);
  lblAction_ = PlainLabel({}, actionFrame_);
  lblAction_->setObjectName("lblAction");
  // The arrow is drawn with characters: it reads right only in a fixed-width font.
  QFont arrowFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  arrowFont.setPointSizeF(arrowFont.pointSizeF() * 1.5);
  arrowFont.setBold(true);
  lblAction_->setFont(arrowFont);
  lblAction_->setAlignment(Qt::AlignCenter);
  actionLayout->addWidget(lblAction_);
  actions->addWidget(actionFrame_, 0);

  userFrame_ = new QGroupBox(this);
  auto* userLayout = new QVBoxLayout(userFrame_);
  choices_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < kChoices.size(); ++i) {
    optUser_[i] = new QRadioButton(kChoices[i].text, userFrame_);
    optUser_[i]->setObjectName(QString("optUser%1").arg(i));
    choices_->addButton(optUser_[i], static_cast<int>(i));
    userLayout->addWidget(optUser_[i]);
  }
  actions->addWidget(userFrame_, 1);
  layout->addLayout(actions);

  auto* buttons = new QDialogButtonBox(this);
  butOK_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
  butOK_->setObjectName("butOK");
  butOK_->setEnabled(false);
  butCancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
  butCancel_->setObjectName("butCancel");
  layout->addWidget(buttons);

  connect(choices_, &QButtonGroup::idClicked, this, [this] { butOK_->setEnabled(true); });
  connect(butOK_, &QPushButton::clicked, this, &frmFile::Acepta);
  connect(butCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFile::setVisible(bool visible) {
  // Loading happens when the dialog opens, after the caller has set Archivo and IDTarea, and before
  // the dialog takes its size from what it is about to show.
  if (visible && !isVisible()) Carga();
  QDialog::setVisible(visible);
}

void frmFile::PonTextos() {
  fileFrame_->setTitle(Qs(session_.W("capFileName")));
  const QString size = Qs(session_.W("capSize"));
  const QString creation = Qs(session_.W("capCreation"));
  const QString modified = Qs(session_.W("capModified"));
  const QString access = Qs(session_.W("capAccess"));
  const QString noFile = Qs(session_.W("lblNoFile"));
  lblUSB_->SetCaptions(size, creation, modified, access, noFile);
  lblPC_->SetCaptions(size, creation, modified, access, noFile);
  lastSync_->SetCaptions(size, creation, modified, access, Qs(session_.W("lblNoReg")),
                         Qs(session_.W("capLastSync")));
  lastSync_->setTitle("Last Sync");
  actionFrame_->setTitle(Qs(session_.W("capAction")));
  userFrame_->setTitle(Qs(session_.W("capUserA")));
  butOK_->setText(Qs(session_.W("butOK")));
  butCancel_->setText(Qs(session_.W("butCancel")));
}

void frmFile::Carga() {
  const std::string usbDrive = DriveOf(session_.carpetaPrograma, session_.mounts);
  std::string pcDrive;
  if (IDTarea >= 1 && IDTarea <= session_.Tareas.Count()) {
    pcDrive = DriveOf(session_.Tareas.ITem1(IDTarea).Right, session_.mounts);
  }
  lblUSB_->setTitle("USB Drive (" + DriveTitle(usbDrive) + ")");
  lblPC_->setTitle("PC Drive (" + DriveTitle(pcDrive) + ")");
  // Every opening starts from a clean slate, whatever an earlier one left.
  for (FileSideBox* box : {lblUSB_, lblPC_, lastSync_}) box->Clear();
  choices_->setExclusive(false);
  for (QRadioButton* option : optUser_) {
    option->setChecked(false);
    option->setEnabled(true);
  }
  choices_->setExclusive(true);
  butOK_->setEnabled(false);
  lblAction_->clear();

  txtFile_->setText(Qs(Archivo));
  txtFile_->setCursorPosition(0);

  const clsArchivo* entrada = session_.Archivos.Find(Archivo);
  // Without its entry there is nothing to show or to change: every choice stays disabled.
  if (entrada == nullptr) {
    for (QRadioButton* option : optUser_) option->setEnabled(false);
    lblUSB_->ShowNote();
    lblPC_->ShowNote();
    lastSync_->ShowNote();
    return;
  }

  if (!entrada->USB_Ruta.empty()) {
    lblUSB_->Fill({TextoTamano(entrada->USB_Tamano), Fecha(entrada->USB_Creacion),
                   Fecha(entrada->USB_Modificado), Fecha(entrada->USB_Acceso), {}});
  } else {
    lblUSB_->ShowNote();
  }
  if (!entrada->PC_Ruta.empty()) {
    lblPC_->Fill({TextoTamano(entrada->PC_Tamano), Fecha(entrada->PC_Creacion),
                  Fecha(entrada->PC_Modificado), Fecha(entrada->PC_Acceso), {}});
  } else {
    lblPC_->ShowNote();
  }

  const clsFile& registro = session_.Ficheros.Item(Archivo);
  if (!registro.Known()) {
    lastSync_->ShowNote();
  } else {
    lastSync_->Fill({TextoTamano(registro.Size), Fecha(registro.Creation), Fecha(registro.Last),
                     Fecha(registro.Access), Fecha(registro.Sync)});
  }

  // A choice that would copy or delete a file that is not there is not offered: each needs the
  // copy on the side its operation starts from.
  for (std::size_t i = 0; i < kChoices.size(); ++i) {
    const ActionMapping* choice = FindActionMapping(kChoices[i].code);
    if (choice == nullptr || choice->operation == Operation::None) continue;
    const bool usb = choice->side == FileSide::Usb;
    if ((usb ? entrada->USB_Ruta : entrada->PC_Ruta).empty()) optUser_[i]->setEnabled(false);
  }

  const ActionMapping* mapping = FindActionMapping(entrada->Action);
  lblAction_->setText(mapping != nullptr ? Qs(mapping->arrow) : QString());
}

void frmFile::Acepta() {
  clsArchivo* entrada = session_.Archivos.Find(Archivo);
  const int chosen = choices_->checkedId();
  if (entrada == nullptr || chosen < 0) return;
  entrada->Action = kChoices[static_cast<std::size_t>(chosen)].code;
  ActualizaEnlista(session_, view_, Archivo, "USER");
  accept();
}

}  // namespace tandrel
