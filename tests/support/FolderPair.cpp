#include "tests/support/FolderPair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tandrel::test {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error("FolderPair: " + what + ": " + std::strerror(errno));
}

void CreateParents(const std::string& path) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  if (ec) throw std::runtime_error("FolderPair: create folders for " + path + ": " + ec.message());
}

}  // namespace

FolderPair::FolderPair()
    : base_("tandrel-pair"), usb_(base_ / "usb"), pc_(base_ / "pc") {
  fs::create_directories(usb_);
  fs::create_directories(pc_);
}

std::string FolderPair::Path(Side side, std::string_view relative) const {
  return Root(side) + "/" + std::string(relative);
}

std::string FolderPair::Put(Side side, std::string_view relative, std::string_view content,
                            std::int64_t mtime, std::uint32_t nanoseconds) {
  const std::string path = Path(side, relative);
  WriteBytes(path, content);  // and the folders on the way
  const timespec time{static_cast<time_t>(mtime), static_cast<long>(nanoseconds)};
  const timespec times[2] = {time, time};
  if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    Fail("utimensat " + path);
  }
  return path;
}

std::string FolderPair::AddFile(Side side, std::string_view relative, std::size_t size,
                                std::int64_t mtime, std::uint32_t nanoseconds) {
  return Put(side, relative, std::string(size, 'x'), mtime, nanoseconds);
}

std::string FolderPair::AddFolder(Side side, std::string_view relative) {
  const std::string path = Path(side, relative);
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) throw std::runtime_error("FolderPair: create " + path + ": " + ec.message());
  return path;
}

std::string FolderPair::AddLink(Side side, std::string_view relative, std::string_view target) {
  const std::string path = Path(side, relative);
  CreateParents(path);
  if (::symlink(std::string(target).c_str(), path.c_str()) != 0) Fail("symlink " + path);
  return path;
}

void FolderPair::SetMode(Side side, std::string_view relative, unsigned mode) {
  const std::string path = Path(side, relative);
  if (::chmod(path.c_str(), mode) != 0) Fail("chmod " + path);
}

std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second) {
  std::tm moment{};
  moment.tm_year = year - 1900;
  moment.tm_mon = month - 1;
  moment.tm_mday = day;
  moment.tm_hour = hour;
  moment.tm_min = minute;
  moment.tm_sec = second;
  return static_cast<std::int64_t>(timegm(&moment));
}

}  // namespace tandrel::test
