#pragma once
// A window stand-in for engine tests: records in memory every log line, message, row of both
// lists, the progress bar's length, the run command's state and the work flag, and answers every
// question with no.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/AppView.h"

namespace tandrel::test {

class RecordingView : public AppView {
 public:
  struct Message {
    MessageIcon icon;
    std::string title;
    std::string text;
  };

  // LogSink / MessageSink
  void AppendLogLine(const std::string& line) override { log.push_back(line); }
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    messages.push_back({icon, title, text});
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }

  // AppView
  void SetProgressMax(std::int64_t max) override { progressMax = max; }
  void SetProgressValue(std::int64_t) override {}
  void Yield() override { ++yields; }
  void ClearFileRows() override { fileRows.clear(); }
  void AddFileRow(const FileRow& row) override { fileRows.push_back(row); }
  void SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                              const std::string& icon) override;
  void SetFileRowResult(const std::string& key, const std::string& icon,
                        const std::string& state) override;
  void ClearTaskRows() override { taskRows.clear(); }
  void AddTaskRow(const TaskRow& row) override { taskRows.push_back(row); }
  void SetTaskRowResult(int position, const std::string& icon, const std::string& state,
                        const std::string& lastSync) override;
  void EnableSync(bool enabled) override { syncEnabled = enabled; }
  void SetWorking(bool on) override { working = on; }

  // True when some log line contains `part`.
  bool LogHas(const std::string& part) const;
  // The row keyed key, or nullptr.
  FileRow* Row(const std::string& key);

  std::vector<std::string> log;
  std::vector<Message> messages;
  std::vector<FileRow> fileRows;
  std::vector<TaskRow> taskRows;
  std::int64_t progressMax = 0;
  int yields = 0;
  bool syncEnabled = false;
  bool working = false;
};

}  // namespace tandrel::test
