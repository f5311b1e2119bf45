#pragma once
// A program running from a stick against a real database and two real folders, for tests of the
// run: the stick is the pair's USB folder (a drive of its own, holding the program folder), the
// task's USB folder is the stick & "\Data", its PC folder the pair's PC folder. Every file call
// goes through a FaultInjectingFileSystem over the real one, idle until a test arms it.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/PosixFileSystem.h"
#include "engine/RunSettings.h"
#include "engine/Session.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/FolderPair.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"

namespace tandrel::test {

inline constexpr const char* kRunHost = "RUNPC";
inline const std::int64_t kMonday = UtcSeconds(2022, 3, 7, 9, 15, 0);
inline const std::int64_t kTuesday = UtcSeconds(2022, 3, 8, 17, 45, 30);
inline const std::int64_t kFriday = UtcSeconds(2022, 3, 11, 6, 5, 59);

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenSession(); }
  void TearDown() override { CloseSession(); }

  // A session as start-up leaves it (connection and rsFiles open, host set, every row shown).
  void OpenSession();
  void CloseSession();
  // Adds a task of this computer on the pair and reloads the task list; its ID.
  std::int64_t AddTask(const std::string& options = "");

  // The file's full path on a side; the USB side's task folder is "Data" below the stick.
  std::string Path(Side side, const std::string& relative) const {
    return pair.Path(side, side == Side::Usb ? "Data/" + relative : relative);
  }
  std::string UsbPath(const std::string& relative) const { return Path(Side::Usb, relative); }
  std::string PcPath(const std::string& relative) const { return Path(Side::Pc, relative); }
  // Writes a file with that content and last-write (and last-access) time; its full path.
  std::string Put(Side side, const std::string& relative, const std::string& content,
                  std::int64_t mtime, std::uint32_t nanoseconds = 0);
  // A snapshot row of the task for name, with the size and time the file has now on side.
  void Remember(std::int64_t task, const std::string& name, Side side);

  void Analyse(int position = 1);
  void Run(int position = 1);
  void Sync() { Analyse(); Run(); }
  std::string Code(const std::string& name) const;
  std::map<std::string, std::string> Codes() const;  // every entry's code, by name
  // FILE -> LAST of the task's rows of this host (a name twice fails the test).
  std::map<std::string, std::string> Rows(std::int64_t task);

  TempDatabase db;
  FolderPair pair;
  PosixFileSystem real;
  FaultInjectingFileSystem fs{real};
  std::unique_ptr<Session> session;
  RecordingView view;
  RunSettings settings;  // the program's own unless a test changes it
};

std::string ReadAll(const std::string& path);  // "<missing>" when it cannot be read
FileTime ModifiedTime(const std::string& path);
// Every regular file below root, relative path -> content; temporary copies too.
std::map<std::string, std::string> Tree(const std::string& root);
// How many files below root look like the run's temporary copies.
int TemporaryCount(const std::string& root);

}  // namespace tandrel::test
