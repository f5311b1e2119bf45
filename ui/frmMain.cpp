#include "ui/frmMain.h"

#include <algorithm>
#include <limits>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeView>

#include "core/Public.h"
#include "engine/Analisis.h"
#include "engine/Session.h"
#include "engine/Sincronizacion.h"
#include "engine/Startup.h"
#include "engine/TaskEditing.h"
#include "store/Sentencias.h"
#include "ui/ArrowDelegate.h"
#include "ui/ColumnKeeper.h"
#include "ui/FileListProxy.h"
#include "ui/Icons.h"
#include "ui/KeyedToolBar.h"
#include "ui/MainKeyboard.h"
#include "ui/TaskList.h"
#include "ui/Twips.h"
#include "ui/PeersDialog.h"
#include "ui/frmAsistTask.h"
#include "ui/frmFile.h"
#include "ui/frmOPT.h"
#include "ui/frmTask.h"

namespace tandrel {

namespace {

constexpr const char* kContactAddress = "help@tandrel.org";

// Holds the commands off for as long as it lives; nests.
class Working {
 public:
  explicit Working(AppView& view) : view_(view) { view_.SetWorking(true); }
  ~Working() { view_.SetWorking(false); }
  Working(const Working&) = delete;
  Working& operator=(const Working&) = delete;

