#include "core/Platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace tandrel {
namespace {

TEST(Platform, DriveIsTheLongestMountPointAtAComponentBoundary) {
  const MountTable table = ParseMountInfo(
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "30 22 0:25 / /media/ana/MY\\040STICK rw,nosuid - vfat /dev/sdb1 rw\n"
      "31 22 0:26 / /media/a rw - vfat /dev/sdc1 rw\n"
      "32 22 8:2 / /home rw - ext4 /dev/sda2 rw\n"
      "33 32 0:27 / /home/ana/usb rw - vfat /dev/sdd1 rw\n"
      "a broken line\n");
  EXPECT_EQ(table.mountPoints, (std::vector<std::string>{"/", "/media/ana/MY STICK", "/media/a",
                                                         "/home", "/home/ana/usb"}));
  const std::pair<const char*, const char*> cases[] = {
      {"/media/ana/MY STICK/Docs/a.txt", "/media/ana/MY STICK"},
      {"/media/a/", "/media/a"},
      {"/media/ab/x", ""},  // "/media/a" does not hold "/media/ab"
      {"\\media\\a\\x", "/media/a"},
      {"/home/ana/usb/x", "/home/ana/usb"},
      {"/home/ana/usbx", "/home"},
      {"/etc/passwd", ""},
      {"E:\\Data", "E:"},
  };
  for (const auto& [path, drive] : cases) EXPECT_EQ(DriveOf(path, table), drive) << path;

  EXPECT_EQ(WithoutDrive("/media/ana/MY STICK/Docs", table), "/Docs");
  EXPECT_EQ(WithoutDrive("/etc/x", table), "/etc/x");
  EXPECT_EQ(DriveForDisplay(""), "/");
  EXPECT_EQ(DriveForDisplay("e:"), "E:");
  EXPECT_EQ(JoinPath("/a/", "b\\c"), "/a/b/c");
  EXPECT_EQ(JoinPath("", "\\x"), "/x");  // the root file system's empty drive
}

TEST(Platform, ProgramFolderAndComputerNameFromTheEnvironment) {
  setenv("TANDREL_HOME", "/srv/tandrel/", 1);
  EXPECT_EQ(ProgramFolder(), "/srv/tandrel");
  unsetenv("TANDREL_HOME");
  EXPECT_EQ(ProgramFolder(), std::filesystem::canonical("/proc/self/exe").parent_path().string());

  setenv("COMPUTERNAME", "BOX-7", 1);
  EXPECT_EQ(ComputerName(), "BOX-7");
  setenv("COMPUTERNAME", "", 1);
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(gethostname(host, sizeof host), 0);
  EXPECT_EQ(ComputerName(), host);
  unsetenv("COMPUTERNAME");
}

}  // namespace
}  // namespace tandrel
