#pragma once
// The pages of the new-task wizard, one per step, each with its captions from the word table. The
// wizard itself (frmAsistTask) moves between them and reads and writes their controls.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTreeWidget;

namespace tandrel {

class FolderTree;
class Session;

// Step 1: the name, and whether to create a new task or copy one.
struct PaginaNombre {
  QWidget* page = nullptr;
  QLineEdit* txtNombre = nullptr;
  QRadioButton* optTipo[2] = {};
};

// Step 11: every computer's tasks, to copy one.
struct PaginaCopia {
  QWidget* page = nullptr;
  QTreeWidget* lstTareas = nullptr;
};

// Step 2: the USB folder, on the drive the program runs from.
struct PaginaUSB {
  QWidget* page = nullptr;
  FolderTree* Dir1 = nullptr;
  QLineEdit* AstxtUSB = nullptr;
  QCheckBox* AschkUSB = nullptr;
};

// Step 3: the PC folder, on any drive.
struct PaginaPC {
  QWidget* page = nullptr;
  QComboBox* Drive1 = nullptr;
  FolderTree* Dir2 = nullptr;
  QLineEdit* AstxtPC = nullptr;
  QCheckBox* AschkPC = nullptr;
};

// Step 4: the changes carried in each direction.
struct PaginaCambios {
  QWidget* page = nullptr;
  QCheckBox* AschkUSBNew = nullptr;
  QCheckBox* AschkUSBRefresh = nullptr;
  QCheckBox* AschkUSBDel = nullptr;
  QCheckBox* AschkPCNew = nullptr;
  QCheckBox* AschkPCRefresh = nullptr;
  QCheckBox* AschkPCDel = nullptr;
};

// Step 5: the task-wide options.
struct PaginaOpciones {
  QWidget* page = nullptr;
  QCheckBox* AschkAuto = nullptr;
  QCheckBox* AschkORead = nullptr;
  QCheckBox* AschkOptimist = nullptr;
};

// Step 6: the summary, shown only (read-only boxes, disabled check boxes).
struct PaginaResumen {
  QWidget* page = nullptr;
  QLabel* lblDesc = nullptr;
  QLineEdit* txtUSB = nullptr;
  QCheckBox* chkUSB = nullptr;
  QLineEdit* txtPC = nullptr;
  QCheckBox* chkPC = nullptr;
  QCheckBox* chkUSBNew = nullptr;
  QCheckBox* chkUSBRefresh = nullptr;
  QCheckBox* chkUSBDel = nullptr;
  QCheckBox* chkPCNew = nullptr;
  QCheckBox* chkPCRefresh = nullptr;
  QCheckBox* chkPCDel = nullptr;
  QCheckBox* chkAuto = nullptr;
  QCheckBox* chkORead = nullptr;
  QCheckBox* chkOptimist = nullptr;
};

// Each builder makes its page as a child of parent, with every caption set.
PaginaNombre CreaPaginaNombre(const Session& session, QWidget* parent);
PaginaCopia CreaPaginaCopia(const Session& session, QWidget* parent);
PaginaUSB CreaPaginaUSB(const Session& session, QWidget* parent);
PaginaPC CreaPaginaPC(const Session& session, QWidget* parent);
PaginaCambios CreaPaginaCambios(const Session& session, QWidget* parent);
PaginaOpciones CreaPaginaOpciones(const Session& session, QWidget* parent);
PaginaResumen CreaPaginaResumen(const Session& session, QWidget* parent);

}  // namespace tandrel
