#pragma once
// The view of the command line: log lines and messages on standard error, no lists, no questions
// (each takes its safe answer, no), no wizard.
#include <ostream>

#include "engine/AppView.h"

namespace tandrel {

class ConsoleView : public AppView {
 public:
  explicit ConsoleView(std::ostream& err) : err_(err) {}

  void AppendLogLine(const std::string& line) override;
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;

 private:
  std::ostream& err_;
};

}  // namespace tandrel
