#include "ui/MainKeyboard.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "ui/KeyedToolBar.h"
#include "ui/MainControls.h"
#include "ui/TaskList.h"

namespace tandrel {

namespace {

bool IsEnter(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

MainKeyboard::MainKeyboard(QMainWindow& window, const MainControls& controls)
    : QObject(&window), window_(window), c_(controls) {
  const std::pair<QAction*, QKeySequence> shortcuts[] = {
      {c_.mnuAddTask, QKeySequence(Qt::CTRL | Qt::Key_N)},
      {c_.mnuAnaliza, QKeySequence(Qt::Key_F5)},
      {c_.mnuSync, QKeySequence(Qt::CTRL | Qt::Key_S)},
      {c_.mnuOptions, QKeySequence(Qt::CTRL | Qt::Key_Comma)},
      {c_.mnuExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  for (const auto& [action, keys] : shortcuts) {
    action->setShortcut(keys);
    // The menus are popups: the window itself must hold the actions for their keys to work
    // while no menu is open.
    window_.addAction(action);
  }
  auto* find = new QShortcut(QKeySequence::Find, &window_);
  connect(find, &QShortcut::activated, this, [this] {
    c_.txtBuscar->setFocus(Qt::ShortcutFocusReason);
    c_.txtBuscar->selectAll();
  });
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window_);
  connect(f10, &QShortcut::activated, this, &MainKeyboard::OpenMenuBar);

  // A toolbar keeps its buttons out of the Tab order; here they are the first stops.
  QWidget* previous = nullptr;
  for (QAction* action : c_.TOOL->Buttons()) {
    QWidget* button = c_.TOOL->widgetForAction(action);
    if (button == nullptr) continue;
    button->setFocusPolicy(Qt::TabFocus);
    if (previous != nullptr) QWidget::setTabOrder(previous, button);
    previous = button;
  }
  for (QWidget* next : {static_cast<QWidget*>(c_.lstTareas), static_cast<QWidget*>(c_.lstEstado),
                        static_cast<QWidget*>(c_.txtEstado)}) {
    if (previous != nullptr) QWidget::setTabOrder(previous, next);
    previous = next;
  }

  c_.lstTareas->installEventFilter(this);
  c_.lstEstado->installEventFilter(this);
}

void MainKeyboard::OpenMenuBar() {
  QMenuBar* bar = window_.menuBar();
  bar->setFocus(Qt::MenuBarFocusReason);
  bar->setActiveAction(c_.mnuMain->menuAction());
}

bool MainKeyboard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsEnter(*static_cast<QKeyEvent*>(event))) {
    if (watched == c_.lstTareas && c_.lstTareas->Count() > 0) {
      Q_EMIT TaskEnter();
      return true;
    }
    if (watched == c_.lstEstado && c_.lstEstado->currentIndex().isValid()) {
      Q_EMIT FileEnter(c_.lstEstado->currentIndex());
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tandrel
