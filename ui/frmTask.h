#pragma once
// The task editor: the name, the two folders, each side's options and the task-wide options of one
// task of this computer, edited in place and saved through clsTarea::Guarda.
#include <string>

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tandrel {

class Session;
class clsTarea;

class frmTask : public QDialog {
  Q_OBJECT

 public:
  // session must outlive the dialog.
  explicit frmTask(Session& session, QWidget* parent = nullptr);

  // Fills the controls from Dato and keeps the reference, which must stay valid while the dialog
  // is open (the object held in Tareas: the caller reloads the list afterwards).
  void Carga(clsTarea& Dato);

  // What Guarda reported at the last OK; "" when it saved (or found no row to save).
  const std::string& ErrorAlGuardar() const { return errorAlGuardar_; }

 private:
  void BuildControls();
  void PonTextos();
  void Guarda();
  std::string ProgramDrive() const;

  Session& session_;
  clsTarea* dato_ = nullptr;
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
