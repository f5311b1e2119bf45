#include "ui/MainControls.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeView>

#include "ui/ArrowDelegate.h"
#include "ui/ColumnKeeper.h"
#include "ui/FileListModel.h"
#include "ui/FileListProxy.h"
#include "ui/ImageList.h"
#include "ui/KeyedToolBar.h"
#include "ui/TaskList.h"

namespace tandrel {

namespace {

template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  return object;
}

QAction* MenuItem(QMenu* menu, const char* name) {
  return Named(menu->addAction(QString::fromLatin1(name)), name);
}

}  // namespace

QFont FixedWidthFont() {
  const QString lucida = QStringLiteral("Lucida Console");
  if (QFontDatabase::families().contains(lucida)) {
    QFont font(lucida);
    font.setPointSizeF(QFont().pointSizeF());
    return font;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void MainControls::Build(QMainWindow& window, const ImageList& stateImages,
                         const ImageList& toolImages, FileListModel& files) {
  QMenuBar* bar = window.menuBar();
  mnuMain = Named(bar->addMenu(QStringLiteral("mnuMain")), "mnuMain");
  mnuOptions = MenuItem(mnuMain, "mnuOptions");
  mnuMain->addSeparator();
  mnuExit = MenuItem(mnuMain, "mnuExit");

  mnuTasks = Named(bar->addMenu(QStringLiteral("mnuTasks")), "mnuTasks");
  mnuAddTask = MenuItem(mnuTasks, "mnuAddTask");
  mnuEditTask = MenuItem(mnuTasks, "mnuEditTask");
  mnuDelTask = MenuItem(mnuTasks, "mnuDelTask");
  mnuTasks->addSeparator();
  mnuTaskReload = MenuItem(mnuTasks, "mnuTaskReload");
  mnuTasks->addSeparator();
  mnuAnaliza = MenuItem(mnuTasks, "mnuAnaliza");
  mnuSync = MenuItem(mnuTasks, "mnuSync");
  // Other computers: a view, not a command on this computer's files, so it stands apart.
  mnuTasks->addSeparator();
  mnuPeers = MenuItem(mnuTasks, "mnuPeers");
  mnuHELP = Named(bar->addAction(QStringLiteral("mnuHELP")), "mnuHELP");

  TOOL = new KeyedToolBar(&window);
  window.addToolBar(Qt::TopToolBarArea, TOOL);
  TOOL->AddButton("NEWT", toolImages.Item("NEWT"), false);
  TOOL->addSeparator();
  TOOL->AddButton("ANAL", toolImages.Item("ANAL"), false);
  TOOL->AddButton("SYNC", toolImages.Item("SYNC"), false);
  TOOL->addSeparator();
  TOOL->AddButton("OPTIONS", toolImages.Item("OPTIONS"), false);
  TOOL->addSeparator();
  for (const char* key : {"OKS", "FSYNC", "CONFLICT"})
    TOOL->AddButton(key, toolImages.Item(key), true);
  TOOL->addSeparator();
  txtBuscar = Named(new QLineEdit(TOOL), "txtBuscar");
  txtBuscar->setClearButtonEnabled(true);
  txtBuscar->setMaximumWidth(txtBuscar->fontMetrics().averageCharWidth() * 32);
  TOOL->addWidget(txtBuscar);

  client = Named(new QWidget(&window), "client");
  window.setCentralWidget(client);

  fraMain = Named(new QGroupBox(client), "fraMain");
  lstTareas = Named(new TaskList(stateImages, fraMain), "lstTareas");
  lstTareas->setContextMenuPolicy(Qt::CustomContextMenu);
  lstTareas->setIconSize(QSize(16, 16));
  lstTareas->setTextElideMode(Qt::ElideMiddle);  // both ends of a folder path say most

  picEstado = Named(new QWidget(fraMain), "picEstado");
  fraEstado = Named(new QFrame(picEstado), "fraEstado");
  fraEstado->setFrameShape(QFrame::StyledPanel);
  fraEstado->setFrameShadow(QFrame::Sunken);

  lstEstado = Named(new QTreeView(picEstado), "lstEstado");
  fileOrder = new FileListProxy(files, lstEstado);
  lstEstado->setModel(fileOrder);
  lstEstado->setSortingEnabled(true);
  lstEstado->header()->setSortIndicator(-1, Qt::AscendingOrder);  // the analysis order
  lstEstado->setRootIsDecorated(false);
  lstEstado->setItemsExpandable(false);
  // Every row has the same height: the view never measures 100,000 rows one by one.
  lstEstado->setUniformRowHeights(true);
  lstEstado->setAllColumnsShowFocus(true);
  lstEstado->setSelectionMode(QAbstractItemView::SingleSelection);
  lstEstado->setSelectionBehavior(QAbstractItemView::SelectRows);
  lstEstado->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstEstado->setAlternatingRowColors(true);
  lstEstado->setIconSize(QSize(16, 16));
  lstEstado->setFont(FixedWidthFont());
  lstEstado->header()->setFont(QFont());
  arrows = new ArrowDelegate(lstEstado);
  lstEstado->setItemDelegateForColumn(2, arrows);
  // File takes what is left; the action gives way down to its arrow and a few characters of each
  // drive (18); state and size as wide as their texts.
  using Room = ColumnKeeper::Room;
  fileColumns = new ColumnKeeper(
      *lstEstado, {{Room::Fills, 16}, {Room::Content, 0}, {Room::Shrinks, 18}, {Room::Content, 0}});
  // Both folders share what the short columns leave; the description gives way first.
  taskColumns = new ColumnKeeper(*lstTareas, {{Room::Content, 0},
                                              {Room::Shrinks, 12},
                                              {Room::Content, 0},
                                              {Room::Fills, 16},
                                              {Room::Fills, 16},
                                              {Room::Content, 0}});

  txtEstado = Named(new QTextEdit(picEstado), "txtEstado");
  txtEstado->setReadOnly(true);
  txtEstado->setUndoRedoEnabled(false);
  txtEstado->setAcceptRichText(false);

  ProgressBar = Named(new QProgressBar(picEstado), "ProgressBar");
  ProgressBar->setTextVisible(false);
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);

  BAR = Named(new QStatusBar(client), "BAR");
  BAR->setSizeGripEnabled(false);
  panel1 = Named(new QLabel(BAR), "panel1");
  BAR->addWidget(panel1, 1);
}

}  // namespace tandrel
