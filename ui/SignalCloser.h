#pragma once
// SIGTERM and SIGINT close the main window as its close box does, so the whole shutdown runs
// (geometry and settings written, database closed and compacted). The handler only writes a byte
// into a pipe; the window is closed from the event loop, where it is safe to do so.
#include <QObject>

class QSocketNotifier;
class QWidget;

namespace tandrel {

class SignalCloser : public QObject {
  Q_OBJECT

 public:
  // One at a time per process. The previous handlers come back when it is destroyed.
  explicit SignalCloser(QWidget& window);
  ~SignalCloser() override;
  SignalCloser(const SignalCloser&) = delete;
  SignalCloser& operator=(const SignalCloser&) = delete;

  bool Installed() const { return notifier_ != nullptr; }

 private:
  void OnSignal();

  QWidget& window_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tandrel
