// The command line end to end: start-up against a real database in a temporary program folder,
// the verbs' output and exit status, and what it leaves in the settings file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/CommandLine.h"
#include "engine/PosixFileSystem.h"
#include "tests/support/FolderPair.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::Side;

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("COMPUTERNAME", "PC_1", 1);
    fs::create_directories(db.Folder() + "/Languages");
    fs::copy_file(std::string(TANDREL_SOURCE_DIR) + "/Languages/EN.txt",
                  db.Folder() + "/Languages/EN.txt");
  }
  void TearDown() override { unsetenv("COMPUTERNAME"); }

  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    CommandLineContext context{db.Folder(), "Tandrel", mounts, files, out, err};
    return RunCommandLine(args, context);
  }
  std::string Ini() const { return db.Folder() + "/Tandrel.ini"; }

  test::TempDatabase db;
  MountTable mounts{{"/"}};
  PosixFileSystem files;
  std::ostringstream out, err;
};

// A first run (no LastEXE) opens no wizard at the command line and goes on: it stamps the clock
// and leaves the geometry as found.
TEST_F(CommandLine, HelpAndTasksListingOnlyThisComputersTasksInDescriptionOrder) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out.str().find("--peers ID"), std::string::npos);
  EXPECT_EQ(Run({"--analyse", "x"}), 2);
  EXPECT_NE(err.str().find("Unknown command: --analyse"), std::string::npos) << err.str();
  // Nothing was started, so no settings file was written.
  EXPECT_FALSE(fs::exists(Ini()));
  test::WriteBytes(Ini(), "  [General]  \r\n\r\nWindowWidth = 5000\nWindowState=2\n");
  db.AddTask({.hostname = "PCX1", .left = "/Other", .right = "/other", .descr = "Beta"});
  ASSERT_EQ(Run({"--tasks"}), 0) << err.str();
  EXPECT_NE(err.str().find("There are no tasks for this computer."), std::string::npos);
  const std::string settings = test::ReadBytes(Ini());
  EXPECT_NE(settings.find("WindowWidth=5000\r\nWindowState=2\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("LastEXE=20"), std::string::npos) << settings;

  mounts.mountPoints.push_back(db.Folder());  // the program runs from its own (lower-case) stick
  db.AddTask({.hostname = "PC_1", .left = "Docs", .right = "/home/ana/Docs", .descr = "Zeta",
              .lastexe = "20240307093005"});
  // The last-run field is made one line like every other.
  db.AddTask({.hostname = "pc_1", .left = "/Photos", .right = "/srv/Photos", .descr = "Alpha",
              .lastexe = "x\ty\n"});
  ASSERT_EQ(Run({"--tasks"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "3\tAlpha\t" + db.Folder() + "/Photos\t/srv/Photos\t//x?y? ::\n"
            "2\tZeta\t" + db.Folder() + "/Docs\t/home/ana/Docs\t07/03/2024 09:30:05\n");
}

TEST_F(CommandLine, ClockSetBackStopsStartUpAndKeepsTheLaterStamp) {
  db.AddTask({.hostname = "PC_1", .descr = "Docs"});
  test::WriteBytes(Ini(), "[General]\r\nLastEXE=99991231235959\r\n");
  EXPECT_EQ(Run({"--tasks"}), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("clock"), std::string::npos) << err.str();
  EXPECT_NE(test::ReadBytes(Ini()).find("LastEXE=99991231235959\r\n"), std::string::npos);
}

// Each kind of unusable database and its cause are the connection's (store tests), a second Tandrel
// and a write-protected database the engine's (FaultsDatabaseTest); here, a clear message and
// exit status 2, also for --auto when the run of one of its tasks is refused.
TEST_F(CommandLine, AWriteProtectedDatabaseStopsTheRunWithStatusTwo) {
  const auto id = db.AddTask({.hostname = "PC_1", .left = "/A", .right = "/B", .options = "A"});
  ::chmod(db.Path().c_str(), 0444);
  EXPECT_EQ(Run({"--sync", std::to_string(id)}), 2);
  EXPECT_NE(err.str().find("is read-only: changes cannot be recorded"), std::string::npos);
  EXPECT_EQ(Run({"--auto"}), 2);
}

// The command line's one engine run. --analyse lists the USB side's entries first, flags
// conflicts by status 1 and makes each name one line; conflicts are settled as the file dialog
// would: the chosen copy overwrites the other one; --peers lists the other computers' tasks on
// the stick folder. --auto then exits with its worst task's status.
TEST_F(CommandLine, PreferSettlesConflictsBothWaysAndAutoReportsTheWorstTask) {
  test::FolderPair pair;
  const std::int64_t monday = test::UtcSeconds(2024, 3, 4, 9);
  // Each file by its seconds after Monday on the stick and on the PC; sizes 11 and 12, 13 and 14...
  const std::tuple<const char*, int, int> cases[] = {
      {"Newer on usb.txt", 60, 0}, {"Newer on pc.txt", 0, 60}, {"Same time.txt", 0, 0}};
  std::size_t next = 11;
  for (const auto& [name, usb, pc] : cases) {
    pair.AddFile(Side::Usb, name, next++, monday + usb);
    pair.AddFile(Side::Pc, name, next++, monday + pc);
  }
  pair.AddFile(Side::Pc, "Tab\there.txt", 0, monday);
  const auto sizes = [&] {
    std::string both;
    for (const auto& [name, usb, pc] : cases) {
      both += std::to_string(fs::file_size(pair.Path(Side::Usb, name))) + "/" +
              std::to_string(fs::file_size(pair.Path(Side::Pc, name))) + " ";
    }
    return both;
  };
  const std::int64_t id = db.AddTask({.hostname = "PC_1", .left = pair.Usb(), .right = pair.Pc(),
                                      .leftopt = "NEAR", .rightopt = "NEAR", .descr = "Pair"});
  const std::int64_t other =
      db.AddTask({.hostname = "PCX1", .left = pair.Usb(), .right = "/x", .leftopt = "N"});
  EXPECT_EQ(Run({"--analyse", std::to_string(other)}), 2) << "a task of another computer";
  EXPECT_EQ(Run({"--analyse", std::to_string(id)}), 1) << err.str();
  // Within a side, entries come in the file system's order.
  EXPECT_NE(out.str().find("!4\tCONFLICT\tOK\t16 bytes\tSame Time.txt\n"), std::string::npos);
  EXPECT_TRUE(out.str().ends_with("\nC2\tADD\tNew\t0 bytes\tTab?here.txt\n")) << out.str();
  EXPECT_EQ(Run({"--sync", std::to_string(id), "--prefer", "left"}), 2);
  EXPECT_EQ(err.str(), "Usage: Tandrel --sync ID|--auto --prefer usb|pc|newer\n");
  EXPECT_EQ(sizes(), "11/12 13/14 15/16 ") << "nothing done";
  EXPECT_EQ(Run({"--sync", std::to_string(id), "--prefer", "newer"}), 1) << err.str();
  EXPECT_EQ(sizes(), "11/11 14/14 15/16 ") << "equal times stay a conflict";
  EXPECT_EQ(Run({"--sync", std::to_string(id), "--prefer", "pc"}), 0) << err.str();
  EXPECT_EQ(sizes(), "11/11 14/14 16/16 ");
  ASSERT_EQ(Run({"--peers", std::to_string(id)}), 0) << err.str();
  EXPECT_EQ(out.str(), "PCX1\t/x\tnever\t4\t0\t0\n");

  // An auto-start task whose PC folder has gone, while its snapshot holds rows.
  const std::int64_t gone = db.AddTask({.hostname = "PC_1", .left = pair.Usb(),
                                        .right = pair.Pc() + "/gone", .leftopt = "NEAR",
                                        .rightopt = "NEAR", .descr = "Gone", .options = "A"});
  db.AddFile({.hostname = "PC_1", .task = gone, .file = "Newer on usb.txt"});
  EXPECT_EQ(Run({"--auto", "--prefer", "usb"}), 2) << err.str();
}

}  // namespace
}  // namespace tandrel
