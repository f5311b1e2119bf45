#pragma once
// What the core, the store and the engine need of whoever shows things to the user: the activity
// log, the status text, message boxes and yes/no questions. The main window implements it with
// widgets, the command line with standard error, and tests with a recording in memory.
#include <string>

namespace tandrel {

class LogSink {
 public:
  virtual ~LogSink() = default;
  // One finished log line, "[hh:mm:ss] text"; the window puts its CR LF before it.
  virtual void AppendLogLine(const std::string& line) = 0;
  // The text of the first status-bar panel (already looked up in the word table).
  virtual void ShowStatus(const std::string& text) = 0;
};

enum class MessageIcon { None, Critical, Warning, Information };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A modal message box with an OK button. The title is the product title unless a caller names
  // another ("Error reading drive").
  virtual void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) = 0;
  // A Yes/No question; anything but Yes answers false. Without a person at the screen (the command
  // line) it takes the safe answer, false.
  [[nodiscard]] virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
};

}  // namespace tandrel
