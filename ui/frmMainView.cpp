// frmMain as the engine sees it: the AppView side of the window (log, status, progress, rows,
// command states, message boxes).
#include <algorithm>
#include <limits>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include "core/Public.h"
#include "ui/FileListProxy.h"
#include "ui/KeyedToolBar.h"
#include "ui/TaskList.h"
#include "ui/frmMain.h"

namespace tandrel {

namespace {

// Often enough to keep the window painting, rarely enough that a scan of 100,000 files does not
// spend its time in the event loop.
constexpr qint64 kYieldIntervalMs = 50;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString TitleOrProduct(const std::string& title) {
  return Q(title.empty() ? std::string(kTitulo) : title);
}

int ToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void frmMain::AppendLogLine(const std::string& line) {
  // The break goes before the line: the box begins with an empty line and ends without one.
  QTextCursor cursor(c_.txtEstado->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock();
  cursor.insertText(Q(line));
  c_.txtEstado->setTextCursor(cursor);
  c_.txtEstado->ensureCursorVisible();
}

void frmMain::ShowStatus(const std::string& text) {
  c_.panel1->setText(Q(text));
  // Shown at once, even where no yield follows (the compaction at exit).
  c_.BAR->repaint();
}

void frmMain::ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) {
  QMessageBox box(ToQt(icon), TitleOrProduct(title), Q(text), QMessageBox::Ok, this);
  box.exec();
}

bool frmMain::AskYesNo(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, TitleOrProduct(title), Q(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  // A question here may delete something: Enter and Escape both take the safe answer.
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void frmMain::SetProgressMax(std::int64_t max) {
  // An empty range would make the bar an endless "busy" animation: show it as 0 of 1 instead.
  c_.ProgressBar->setRange(0, std::max(1, ToInt(max)));
}

void frmMain::SetProgressValue(std::int64_t value) {
  c_.ProgressBar->setValue(std::min(ToInt(value), c_.ProgressBar->maximum()));
}

void frmMain::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void frmMain::Yield() {
  if (lastYield_.isValid() && lastYield_.elapsed() < kYieldIntervalMs) return;
  files_.Flush();
  QCoreApplication::processEvents();
  lastYield_.restart();
}

void frmMain::ClearFileRows() { files_.Clear(); }

void frmMain::AddFileRow(const FileRow& row) { files_.Add(row); }

void frmMain::SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                                     const std::string& icon) {
  files_.SetArrowAndIcon(key, arrow, icon);
}

void frmMain::SetFileRowResult(const std::string& key, const std::string& icon,
                               const std::string& state) {
  files_.SetResult(key, icon, state);
}

void frmMain::ClearTaskRows() { c_.lstTareas->clear(); }

void frmMain::AddTaskRow(const TaskRow& row) { c_.lstTareas->AddRow(row); }

void frmMain::SetTaskRowResult(int position, const std::string& icon, const std::string& state,
                               const std::string& lastSync) {
  c_.lstTareas->SetResult(position, icon, state, lastSync);
}

void frmMain::SetTaskFrameCaption(const std::string& caption) { c_.fraMain->setTitle(Q(caption)); }

void frmMain::EnableAnalyse(bool enabled) {
  analyseEnabled_ = enabled;
  ApplyCommandState();
}

void frmMain::EnableSync(bool enabled) {
  syncEnabled_ = enabled;
  ApplyCommandState();
}

void frmMain::SetWorking(bool working) {
  if (working)
    ++working_;
  else if (working_ > 0)
    --working_;
  ApplyCommandState();
  // A run redraws every row; in a list sorted by that column each redraw would move its row, at a
  // cost that grows with the list. The order is made once, when the work ends.
  c_.fileOrder->setDynamicSortFilter(Idle());
  if (Idle() && closePending_) {
    closePending_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void frmMain::OpenNewTaskWizard() { OpenWizard(); }

}  // namespace tandrel
