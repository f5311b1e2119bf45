// The seam every file operation goes through, on real files: errors as -errno, links never
// followed, times kept to the nanosecond.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "engine/PosixFileSystem.h"
#include "tests/support/FolderPair.h"

namespace tandrel::test {
namespace {

TEST(PosixFileSystemTest, ListsWithAndWithoutDetailsAndNeverFollowsLinks) {
  FolderPair pair;
  PosixFileSystem fs;
  pair.AddFile(Side::Usb, "file.txt", 12, UtcSeconds(2020, 1, 1), 123456789);
  pair.AddFolder(Side::Usb, "sub");
  pair.AddLink(Side::Usb, "link", "sub");

  for (bool details : {false, true}) {
    std::vector<FolderEntry> entries;
    ASSERT_EQ(fs.ListFolder(pair.Usb(), entries, details), 0);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);  // no "." and ".."
    EXPECT_EQ(entries[0].name, "file.txt");
    EXPECT_EQ(entries[0].info.type, EntryType::File);
    EXPECT_EQ(entries[1].info.type, EntryType::Link);
    EXPECT_EQ(entries[2].info.type, EntryType::Folder);
    if (details) {
      EXPECT_EQ(entries[0].info.size, 12u);
      EXPECT_EQ(entries[0].info.modified, (FileTime{UtcSeconds(2020, 1, 1), 123456789}));
      EXPECT_EQ(entries[0].info.mode & 0200u, 0200u);
    }
  }

  FileInfo info;
  EXPECT_EQ(fs.Stat(pair.Path(Side::Usb, "link"), info), 0);
  EXPECT_EQ(info.type, EntryType::Link);
  EXPECT_EQ(fs.Stat(pair.Path(Side::Usb, "none"), info), -ENOENT);
  std::vector<FolderEntry> entries;
  EXPECT_EQ(fs.ListFolder(pair.Path(Side::Usb, "file.txt"), entries, false), -ENOTDIR);
  EXPECT_EQ(fs.Open(pair.Path(Side::Usb, "link"), OpenFor::Reading, 0), -ELOOP);
}

TEST(PosixFileSystemTest, CopiesThroughATemporaryNameKeepingTheNanoseconds) {
  FolderPair pair;
  PosixFileSystem fs;
  const std::string source = pair.AddFile(Side::Usb, "a.txt", 3000, UtcSeconds(2021, 5, 6), 987654321);
  const std::string temp = pair.Path(Side::Pc, "a.tmp");
  const std::string target = pair.Path(Side::Pc, "a.txt");
  pair.AddFile(Side::Pc, "a.txt", 1, UtcSeconds(2000, 1, 1));

  const int in = fs.Open(source, OpenFor::Reading, 0);
  ASSERT_GE(in, 0);
  const int out = fs.Open(temp, OpenFor::CreatingNew, 0600);
  ASSERT_GE(out, 0);
  EXPECT_EQ(fs.Open(temp, OpenFor::CreatingNew, 0600), -EEXIST);
  char buffer[1024];
  std::int64_t total = 0;
  for (std::int64_t n; (n = fs.Read(in, buffer, sizeof buffer)) > 0; total += n) {
    ASSERT_EQ(fs.Write(out, buffer, static_cast<std::size_t>(n)), n);
  }
  EXPECT_EQ(total, 3000);
  EXPECT_EQ(fs.Fsync(out), 0);
  EXPECT_EQ(fs.Close(out), 0);
  EXPECT_EQ(fs.Close(in), 0);

  FileInfo sourceInfo;
  ASSERT_EQ(fs.Stat(source, sourceInfo), 0);
  EXPECT_EQ(fs.SetTimes(temp, sourceInfo.accessed, sourceInfo.modified), 0);
  EXPECT_EQ(fs.ChangeMode(temp, 0444), 0);
  EXPECT_EQ(fs.Rename(temp, target), 0);
  EXPECT_EQ(fs.SyncFileSystem(target), 0);

  FileInfo copied;
  ASSERT_EQ(fs.Stat(target, copied), 0);
  EXPECT_EQ(copied.size, 3000u);
  EXPECT_EQ(copied.modified, sourceInfo.modified);
  EXPECT_EQ(copied.mode, 0444u);
  EXPECT_EQ(fs.Stat(temp, copied), -ENOENT);

  EXPECT_EQ(fs.MakeFolder(pair.Path(Side::Pc, "new"), 0755), 0);
  EXPECT_EQ(fs.MakeFolder(pair.Path(Side::Pc, "new"), 0755), -EEXIST);
  EXPECT_EQ(fs.Unlink(target), 0);
  EXPECT_EQ(fs.Unlink(target), -ENOENT);
  EXPECT_EQ(ErrorText(-ENOENT), "No such file or directory");
}

}  // namespace
}  // namespace tandrel::test
