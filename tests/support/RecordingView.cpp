#include "tests/support/RecordingView.h"

namespace tandrel::test {

void RecordingView::SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                                           const std::string& icon) {
  if (FileRow* row = Row(key)) {
    row->arrow = arrow;
    row->icon = icon;
  }
}

void RecordingView::SetFileRowResult(const std::string& key, const std::string& icon,
                                     const std::string& state) {
  if (FileRow* row = Row(key)) {
    row->icon = icon;
    row->state = state;
  }
}

void RecordingView::SetTaskRowResult(int position, const std::string& icon,
                                     const std::string& state, const std::string& lastSync) {
  if (position < 1 || position > static_cast<int>(taskRows.size())) return;
  TaskRow& row = taskRows[static_cast<std::size_t>(position - 1)];
  row.icon = icon;
  row.state = state;
  row.lastSync = lastSync;
}

bool RecordingView::LogHas(const std::string& part) const {
  for (const std::string& line : log) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

FileRow* RecordingView::Row(const std::string& key) {
  for (FileRow& row : fileRows) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

}  // namespace tandrel::test
