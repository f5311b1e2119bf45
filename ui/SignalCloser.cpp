#include "ui/SignalCloser.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace tandrel {

namespace {

int pipeEnds[2] = {-1, -1};
struct sigaction previousTerm;
struct sigaction previousInt;

extern "C" void WriteSignalByte(int signo) {
  const int saved = errno;
  const char byte = static_cast<char>(signo);
  [[maybe_unused]] const auto written = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SignalCloser::SignalCloser(QWidget& window) : window_(window) {
  if (pipeEnds[0] >= 0) return;
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    pipeEnds[0] = pipeEnds[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalCloser::OnSignal);

  struct sigaction action {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &previousTerm);
  sigaction(SIGINT, &action, &previousInt);
}

SignalCloser::~SignalCloser() {
  if (!notifier_) return;
  sigaction(SIGTERM, &previousTerm, nullptr);
  sigaction(SIGINT, &previousInt, nullptr);
  delete notifier_;
  notifier_ = nullptr;
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

void SignalCloser::OnSignal() {
  char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  window_.close();
}

}  // namespace tandrel