 private:
  AppView& view_;
};

void Place(QWidget* widget, const TwipRect& r, double dpiX, double dpiY) {
  const int x0 = TwipsToPixels(r.left, dpiX);
  const int y0 = TwipsToPixels(r.top, dpiY);
  const int x1 = TwipsToPixels(r.left + r.width, dpiX);
  const int y1 = TwipsToPixels(r.top + r.height, dpiY);
  widget->setGeometry(x0, y0, x1 - x0, y1 - y0);
}

std::int16_t ToSetting(int twips) {
  return static_cast<std::int16_t>(std::clamp(twips, 0, int(std::numeric_limits<std::int16_t>::max())));
}

}  // namespace

frmMain::frmMain(Session& session, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      stateImages_(MakeStateImages()),
      toolImages_(MakeToolImages()),
      files_(stateImages_),
      layout_(MainLayout::Designed()) {
  setObjectName(QStringLiteral("frmMain"));
  c_.Build(*this, stateImages_, toolImages_, files_);
  c_.arrows->SetUsbDrive(
      QString::fromStdString(DriveForDisplay(DriveOf(session_.carpetaPrograma, session_.mounts))));
  setWindowIcon(toolImages_.Item("SYNC"));
  c_.client->installEventFilter(this);
  Wire();
  resize(TwipsToPixels(11295, logicalDpiX()), TwipsToPixels(8100, logicalDpiY()));
  ApplyCommandState();
}

frmMain::~frmMain() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void frmMain::Wire() {
  connect(c_.mnuOptions, &QAction::triggered, this, &frmMain::AbreOpciones);
  connect(c_.mnuExit, &QAction::triggered, this, &QWidget::close);
  connect(c_.mnuAddTask, &QAction::triggered, this, &frmMain::AddTask);
  connect(c_.mnuEditTask, &QAction::triggered, this, &frmMain::EditaTarea);
  connect(c_.mnuDelTask, &QAction::triggered, this, &frmMain::BorraTarea);
  connect(c_.mnuTaskReload, &QAction::triggered, this, &frmMain::ReloadTasks);
  connect(c_.mnuAnaliza, &QAction::triggered, this, &frmMain::AnalyseSelected);
  connect(c_.mnuSync, &QAction::triggered, this, &frmMain::SyncSelected);
  connect(c_.mnuHELP, &QAction::triggered, this, &frmMain::ShowHelp);
  connect(c_.mnuPeers, &QAction::triggered, this, &frmMain::ShowPeersOfSelected);
  connect(c_.TOOL, &KeyedToolBar::ButtonClick, this,
          [this](const QString& key) { ToolClick(key.toStdString()); });

  TaskList* tasks = c_.lstTareas;
  connect(tasks, &QTreeWidget::itemSelectionChanged, this, &frmMain::OnTaskRowSelected);
  connect(tasks, &QTreeWidget::itemClicked, this, &frmMain::OnTaskRowSelected);
  connect(tasks, &QTreeWidget::itemDoubleClicked, this, &frmMain::OnTaskDoubleClick);
  connect(tasks, &QWidget::customContextMenuRequested, this, [this, tasks](const QPoint& at) {
    c_.mnuTasks->popup(tasks->viewport()->mapToGlobal(at));
  });
  connect(c_.lstEstado, &QAbstractItemView::doubleClicked, this, &frmMain::OnFileDoubleClick);
  connect(c_.txtBuscar, &QLineEdit::textChanged, c_.fileOrder, &FileListProxy::SetNameFilter);

  // Enter on a row does what a double-click does.
  auto* keyboard = new MainKeyboard(*this, c_);
  connect(keyboard, &MainKeyboard::TaskEnter, this, &frmMain::OnTaskDoubleClick);
  connect(keyboard, &MainKeyboard::FileEnter, this, &frmMain::OnFileDoubleClick);
}

void frmMain::Arranca() {
  Working working(*this);
  setWindowTitle(QString::fromStdString(PonTitulo()));
  c_.ProgressBar->setRange(0, 1);
  c_.ProgressBar->setValue(0);
  PonTextos();
  c_.TOOL->Button("OKS")->setChecked(session_.INI.showOKS);
  c_.TOOL->Button("FSYNC")->setChecked(session_.INI.showFSYNC);
  c_.TOOL->Button("CONFLICT")->setChecked(session_.INI.showCONFLICT);
  LogStartLines(session_, *this);
  ApplyStartGeometry();
  show();
  Yield();
  StartUpAgainstDatabase(session_, *this, StartOptions{});
}

void frmMain::ApplyStartGeometry() {
  const clsArchivoINI& ini = session_.INI;
  if (ini.WindowState == 0) {
    const int width = TwipsToPixels(ini.WindowWidth, logicalDpiX());
    const int height = TwipsToPixels(ini.WindowHeight, logicalDpiY());
    if (width > 0 && height > 0) resize(width, height);
  } else if (ini.WindowState == 2) {
    setWindowState(windowState() | Qt::WindowMaximized);
  }
  c_.fileColumns->Restore(ini.FileColumns, logicalDpiX());
  c_.taskColumns->Restore(ini.TaskColumns, logicalDpiX());
}

void frmMain::PonTextos() {
  auto w = [this](std::string_view key) { return QString::fromStdString(session_.W(key)); };
  c_.mnuMain->setTitle(w("mnuMain"));
  c_.mnuTasks->setTitle(w("mnuTasks"));
  c_.mnuOptions->setText(w("mnuOPTION"));
  c_.mnuExit->setText(w("mnuExit"));
  c_.mnuAddTask->setText(w("mnuAddTask"));
  c_.mnuAnaliza->setText(w("mnuAnalize"));
  c_.mnuDelTask->setText(w("mnuDelTask"));
  c_.mnuEditTask->setText(w("mnuEditTask"));
  c_.mnuTaskReload->setText(w("mnuReload"));
  c_.mnuSync->setText(w("mnuSync"));
  c_.mnuPeers->setText(w("mnuPeers"));
  for (const char* key : {"NEWT", "ANAL", "SYNC", "OPTIONS", "OKS", "FSYNC", "CONFLICT"})
    c_.TOOL->Button(key)->setToolTip(w(std::string("tol") + key));
  c_.lstTareas->SetHeaders({w("capID"), w("capDesc"), w("capState"), w("capPUSB"), w("capPPC"),
                            w("capLastSync")});
  files_.SetHeaders({w("capFile"), w("capState"), w("capAction"), w("capBytes")});
  c_.mnuHELP->setText(w("mnuHELP"));
  c_.txtBuscar->setPlaceholderText(w("capFind"));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == c_.client && event->type() == QEvent::Resize) ColocaControles();
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::ColocaControles() {
  const double dx = logicalDpiX();
  const double dy = logicalDpiY();
  layout_.BAR.height = PixelsToTwips(c_.BAR->sizeHint().height(), dy);
  layout_.Fit(PixelsToTwips(c_.client->width(), dx), PixelsToTwips(c_.client->height(), dy));
  Place(c_.BAR, layout_.BAR, dx, dy);
  c_.panel1->setMaximumWidth(TwipsToPixels(layout_.panel1Width, dx));
  Place(c_.fraMain, layout_.fraMain, dx, dy);
  Place(c_.lstTareas, layout_.lstTareas, dx, dy);
  Place(c_.picEstado, layout_.picEstado, dx, dy);
  Place(c_.fraEstado, layout_.fraEstado, dx, dy);
  Place(c_.lstEstado, layout_.lstEstado, dx, dy);
  Place(c_.txtEstado, layout_.txtEstado, dx, dy);
  Place(c_.ProgressBar, layout_.ProgressBar, dx, dy);
}

void frmMain::ApplyCommandState() {
  const bool idle = Idle();
  for (const char* key : {"NEWT", "OPTIONS", "OKS", "FSYNC", "CONFLICT"})
    c_.TOOL->Button(key)->setEnabled(idle);
  for (QAction* item : {c_.mnuOptions, c_.mnuAddTask, c_.mnuEditTask, c_.mnuDelTask,
                        c_.mnuTaskReload, c_.mnuAnaliza})
    item->setEnabled(idle);
  c_.TOOL->Button("ANAL")->setEnabled(idle && analyseEnabled_);
  c_.TOOL->Button("SYNC")->setEnabled(idle && syncEnabled_);
  c_.mnuSync->setEnabled(idle && syncEnabled_);
  c_.mnuPeers->setEnabled(idle && c_.lstTareas->SelectedPosition() >= 1);
}

void frmMain::ActivaAnalizar() { EnableAnalyse(c_.lstTareas->Count() > 0); }

void frmMain::closeEvent(QCloseEvent* event) {
  if (shutDown_) {
    event->accept();
    return;
  }
  if (!Idle()) {
    // The work on the stack still uses the database: let it return first.
    closePending_ = true;
    CloseDialogs();
    event->ignore();
    return;
  }
  CloseDialogs();
  StoreGeometry();
  shutDown_ = true;
  // The compaction yields, and the connection is gone: no command may start any more.
  SetWorking(true);
  ShutDown(session_, *this);
  event->accept();
}

void frmMain::CloseDialogs() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog && dialog->isVisible()) dialog->reject();
  }
}

