#include "tests/support/FolderPair.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tandrel::test {

namespace fs = std::filesystem;

FolderPair::FolderPair()
    : base_("tandrel-pair"), usb_(base_ / "usb"), pc_(base_ / "pc") {
  fs::create_directories(usb_);
  fs::create_directories(pc_);
}

std::string FolderPair::Path(Side side, std::string_view relative) const {
  return (side == Side::Usb ? usb_ : pc_) + "/" + std::string(relative);
}

std::string FolderPair::Put(Side side, std::string_view relative, std::string_view content,
                            std::int64_t mtime, std::uint32_t nanoseconds) {
  const std::string path = Path(side, relative);
  WriteBytes(path, content);  // and the folders on the way
  const timespec time{static_cast<time_t>(mtime), static_cast<long>(nanoseconds)};
  const timespec times[2] = {time, time};
  if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    throw std::runtime_error("FolderPair: utimensat " + path + ": " + std::strerror(errno));
  }
  return path;
}

std::string FolderPair::AddFile(Side side, std::string_view relative, std::size_t size,
                                std::int64_t mtime, std::uint32_t nanoseconds) {
  return Put(side, relative, std::string(size, 'x'), mtime, nanoseconds);
}

// The std::filesystem calls throw filesystem_error, naming the path, when they fail.
std::string FolderPair::AddFolder(Side side, std::string_view relative) {
  const std::string path = Path(side, relative);
  fs::create_directories(path);
  return path;
}

std::string FolderPair::AddLink(Side side, std::string_view relative, std::string_view target) {
  const std::string path = Path(side, relative);
  fs::create_directories(fs::path(path).parent_path());
  fs::create_symlink(target, path);
  return path;
}

void FolderPair::SetMode(Side side, std::string_view relative, unsigned mode) {
  fs::permissions(Path(side, relative), static_cast<fs::perms>(mode));
}

std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second) {
  using namespace std::chrono;
  const sys_days date{std::chrono::year{year} / month / day};
  return date.time_since_epoch() / seconds{1} + hour * 3600 + minute * 60 + second;
}

}  // namespace tandrel::test
