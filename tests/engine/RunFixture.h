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

// One FILES row as the tests read it back.
struct StoredRow {
  std::string size;
  std::string last;
  std::string access;
  std::string creation;
  std::string sync;
};

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenSession(); }
  void TearDown() override { CloseSession(); }

  // A session on the database, as start-up leaves it (connection and rsFiles open, host set).
  void OpenSession();
  // Releases the connection (before a fork, or to look at the database as the next start would).
  void CloseSession();

  // Adds a task of this computer, reloads the task list (rows pending) and returns its ID.
  std::int64_t AddTask(const std::string& leftOpt, const std::string& rightOpt,
                       const std::string& options = "");

  // The USB side's relative path of the task folder ("Data/" & relative).
  static std::string Usb(const std::string& relative) { return "Data/" + relative; }
  std::string UsbPath(const std::string& relative) const { return pair.Path(Side::Usb, Usb(relative)); }
  std::string PcPath(const std::string& relative) const { return pair.Path(Side::Pc, relative); }
  std::string SidePath(Side side, const std::string& relative) const {
    return side == Side::Usb ? UsbPath(relative) : PcPath(relative);
  }

  // Writes a file of the given content with last-write (and last-access) time mtime, nanoseconds
  // included, making missing folders; its full path.
  std::string Put(Side side, const std::string& relative, const std::string& content,
                  std::int64_t mtime, std::uint32_t nanoseconds = 0);
  // The snapshot row of the task as the file's analysis would see it.
  void Remember(std::int64_t task, const std::string& name, Side side, const std::string& relative);

  void Analyse(int position = 1);
  void Run(int position = 1);
  // Analysis then run, both of the task at position.
  void Sync(int position = 1) {
    Analyse(position);
    Run(position);
  }
  std::string Code(const std::string& name) const;
  // Every entry's code, by name.
  std::map<std::string, std::string> Codes() const;

  // The task's FILES rows of this host, by FILE.
  std::map<std::string, StoredRow> Rows(std::int64_t task);
  std::int64_t RowCount(std::int64_t task);

  TempDatabase db;
  FolderPair pair;
  PosixFileSystem real;
  FaultInjectingFileSystem fs{real};
  std::unique_ptr<Session> session;
  RecordingView view;
  RunSettings settings;  // the program's own unless a test changes it
};

// The whole content of a file; "<missing>" when it cannot be read.
std::string ReadAll(const std::string& path);
bool Exists(const std::string& path);
// The last-write time of path with its nanoseconds, as the real file system keeps it.
FileTime ModifiedTime(const std::string& path);
// The names of a folder that look like the run's temporary copies.
std::vector<std::string> TemporaryFiles(const std::string& folder);
// Every regular file below root (relative path -> content), links and folders left out.
std::map<std::string, std::string> Tree(const std::string& root);

}  // namespace tandrel::test
