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
  void ShowStatus(const std::string&) override {}
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;

  void SetProgressMax(std::int64_t) override {}
  void SetProgressValue(std::int64_t) override {}
  void SetBusy(bool) override {}
  void Yield() override {}
  void ClearFileRows() override {}
  void AddFileRow(const FileRow&) override {}
  std::string FileRowArrow(const std::string&) override { return {}; }
  void SetFileRowArrowAndIcon(const std::string&, const std::string&, const std::string&) override {}
  void SetFileRowResult(const std::string&, const std::string&, const std::string&) override {}
  void ClearTaskRows() override {}
  void AddTaskRow(const TaskRow&) override {}
  void SetTaskRowResult(int, const std::string&, const std::string&, const std::string&) override {}
  void SetTaskFrameCaption(const std::string&) override {}
  void EnableAnalyse(bool) override {}
  void EnableSync(bool) override {}
  void SetWorking(bool) override {}
  void OpenNewTaskWizard() override {}

 private:
  std::ostream& err_;
};

}  // namespace tandrel