void frmMain::StoreGeometry() {
  session_.INI.WindowHeight = ToSetting(PixelsToTwips(height(), logicalDpiY()));
  session_.INI.WindowWidth = ToSetting(PixelsToTwips(width(), logicalDpiX()));
  session_.INI.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  session_.INI.FileColumns = c_.fileColumns->Saved(logicalDpiX());
  session_.INI.TaskColumns = c_.taskColumns->Saved(logicalDpiX());
}

// Commands -----------------------------------------------------------------------------------------

void frmMain::ToolClick(const std::string& key) {
  if (key == "NEWT") AddTask();
  else if (key == "ANAL") AnalyseSelected();
  else if (key == "SYNC") SyncSelected();
  else if (key == "OPTIONS") AbreOpciones();
  else if (key == "OKS" || key == "FSYNC" || key == "CONFLICT") ApplyFilters();
  else ShowMessage(MessageIcon::None, "", key);
}

void frmMain::AddTask() {
  if (!Idle()) return;
  Working working(*this);
  NuevaTarea(session_, *this);
}

int frmMain::SelectedTask() const {
  if (!Idle()) return 0;
  const int position = c_.lstTareas->SelectedPosition();
  return position >= 1 && position <= session_.Tareas.Count() ? position : 0;
}

void frmMain::EditaTarea() {
  const int position = SelectedTask();
  if (position == 0) return;
  Working working(*this);
  OpenTaskEditor(position);
}

