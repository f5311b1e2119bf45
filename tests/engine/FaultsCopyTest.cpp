// An overwrite that meets a fault: the rename over the destination refused, a device that goes
// in the middle of the copy, a destination on a full or a read-only file system. Whatever happens,
// the destination is its old version or the new one, the run goes on to its end, and the next
// analysis never plans the old version over the new.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/ActionMapping.h"
#include "engine/CopiaArchivo.h"
#include "engine/PosixFileSystem.h"
#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

constexpr const char* kNew = "the new version";
constexpr const char* kOld = "old";

// Every step of the copy into the temporary file fails through the same error return, which the
// refused rename (the last step) and the lost source (mid-data) stand for; a device gone at the
// rename also leaves its temporary file behind.
struct CopyFault {
  const char* name;
  bool towardsPc;         // "A2" (the stick's copy over the PC's), else "A1"
  const char* options;    // "O": both sides changed since the snapshot, the newer copy wins
  char pcDisk;            // the PC folder on a tmpfs of one mebibyte, 'F'ull or 'R'ead-only
                          // after the analysis, or none
  std::optional<FsOp> op;   // the first call of this kind on Doc.txt fails (every attempt)...
  std::optional<Side> gone;  // ...or takes that side's device with it
};

void PrintTo(const CopyFault& fault, std::ostream* out) { *out << fault.name; }

class CopyFaultTest : public RunTest, public ::testing::WithParamInterface<CopyFault> {};

const CopyFault kFaults[] = {
    {"RenameOverTheFileFails", true, "", 0, FsOp::Rename, {}},
    {"StickGoesAtTheRenameOverItsFile", false, "", 0, FsOp::Rename, Side::Usb},
    {"OptimistCopyLosesItsSourceStickMidRead", true, "O", 0, FsOp::Read, Side::Usb},
    {"DestinationOnAFullFileSystem", true, "", 'F', {}, {}},
    {"DestinationOnAReadOnlyFileSystem", true, "", 'R', {}, {}},
};

TEST_P(CopyFaultTest, DestinationStaysWholeAndNothingNewerIsOverwrittenLater) {
  const CopyFault& c = GetParam();
  const std::string forward = c.towardsPc ? "A2" : "A1";
  const Side to = c.towardsPc ? Side::Pc : Side::Usb;
  std::unique_ptr<TmpfsMount> disk;
  if (c.pcDisk != 0) {
    disk = std::make_unique<TmpfsMount>(pair.Pc(), "1m");
    if (!disk->Mounted()) GTEST_SKIP() << disk->Error();
  }
  const auto id = AddTask(c.options);
  const std::string source = Put(c.towardsPc ? Side::Usb : Side::Pc, "Doc.txt", kNew, kTuesday);
  const std::string destination = Put(to, "Doc.txt", kOld, kMonday);
  if (c.options == std::string("O")) {
    db.AddFile({.hostname = kHost, .task = id, .file = "Doc.txt", .last = "20200101000000"});
  } else {
    Remember(id, "Doc.txt", to);
  }
  Put(Side::Usb, "Other.txt", "other", kMonday);  // "C1": the run goes on past the fault
  Analyse();
  ASSERT_EQ(Code("Doc.txt"), forward);
  const Names rowsBefore = Rows(id);
  const std::string filler = pair.Pc() + "/filler";
  if (c.pcDisk == 'R') {
    ASSERT_EQ(disk->Remount(true), "");
  } else if (c.pcDisk == 'F') {
    std::ofstream fill(filler, std::ios::binary);
    const std::string block(4096, 'f');
    while (fill.write(block.data(), block.size())) {}
  }
  if (c.op) {
    const std::string gone = !c.gone ? "" : *c.gone == Side::Pc ? pair.Pc() : pair.Usb();
    fs.Arm({.op = c.op, .pathPart = "Doc.txt", .times = 3, .gone = gone});
  }
  Run();

  ASSERT_NE(view.Row("Other.txt"), nullptr);
  EXPECT_NE(view.Row("Other.txt")->icon, "") << "the run stopped at the fault";
  EXPECT_EQ(ReadBytes(source), kNew);
  EXPECT_EQ(ReadBytes(destination), kOld);
  EXPECT_EQ(ModifiedTime(destination).sec, kMonday);
  EXPECT_EQ(view.Row("Doc.txt")->icon + view.taskRows[0].icon, "KOALERT");
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + source));
  // No row says the copies are in step: either none, or the old one when the batch that would
  // have replaced it could not be flushed.
  const Names rows = Rows(id);
  EXPECT_TRUE(rows.count("Doc.txt") == 0 || rows.at("Doc.txt") == rowsBefore.at("Doc.txt"));
  // A device that went took the temporary file with it, half written: the fault hit mid-copy.
  EXPECT_EQ(TemporaryCount(pair.Usb()) + TemporaryCount(pair.Pc()), c.gone == to ? 1 : 0);

  fs.ClearFaults();
  if (c.pcDisk == 'R') {
    ASSERT_EQ(disk->Remount(false), "");
  }
  std::filesystem::remove(filler);
  Analyse();
  const std::string code = Code("Doc.txt");
  EXPECT_TRUE(code == forward || IsConflict(code)) << code << ": the old version would win";
  session->Archivos.Find("Doc.txt")->Action = forward;  // the user's choice in a conflict
  Run();
  EXPECT_EQ(session->Fallos, 0);
  EXPECT_EQ(ReadBytes(destination), kNew);
  EXPECT_EQ(TemporaryCount(to == Side::Pc ? pair.Pc() : pair.Usb()), 0)
      << "the next run into the folder clears it";
}

