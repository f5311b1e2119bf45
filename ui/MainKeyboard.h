#pragma once
// The main window from the keyboard alone: the commands' shortcuts, F10 into the menu bar (a lone
// Alt is the style's), the toolbar in the Tab order, and Enter on a row of either list.
#include <QObject>

class QMainWindow;
class QModelIndex;

namespace tandrel {

struct MainControls;

class MainKeyboard : public QObject {
  Q_OBJECT

 public:
  // window and controls must outlive this object (it is a child of the window).
  MainKeyboard(QMainWindow& window, const MainControls& controls);

 Q_SIGNALS:
  void TaskEnter();
  void FileEnter(const QModelIndex& index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenMenuBar();

  QMainWindow& window_;
  const MainControls& c_;
};

}  // namespace tandrel
