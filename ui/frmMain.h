#pragma once
// The main window: this computer's tasks, the file-by-file plan of the last analysis, the activity
// log, progress and status, and every command. It shows what the engine reports through AppView and
// hands each command to the engine; layout and wiring live here, the work does not.
#include <string>

#include <QElapsedTimer>
#include <QMainWindow>

#include "engine/AppView.h"
#include "ui/FileListModel.h"
#include "ui/ImageList.h"
#include "ui/MainControls.h"
#include "ui/MainLayout.h"

class QModelIndex;

namespace tandrel {

class Session;

class frmMain : public QMainWindow, public AppView {
  Q_OBJECT

 public:
  // Builds the controls at their designed size; nothing is read from the words or the database
  // until Arranca. session must outlive the window.
  explicit frmMain(Session& session, QWidget* parent = nullptr);
  ~frmMain() override;

  // The start-up: title, progress, captions, filter buttons from the settings, the opening log
  // lines, geometry from the settings (twips), show, then start-up against the database. Returns
  // when start-up has finished or stopped on an error; commands are held off until then.
  void Arranca();

  // Labels menus, toolbar tooltips and column headers from the word table, in a fixed order.
  void PonTextos();
  // "ANAL" is enabled exactly when the task list has rows.
  void ActivaAnalizar();
  // What a click on the toolbar button keyed key does (a two-state button has already changed its
  // state). A key of no command shows itself in a plain message box.
  void ToolClick(const std::string& key);

  // AppView
  void AppendLogLine(const std::string& line) override;
  void ShowStatus(const std::string& text) override;
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
  [[nodiscard]] bool AskYesNo(const std::string& title, const std::string& text) override;
  void SetProgressMax(std::int64_t max) override;
  void SetProgressValue(std::int64_t value) override;
  void SetBusy(bool busy) override;
  void Yield() override;
  void ClearFileRows() override;
  void AddFileRow(const FileRow& row) override;
  void SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                              const std::string& icon) override;
  void SetFileRowResult(const std::string& key, const std::string& icon,
                        const std::string& state) override;
  void ClearTaskRows() override;
  void AddTaskRow(const TaskRow& row) override;
  void SetTaskRowResult(int position, const std::string& icon, const std::string& state,
                        const std::string& lastSync) override;
  void SetTaskFrameCaption(const std::string& caption) override;
  void EnableAnalyse(bool enabled) override;
  void EnableSync(bool enabled) override;
  void SetWorking(bool working) override;
  void OpenNewTaskWizard() override;

 protected:
  // The shutdown. While long work runs (or a start-up), the close waits for it to end: open dialogs
  // are dismissed so the work can return, and the window closes as soon as it has.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Wire();
  void ColocaControles();
  void ApplyCommandState();
  void ApplyStartGeometry();
  void StoreGeometry();
  void CloseDialogs();
  bool Idle() const { return working_ == 0; }
  // The position in Tareas of the selected task, when the window is idle and a row is selected
  // that stands for a task still loaded; 0 otherwise, and no command may act on it.
  int SelectedTask() const;

  // Commands.
  void AddTask();
  void EditaTarea();
  void BorraTarea();
  void ReloadTasks();
  void AnalyseSelected();
  void SyncSelected();
  void ShowPeersOfSelected();
  void AbreOpciones();
  void ApplyFilters();
  void ShowHelp();

  // Events.
  void OnTaskRowSelected();
  void OnTaskDoubleClick();
  void OnFileDoubleClick(const QModelIndex& index);

  // The engine's analysis and listing, and the dialogs, each reached through one place.
  void Analiza(int posicion);
  void Lista();
  void OpenWizard();
  void OpenTaskEditor(int posicion);
  void OpenOptions();
  void OpenFileDetail(int posicion, const std::string& archivo);
  void OpenPeers(int posicion);

  Session& session_;
  ImageList stateImages_;  // imgEstado
  ImageList toolImages_;   // ImageList1
  FileListModel files_;
  MainLayout layout_;
  MainControls c_;

  QElapsedTimer lastYield_;
  int working_ = 0;  // nested long work; commands are held off while above 0
  bool closePending_ = false;
  bool shutDown_ = false;
  bool busy_ = false;
  bool analyseEnabled_ = false;
  bool syncEnabled_ = false;
};

}  // namespace tandrel
