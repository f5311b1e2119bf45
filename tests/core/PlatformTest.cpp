#include "core/Platform.h"

#include <gtest/gtest.h>

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
  const std::pair<const char*, const char*> cases[] = {
      {"/media/ana/MY STICK/Docs/a.txt", "/media/ana/MY STICK"},
      {"\\media\\a\\x", "/media/a"},
      {"/home/ana/usb/x", "/home/ana/usb"},
      {"/home/ana/usbx", "/home"},
      {"E:\\Data", "E:"},
  };
  for (const auto& [path, drive] : cases) EXPECT_EQ(DriveOf(path, table), drive) << path;

  // Each path helper's answers, joined with "|".
  EXPECT_EQ(WithoutDrive("/media/ana/MY STICK/Docs", table) + "|" + DriveForDisplay("") + "|" +
                DriveForDisplay("e:") + "|" + DriveRoot("") + "|" + DriveRoot("/media/a"),
            "/Docs|/|E:|/|/media/a/");
  EXPECT_EQ(JoinPath("/a/", "b\\c") + "|" + ParentFolder("/a/b//") + "|" + ParentFolder("/c.txt") +
                "|" + WithoutTrailingSlashes("//") + "|" + WithTrailingSlash(""),
            "/a/b/c|/a|/|/|");
}

TEST(Platform, TheUsbFolderJoinsAndSplitsWithOneSeparatorAndKeepsItsCase) {
  const MountTable table{{"/", "/media/Ana/MY STICK", "/media/Ana/OTHER"}};
  const std::string stick = "/media/Ana/MY STICK";
  const std::tuple<std::string, std::string, std::string> joins[] = {
      {stick, "Data", stick + "/Data"},   {stick, "\\Data\\x", stick + "/Data/x"},
      {stick, "", stick + "/"},          {"", "/Data", "/Data"},
      {"", "", "/"},                      {"e:", "\\Data", "E:/Data"},
  };
  for (const auto& [drive, left, shown] : joins) {
    EXPECT_EQ(JoinDriveAndLeft(drive, left), shown) << left;
    EXPECT_EQ(SplitLeft(shown, drive, left, table), left) << shown;  // a round trip
  }
  // A changed text loses whatever drive it was typed with.
  EXPECT_EQ(SplitLeft("/media/Ana/OTHER/Data", stick, "Data", table), "/Data");
  EXPECT_EQ(SplitLeft(stick + "/Data2", stick, "Data", table), "/Data2");
}

TEST(Platform, TheDriveListLeavesOutTheSystemsOwnMounts) {
  const MountTable table = ParseMountInfo(
      "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "23 22 0:5 / /proc rw - proc proc rw\n"
      "28 27 0:10 / /run/user/1000 rw - tmpfs tmpfs rw\n"
      "29 22 7:1 / /snap/core/42 ro - squashfs /dev/loop1 ro\n"
      "30 27 8:17 / /run/media/ana/STICK rw - vfat /dev/sdb1 rw\n"
      "31 22 8:33 / /media/ana/Disk\\0402 rw - ext4 /dev/sdc1 rw\n"
      "32 22 0:11 / /mnt/net rw - autofs systemd-1 rw\n");
  // The program's own drive is listed even where the system keeps its mounts.
  EXPECT_EQ(DrivesToShow(table, "/home/ana/", "/run/user/1000"),
            (std::vector<std::string>{"/", "/home/ana", "/media/ana/Disk 2",
                                      "/run/media/ana/STICK", "/run/user/1000"}));
}

}  // namespace
}  // namespace tandrel
