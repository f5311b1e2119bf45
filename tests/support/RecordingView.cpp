#include "tests/support/RecordingView.h"

#include <algorithm>

namespace tandrel::test {

namespace {

template <class Rows>
auto FindRow(Rows& rows, const std::string& key) {
  return std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.key == key; });
}

}  // namespace

void RecordingView::SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                                           const std::string& icon) {
  auto it = FindRow(fileRows, key);
  if (it == fileRows.end()) return;
  it->arrow = arrow;
  it->icon = icon;
}

void RecordingView::SetFileRowResult(const std::string& key, const std::string& icon,
                                     const std::string& state) {
  auto it = FindRow(fileRows, key);
  if (it == fileRows.end()) return;
  it->icon = icon;
  it->state = state;
}

void RecordingView::SetTaskRowResult(int position, const std::string& icon,
                                     const std::string& state, const std::string& lastSync) {
  if (position < 1 || position > static_cast<int>(taskRows.size())) return;
  TaskRow& row = taskRows[static_cast<std::size_t>(position - 1)];
  row.icon = icon;
  row.state = state;
  row.lastSync = lastSync;
}

std::vector<std::string> RecordingView::LogTexts() const {
  std::vector<std::string> texts;
  texts.reserve(log.size());
  for (const std::string& line : log) {
    const std::size_t end = line.find("] ");
    texts.push_back(line.starts_with("[") && end != std::string::npos ? line.substr(end + 2) : line);
  }
  return texts;
}

bool RecordingView::LogHas(const std::string& part) const {
  for (const std::string& text : LogTexts()) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

const FileRow* RecordingView::Row(const std::string& key) const {
  auto it = FindRow(fileRows, key);
  return it == fileRows.end() ? nullptr : &*it;
}

}  // namespace tandrel::test
