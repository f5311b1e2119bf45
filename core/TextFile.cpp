#include "core/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/Platform.h"

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

namespace {

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t n = ::write(fd, contents.data(), contents.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string ReplaceWholeFile(const std::string& path, const std::string& temporary,
                             std::string_view contents) {
  const auto failed = [&](const std::string& what) {
    const std::string cause = std::strerror(errno);
    ::unlink(temporary.c_str());
    return "Cannot write \"" + path + "\" (" + what + "): " + cause;
  };
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return failed("its temporary copy cannot be made");
  // The data must be on the disk before the name points at it, or a pulled stick leaves an empty
  // settings file under the real name.
  bool ok = WriteAll(fd, contents) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) return failed("the disk refused the data");
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    return failed("the new copy cannot take its name");
  }
  const int folder = ::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

std::string_view SkipByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  // A mark behind blank lines (or behind another mark) is still at the head of the file once the
  // tidy pass has dropped those lines; left in, it would be skipped on the next start instead, and
  // a second start would write a different file than the first.
  for (;;) {
    const std::size_t start = text.find_first_not_of(" \r\n");
    if (start == std::string_view::npos || text.substr(start, kMark.size()) != kMark) return text;
    text.remove_prefix(start + kMark.size());
  }
}

}  // namespace tandrel
