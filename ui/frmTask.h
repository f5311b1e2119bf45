#pragma once
// The task editor: the name, the two folders, each side's options and the task-wide options of one
// task of this computer, shown and saved through the engine's task editing.
#include <string>

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tandrel {

class Session;

class frmTask : public QDialog {
  Q_OBJECT

 public:
  // session must outlive the dialog.
  explicit frmTask(Session& session, QWidget* parent = nullptr);

  // Fills the controls from the task at 1-based posicion of the session's task list, which OK
  // saves (the caller reloads the list afterwards).
  void Carga(int posicion);

  // What Guarda reported at the last OK; "" when it saved (or found no row to save).
  const std::string& ErrorAlGuardar() const { return errorAlGuardar_; }

 private:
  void BuildControls();
  void PonTextos();
  void Guarda();

  Session& session_;
  int posicion_ = 0;
  std::string usbLeft_;  // the stored folder the USB text was shown from
  std::string errorAlGuardar_;

  QLabel* Label28_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QLineEdit* txtNombre_ = nullptr;
  QGroupBox* Frame2_ = nullptr;
  QGroupBox* Frame5_ = nullptr;
  QLineEdit* txtLeft_ = nullptr;
  QCheckBox* chkSubLeft_ = nullptr;
  QGroupBox* Frame6_ = nullptr;
  QCheckBox* chkNL_ = nullptr;
  QCheckBox* chkEL_ = nullptr;
  QCheckBox* chkAL_ = nullptr;
  QGroupBox* Frame3_ = nullptr;
  QGroupBox* Frame8_ = nullptr;
  QLineEdit* txtRight_ = nullptr;
  QCheckBox* chkSubRight_ = nullptr;
  QGroupBox* Frame7_ = nullptr;
  QCheckBox* chkNR_ = nullptr;
  QCheckBox* chkER_ = nullptr;
  QCheckBox* chkAR_ = nullptr;
  QGroupBox* Frame9_ = nullptr;
  QCheckBox* chkRun_ = nullptr;
  QCheckBox* chkRead_ = nullptr;
  QCheckBox* chkOptimista_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* Command2_ = nullptr;
};

}  // namespace tandrel
