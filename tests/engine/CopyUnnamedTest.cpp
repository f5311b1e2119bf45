// A file copied once, on the real file system. A new one goes in as an unnamed file linked in once
// whole where the file system allows it, the other way where it does not. Either way the copy is
// whole, keeps its times and bits, leaves no temporary file, and never takes a name another file
// took meanwhile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "engine/CopiaArchivo.h"
#include "engine/PosixFileSystem.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

// The real file system with one shortcut missing or one moment changed.
class ShortcutFileSystem : public PosixFileSystem {
 public:
  bool noUnnamed = false;    // as FAT: no O_TMPFILE
  bool linkRefused = false;  // as without /proc and without privilege
  bool noCopyRange = false;  // as between two file systems
  std::string takenBeforeLink;  // a file another program writes just before the link
  int linked = 0;

  int OpenUnnamed(const std::string& folder, std::uint32_t mode) override {
    return noUnnamed ? -EOPNOTSUPP : PosixFileSystem::OpenUnnamed(folder, mode);
  }
  int LinkUnnamed(int fd, const std::string& path) override {
    if (!takenBeforeLink.empty()) std::ofstream(takenBeforeLink) << "theirs";
    if (linkRefused) return -EPERM;
    const int error = PosixFileSystem::LinkUnnamed(fd, path);
    linked += error == 0;
    return error;
  }
  std::int64_t CopyRange(int from, int to, std::size_t size) override {
    return noCopyRange ? -EXDEV : PosixFileSystem::CopyRange(from, to, size);
  }
};

TEST(CopyUnnamed, ANewFileIsWholeWithItsTimesAndBitsWhicheverWayItIsMade) {
  struct Case {
    const char* name;
    void (*set)(ShortcutFileSystem&);
    bool throughUnnamed;
  };
  const Case cases[] = {
      {"unnamed file, in-kernel copy", [](ShortcutFileSystem&) {}, true},
      {"no unnamed files", [](ShortcutFileSystem& fs) { fs.noUnnamed = true; }, false},
      {"link refused", [](ShortcutFileSystem& fs) { fs.linkRefused = true; }, false},
      {"no in-kernel copy", [](ShortcutFileSystem& fs) { fs.noCopyRange = true; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FolderPair pair;
    const std::string source =
        pair.AddFile(Side::Usb, "Año/Plan.txt", 5000, UtcSeconds(2021, 3, 4, 5, 6, 7), 123456789);
    ::chmod(source.c_str(), 0640);
    pair.AddFolder(Side::Pc, "Año");
    const std::string destination = pair.Path(Side::Pc, "Año/Plan.txt");
    ShortcutFileSystem fs;
    c.set(fs);

    ASSERT_EQ(CopiaUnaVez(fs, source, destination), 0);
    EXPECT_EQ(fs.linked, c.throughUnnamed ? 1 : 0);
    EXPECT_EQ(ReadBytes(destination), ReadBytes(source));
    struct stat copy {};
    ASSERT_EQ(::stat(destination.c_str(), &copy), 0);
    EXPECT_EQ(ModifiedTime(destination), (FileTime{UtcSeconds(2021, 3, 4, 5, 6, 7), 123456789}));
    EXPECT_EQ(copy.st_mode & 07777, 0640u);
    EXPECT_EQ(TemporaryCount(pair.Path(Side::Pc, "Año")), 0);
  }
}

TEST(CopyUnnamed, ANameTakenJustBeforeTheLinkKeepsItsFileAndLeavesNothingBehind) {
  // Also when the caller had just found the name free and the copy took its word for it.
  for (const bool seenAbsent : {false, true}) {
    SCOPED_TRACE(seenAbsent);
    FolderPair pair;
    const std::string source = pair.AddFile(Side::Usb, "Plan.txt", 10, UtcSeconds(2021, 1, 1));
    const std::string destination = pair.Path(Side::Pc, "Plan.txt");
    ShortcutFileSystem fs;
    fs.takenBeforeLink = destination;

    EXPECT_EQ(CopiaUnaVez(fs, source, destination, nullptr, seenAbsent), -EEXIST);
    EXPECT_EQ(ReadBytes(destination), "theirs");
    EXPECT_EQ(TemporaryCount(pair.Pc()), 0);
  }
}

// The source takes the copy's time only when that is less than two seconds off (the even-second
// grain); a destination that keeps times any coarser leaves the source alone, whichever way it
// rounds, since shifting a file's time further would hide a real change.
TEST_F(RunTest, ASourceIsShiftedOnlyWithinTheEvenSecondGrain) {
  struct Case {
    std::int64_t grain;
    bool up;
    std::int64_t offset;    // of the source's time from kMonday, which every grain divides
    std::int64_t expected;  // of the source's time afterwards
  };
  const Case cases[] = {{2, false, 1, 0}, {2, true, 1, 2}, {4, false, 3, 3}, {4, true, 1, 1},
                        {3600, false, 1800, 1800}};
  for (const Case& c : cases) {
    SCOPED_TRACE("grain " + std::to_string(c.grain) + (c.up ? " up" : " down"));
    fs.RoundTimes(pair.Usb(), c.grain, c.up);
    const std::string source = Put(Side::Pc, "Source.txt", "data", kMonday + c.offset);
    std::optional<FileTime> shifted;
    ASSERT_EQ(CopiaUnaVez(fs, source, pair.Path(Side::Usb, "Copy.txt"), &shifted), 0);
    EXPECT_EQ(ModifiedTime(source).sec, kMonday + c.expected);
    EXPECT_EQ(shifted.has_value(), c.expected != c.offset);
    ASSERT_EQ(fs.Unlink(pair.Path(Side::Usb, "Copy.txt")), 0);
  }
}

}  // namespace
}  // namespace tandrel::test
