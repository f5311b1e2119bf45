#pragma once
// Two real folders standing for the two sides of a task, with helpers that create files of a given
// size and exact last-write time, folders and symbolic links below them. Both go, with their
// temporary base, when the object goes, whatever modes a test gave them.
//
//   FolderPair pair;                                         // /tmp/tandrel-pair-XXXXXX/{usb,pc}
//   pair.AddFile(Side::Usb, "Docs/Plan.txt", 120, kMonday);  // 120 bytes, mtime kMonday
//   pair.AddLink(Side::Pc, "loop", ".");
//
// A failure throws std::runtime_error (the test fails).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/TempFolder.h"

namespace tandrel::test {

enum class Side { Usb, Pc };

class FolderPair {
 public:
  FolderPair();  // a new temporary base holding "usb" and "pc"; as TempFolder, never copied

  const std::string& Usb() const { return usb_; }
  const std::string& Pc() const { return pc_; }
  // The side's folder & "/" & relative ("/"-separated).
  std::string Path(Side side, std::string_view relative) const;

  // A file of `size` bytes ('x') whose last-write and last-access times are mtime (seconds since
  // 1970 UTC) and nanoseconds; missing folders on the way are created. Returns its full path.
  std::string AddFile(Side side, std::string_view relative, std::size_t size, std::int64_t mtime,
                      std::uint32_t nanoseconds = 0);
  // The same with the given content.
  std::string Put(Side side, std::string_view relative, std::string_view content,
                  std::int64_t mtime, std::uint32_t nanoseconds = 0);
  std::string AddFolder(Side side, std::string_view relative);
  // A symbolic link named relative pointing at target (taken as it is).
  std::string AddLink(Side side, std::string_view relative, std::string_view target);
  // chmod of an entry (to make a folder unreadable, a file read-only).
  void SetMode(Side side, std::string_view relative, unsigned mode);

 private:
  TempFolder base_;
  std::string usb_;
  std::string pc_;
};

// Seconds since 1970 UTC of a calendar moment in UTC (for readable test data).
std::int64_t UtcSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace tandrel::test