void frmMain::BorraTarea() {
  const int position = SelectedTask();
  if (position == 0 || !AskYesNo("", "Sure?")) return;
  QTreeWidgetItem* row = c_.lstTareas->SelectedRow();

  ClearFileRows();
  delete row;
  DeleteTask(session_, position);
  ActivaAnalizar();
}

void frmMain::ReloadTasks() {
  if (!Idle()) return;
  Working working(*this);
  CargaTareas(session_, *this);
}

void frmMain::AnalyseSelected() {
  const int position = SelectedTask();
  if (position == 0) return;
  Working working(*this);
  Analiza(position);
}

void frmMain::SyncSelected() {
  if (!Idle() || c_.lstTareas->Count() == 0) return;
  const int position = c_.lstTareas->SelectedPosition();
  // A run carries out the plan on display: only for the task that plan was made for.
  if (position < 1 || position != session_.TareaAnalizada) {
    EnableSync(false);
    return;
  }
  Working working(*this);
  Sincroniza(session_, *this, position);
}

void frmMain::ShowPeersOfSelected() {
  const int position = SelectedTask();
  if (position == 0) return;
  Working working(*this);
  OpenPeers(position);
}

void frmMain::AbreOpciones() {
  if (!Idle()) return;
  Working working(*this);
  OpenOptions();
  session_.RecargaWords();
  PonTextos();
}

void frmMain::ApplyFilters() {
  if (!Idle()) return;
  session_.INI.showCONFLICT = c_.TOOL->Button("CONFLICT")->isChecked();
  session_.INI.showFSYNC = c_.TOOL->Button("FSYNC")->isChecked();
  session_.INI.showOKS = c_.TOOL->Button("OKS")->isChecked();
  Working working(*this);
  Lista();
}

void frmMain::ShowHelp() { ShowMessage(MessageIcon::Information, "", kContactAddress); }

// Events -------------------------------------------------------------------------------------------

void frmMain::OnTaskRowSelected() {
  // Compared by the row's key: after a deletion the rows below keep their tasks' positions.
  const int position = c_.lstTareas->SelectedPosition();
  EnableSync(position >= 1 && position == session_.TareaAnalizada);
}

void frmMain::OnTaskDoubleClick() {
  if (!Idle()) return;
  EditaTarea();
  ReloadTasks();
}

void frmMain::OnFileDoubleClick(const QModelIndex& index) {
  if (!Idle() || files_.rowCount() == 0) return;
  const std::string key = files_.KeyAt(c_.fileOrder->mapToSource(index).row());
  if (key.empty()) return;
  Working working(*this);
  OpenFileDetail(c_.lstTareas->SelectedPosition(), key);
}

// The engine's analysis and listing, and the dialogs -------------------------------------------------

void frmMain::Analiza(int posicion) {
  c_.lstEstado->header()->setSortIndicator(-1, Qt::AscendingOrder);  // a new plan in its own order
  AnalizaTarea(session_, *this, posicion, true);
}

void frmMain::Lista() { ListaArchivos(session_, *this); }

void frmMain::OpenWizard() {
  frmAsistTask wizard(session_, *this, this);
  wizard.exec();
}

void frmMain::OpenTaskEditor(int posicion) {
  frmTask editor(session_, this);
  editor.Carga(posicion);
  editor.exec();
  // A task that could not be saved (a read-only or locked database) must not look saved.
  if (!editor.ErrorAlGuardar().empty()) {
    EscribeLog(*this, "** ERROR ** : " + editor.ErrorAlGuardar());
    ShowMessage(MessageIcon::Warning, kTitulo, editor.ErrorAlGuardar());
  }
}

void frmMain::OpenOptions() {
  frmOPT options(session_, *this, this);
  options.exec();
}

void frmMain::OpenFileDetail(int posicion, const std::string& archivo) {
  frmFile detail(session_, *this, this);
  detail.Archivo = archivo;
  detail.IDTarea = posicion;
  detail.exec();
}

void frmMain::OpenPeers(int posicion) {
  PeersDialog peers(session_, *this, stateImages_, this);
  peers.Carga(posicion);
  peers.exec();
}

}  // namespace tandrel
