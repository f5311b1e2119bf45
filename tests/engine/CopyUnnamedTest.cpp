// A new file copied on the real file system: as an unnamed file linked in once whole where the file
// system allows it, the other way where it does not. Either way the copy is whole, keeps its times
// and bits, leaves no temporary file, and never takes a name another file took meanwhile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/CopiaArchivo.h"
#include "engine/PosixFileSystem.h"
#include "engine/TempNames.h"
#include "tests/support/FolderPair.h"

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

std::string Contents(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int TemporaryFiles(const std::string& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    count += IsTempCopyName(entry.path().filename().string());
  }
  return count;
}

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
    EXPECT_EQ(Contents(destination), Contents(source));
    struct stat copy {};
    ASSERT_EQ(::stat(destination.c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mtim.tv_sec, UtcSeconds(2021, 3, 4, 5, 6, 7));
    EXPECT_EQ(copy.st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(copy.st_mode & 07777, 0640u);
    EXPECT_EQ(TemporaryFiles(pair.Path(Side::Pc, "Año")), 0);
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
    EXPECT_EQ(Contents(destination), "theirs");
    EXPECT_EQ(TemporaryFiles(pair.Pc()), 0);
  }
}

}  // namespace
}  // namespace tandrel::test
