#include "app/ConsoleView.h"

namespace tandrel {

void ConsoleView::AppendLogLine(const std::string& line) { err_ << line << '\n' << std::flush; }

void ConsoleView::ShowMessage(MessageIcon, const std::string& title, const std::string& text) {
  // A message box's CR LF becomes one line break on a terminal.
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain += text[i];
  }
  err_ << title << ": " << plain << '\n' << std::flush;
}

bool ConsoleView::AskYesNo(const std::string& title, const std::string& text) {
  err_ << title << ": " << text << " -> No\n" << std::flush;
  return false;
}

}  // namespace tandrel
