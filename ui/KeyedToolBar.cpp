#include "ui/KeyedToolBar.h"

#include <QAction>

namespace tandrel {

KeyedToolBar::KeyedToolBar(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("TOOL"));
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(24, 24));
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setContextMenuPolicy(Qt::PreventContextMenu);
  connect(this, &QToolBar::actionTriggered, this,
          [this](QAction* action) { Q_EMIT ButtonClick(action->objectName()); });
}

QAction* KeyedToolBar::AddButton(const std::string& key, const QIcon& image, bool twoState) {
  QAction* action = addAction(image, QString::fromStdString(key));
  action->setObjectName(QString::fromStdString(key));
  action->setCheckable(twoState);
  buttons_.push_back(action);
  return action;
}

QAction* KeyedToolBar::Button(std::string_view key) const {
  const QString name = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
  for (QAction* action : buttons_)
    if (action->objectName() == name) return action;
  return nullptr;
}

}  // namespace tandrel
