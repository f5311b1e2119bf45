#include "core/TextFile.h"

#include <cstdio>
#include <memory>

namespace tandrel {

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto brk = text.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    const bool crlf = text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n';
    const std::size_t endLength = crlf ? 2 : 1;
    lines.push_back({text.substr(start, brk - start), text.substr(brk, endLength)});
    start = brk + endLength;
  }
  return lines;
}

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool ReadWholeFile(const std::string& path, std::string& contents) {
  contents.clear();
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) contents.append(buffer, n);
  // A folder opens on Linux but fails on the first read.
  return std::ferror(file.get()) == 0;
}

bool WriteWholeFile(const std::string& path, std::string_view contents) {
  std::FILE* raw = std::fopen(path.c_str(), "wb");
  if (raw == nullptr) return false;
  const bool written = std::fwrite(contents.data(), 1, contents.size(), raw) == contents.size();
  // fclose flushes: its failure (a full disk) is a failed write too.
  const bool closed = std::fclose(raw) == 0;
  return written && closed;
}

}  // namespace tandrel
