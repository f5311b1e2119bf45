#pragma once
// The toolbar (TOOL): buttons found by key ("NEWT", "OKS"...), some of them two-state; a click
// reports the key of its button.
#include <string>
#include <string_view>
#include <vector>

#include <QToolBar>

namespace tandrel {

class KeyedToolBar : public QToolBar {
  Q_OBJECT

 public:
  explicit KeyedToolBar(QWidget* parent = nullptr);

  // The button's action carries the key as its object name.
  QAction* AddButton(const std::string& key, const QIcon& image, bool twoState);
  // nullptr for a key without a button.
  QAction* Button(std::string_view key) const;
  const std::vector<QAction*>& Buttons() const { return buttons_; }

 Q_SIGNALS:
  void ButtonClick(const QString& key);

 private:
  std::vector<QAction*> buttons_;
};

}  // namespace tandrel
