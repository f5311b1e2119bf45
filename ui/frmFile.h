#pragma once
// The file detail dialog: one entry of the current analysis as the USB side, the PC side and the
// snapshot of the last synchronisation hold it, the action the analysis planned, and the choice of
// another action for it.
#include <array>
#include <string>

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tandrel {

class AppView;
class FileSideBox;
class Session;

class frmFile : public QDialog {
  Q_OBJECT

 public:
  // session and view must outlive the dialog.
  frmFile(Session& session, AppView& view, QWidget* parent = nullptr);

  // Set by the caller before the dialog is shown: the entry's name (its key in Archivos and in
  // Ficheros) and the 1-based position in Tareas of the selected task.
  std::string Archivo;
  int IDTarea = 0;

  // Opening (exec or show) loads the entry first.
  void setVisible(bool visible) override;

 private:
  void BuildControls();
  void PonTextos();
  void Carga();
  void Acepta();

  Session& session_;
  AppView& view_;

  QLineEdit* txtFile_ = nullptr;
  FileSideBox* lblUSB_ = nullptr;
  FileSideBox* lblPC_ = nullptr;
  FileSideBox* lastSync_ = nullptr;
  QLabel* lblAction_ = nullptr;
  std::array<QRadioButton*, 5> optUser_{};
  QButtonGroup* choices_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;
  QGroupBox* fileFrame_ = nullptr;
  QGroupBox* actionFrame_ = nullptr;
  QGroupBox* userFrame_ = nullptr;
};

}  // namespace tandrel
