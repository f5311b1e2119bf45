#pragma once
// The main window's controls as designed: menus, toolbar, the task frame with both lists, the log
// box, the progress bar and the status bar, each named as the program names it. Building them is
// separate from what the window does with them.
#include <QFont>

class QAction;
class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTextEdit;
class QTreeView;
class QWidget;

namespace tandrel {

class ArrowDelegate;
class ColumnKeeper;
class FileListModel;
class FileListProxy;
class ImageList;
class KeyedToolBar;
class TaskList;

struct MainControls {
  QMenu* mnuMain = nullptr;
  QAction* mnuOptions = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuTasks = nullptr;
  QAction* mnuAddTask = nullptr;
  QAction* mnuEditTask = nullptr;
  QAction* mnuDelTask = nullptr;
  QAction* mnuTaskReload = nullptr;
  QAction* mnuAnaliza = nullptr;
  QAction* mnuSync = nullptr;
  QAction* mnuPeers = nullptr;  // the other computers sharing the selected task's USB folder
  QAction* mnuHELP = nullptr;  // a command of the menu bar itself

  KeyedToolBar* TOOL = nullptr;
  QLineEdit* txtBuscar = nullptr;  // finds rows of the file list by name
  QWidget* client = nullptr;  // the area below the toolbar: fraMain and BAR
  QGroupBox* fraMain = nullptr;
  TaskList* lstTareas = nullptr;
  QWidget* picEstado = nullptr;
  QFrame* fraEstado = nullptr;
  QTreeView* lstEstado = nullptr;
  QTextEdit* txtEstado = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QStatusBar* BAR = nullptr;
  QLabel* panel1 = nullptr;  // first panel of BAR: the status text

  FileListProxy* fileOrder = nullptr;  // lstEstado's sorted, narrowed view of the rows
  ArrowDelegate* arrows = nullptr;  // draws the file list's action column
  ColumnKeeper* fileColumns = nullptr;
  ColumnKeeper* taskColumns = nullptr;

  // Creates every control inside window. The images and the model must outlive the window.
  void Build(QMainWindow& window, const ImageList& stateImages, const ImageList& toolImages,
             FileListModel& files);
};

// "Lucida Console" where it is installed, the system's fixed-width font otherwise.
QFont FixedWidthFont();

}  // namespace tandrel