INSTANTIATE_TEST_SUITE_P(Faults, CopyFaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& param) { return std::string(param.param.name); });

// A stick pulled out before the run.
TEST_F(RunTest, StickPulledOutBeforeTheRunLeavesTheSnapshotAsItWas) {
  const auto id = AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);
  Put(Side::Pc, "Back.txt", "back", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Old.txt", .last = "kept"});
  Analyse();
  // Every call on the stick fails from now on, its flush before the commit included: no row may
  // then say anything is in step, and the old rows stay for the next analysis.
  fs.Arm({.gone = pair.Usb()});
  Run();
  fs.ClearFaults();
  EXPECT_EQ(session->Fallos, 2);
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Back.txt", "back"}}));
  EXPECT_EQ(Rows(id), (Names{{"Old.txt", "kept"}}));
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("")));
  Analyse();
  EXPECT_EQ(Codes(), (Names{{"New.txt", "C1"}, {"Back.txt", "C2"}}));
}

// A file copied once, on the real file system. A new one goes in as an unnamed file linked in once
// whole where the file system allows it, the other way where it does not. Either way the copy is
// whole, keeps its times and bits, leaves no temporary file, and never takes a name another file
// took meanwhile.
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
    bool taken = false;  // another program writes the name just before the link...
    bool seenAbsent = false;  // ...also when the caller had just found it free
  };
  const Case cases[] = {
      {"unnamed file, in-kernel copy", [](ShortcutFileSystem&) {}, true},
      {"no unnamed files", [](ShortcutFileSystem& fs) { fs.noUnnamed = true; }, false},
      {"link refused", [](ShortcutFileSystem& fs) { fs.linkRefused = true; }, false},
      {"no in-kernel copy", [](ShortcutFileSystem& fs) { fs.noCopyRange = true; }, true},
      {"name taken", [](ShortcutFileSystem&) {}, false, true},
      {"name taken, seen free", [](ShortcutFileSystem&) {}, false, true, true},
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
    if (c.taken) fs.takenBeforeLink = destination;

    ASSERT_EQ(CopiaUnaVez(fs, source, destination, nullptr, c.seenAbsent), c.taken ? -EEXIST : 0);
    EXPECT_EQ(TemporaryCount(pair.Path(Side::Pc, "Año")), 0);
    if (c.taken) {
      EXPECT_EQ(ReadBytes(destination), "theirs");
      continue;
    }
    EXPECT_EQ(fs.linked, c.throughUnnamed ? 1 : 0);
    EXPECT_EQ(ReadBytes(destination), ReadBytes(source));
    struct stat copy {};
    ASSERT_EQ(::stat(destination.c_str(), &copy), 0);
    EXPECT_EQ(ModifiedTime(destination), (FileTime{UtcSeconds(2021, 3, 4, 5, 6, 7), 123456789}));
    EXPECT_EQ(copy.st_mode & 07777, 0640u);
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
  const Case cases[] = {{2, false, 1, 0}, {2, true, 1, 2}, {4, false, 3, 3}, {4, true, 1, 1}};
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
