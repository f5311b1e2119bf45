#pragma once
// The new-task wizard: a name, the USB folder, the PC folder, the changes carried each way and the
// task-wide options, step by step, or all of them copied from any task in the database; then a
// summary on which Next creates the task for this computer.
#include <map>
#include <string>

#include <QDialog>

#include "ui/frmAsistTaskPages.h"

class QPushButton;
class QStackedWidget;

namespace tandrel {

class AppView;
class Session;

class frmAsistTask : public QDialog {
  Q_OBJECT

 public:
  // Starts on step 1 with the initial values. session and view must outlive the dialog; view gets
  // the log line of the new task and the reloaded task list.
  frmAsistTask(Session& session, AppView& view, QWidget* parent = nullptr);

  // The step on show: 1 to 6, or 11 for the list of tasks to copy.
  int Paso() const { return paso_; }

 protected:
  // Enter in the three text boxes acts as Next and never reaches the box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ValoresIniciales();
  void Siguiente();
  void Anterior();
  void MuestraPaso(int paso);
  void LlenaListaCopia();
  void CopiaTarea();
  void LlenaResumen();
  void CreaTarea();
  void EligeUnidad(int indice);

  Session& session_;
  AppView& view_;
  int paso_ = 1;
  // Left of the task copied on step 11: kept as it is stored while the USB folder still shows it.
  std::string leftCopiado_;

  QStackedWidget* pages_ = nullptr;
  std::map<int, int> pageOfStep_;
  PaginaNombre nombre_;
  PaginaCopia copia_;
  PaginaUSB usb_;
  PaginaPC pc_;
  PaginaCambios cambios_;
  PaginaOpciones opciones_;
  PaginaResumen resumen_;
  QPushButton* butPrev_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* butCancel_ = nullptr;
};

}  // namespace tandrel
