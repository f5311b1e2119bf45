#pragma once
// The top rung of the test fixtures: a program running from a stick against a real database
// (TempDatabase) and two real folders (FolderPair), for tests of the scan, the analysis and the
// run: the stick is the pair's USB folder (a drive of its own, holding the program folder), a
// task's USB folder is the stick & "\Data" unless a test names another, its PC folder the pair's
// PC folder. Every file call goes through a FaultInjectingFileSystem over the real one, idle until
// a test arms it.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/Analisis.h"
#include "engine/PosixFileSystem.h"
#include "engine/RunSettings.h"
#include "engine/Session.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/FolderPair.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"

namespace tandrel::test {

// A tree, a snapshot or a plan: name -> content, last-write text or code.
using Names = std::map<std::string, std::string>;

inline constexpr const char* kHost = "PC1";
inline const std::int64_t kMonday = UtcSeconds(2022, 3, 7, 9, 15, 0);
inline const std::int64_t kTuesday = UtcSeconds(2022, 3, 8, 17, 45, 30);
inline const std::int64_t kFriday = UtcSeconds(2022, 3, 11, 6, 5, 59);
// Two more, for expectations that spell the 14-digit text out.
inline const std::int64_t kOlder = UtcSeconds(2020, 1, 1, 10, 0, 0);   // "20200101100000"
inline const std::int64_t kNewer = UtcSeconds(2021, 6, 1, 12, 30, 0);  // "20210601123000"

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenSession(); }
  void TearDown() override { CloseSession(); }

  // A session as start-up leaves it (connection and rsFiles open, host set, every row shown).
  void OpenSession();
  void CloseSession();
  // Adds a task of this computer that carries everything both ways between the stick's "Data"
  // folder (made here) and the pair's PC folder, and reloads the task list as start-up does; its ID.
  std::int64_t AddTask(const std::string& options = "");
  // Adds a task of this computer with the given sides (the PC folder's when right is empty) and
  // reloads the task list quietly; its ID. Tasks are listed in the order they were added.
  std::int64_t AddTask(const std::string& leftOpt, const std::string& rightOpt,
                       const std::string& options = "", const std::string& left = "\\Data",
                       const std::string& right = "");

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
  // A snapshot row of the task for name (relative name with "\") with these texts.
  void AddSnapshot(std::int64_t task, const std::string& name, const std::string& size,
                   const std::string& last) {
    db.AddFile({.hostname = kHost, .task = task, .file = name, .size = size, .last = last});
  }
  // The pair-relative path of a file of the task's USB folder "\Data".
  static std::string Usb(const std::string& relative) { return "Data/" + relative; }

  void Analyse(int position = 1);
  void Run(int position = 1);
  void Sync() { Analyse(); Run(); }
  const clsArchivo* Entry(const std::string& name) const { return session->Archivos.Find(name); }
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

 private:
  int tasks_ = 0;
};

FileTime ModifiedTime(const std::string& path);
// Every regular file below root, relative path -> content; temporary copies too.
std::map<std::string, std::string> Tree(const std::string& root);
// How many files below root look like the run's temporary copies.
int TemporaryCount(const std::string& root);

}  // namespace tandrel::test
