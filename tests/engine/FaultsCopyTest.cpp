// An overwrite that meets a fault: a step of the copy that fails, a device that goes in the middle
// of it, a source that cannot be read, a destination on a read-only file system, an immutable
// destination, a destination held open by another program. Whatever happens, the destination is
// its old version or the new one, the run goes on to its end, and the next analysis never plans
// the old version over the new.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <utility>

#include "engine/ActionMapping.h"
#include "engine/CopiaArchivo.h"
#include "engine/PosixFileSystem.h"
#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

constexpr const char* kNew = "the new version";
constexpr const char* kOld = "old";

class CopyFaultTest;
// Sets the fault up at a stage of the test: "" or why this machine cannot have it.
using Stage = std::string (*)(CopyFaultTest&);

struct CopyFault {
  const char* name;
  bool towardsPc;       // "A2" (the stick's copy over the PC's), else "A1"
  const char* options;  // "O": both sides changed since the snapshot, the newer copy wins
  Stage beforeFiles;    // before any file is written
  Stage arm;            // after the analysis, before the run
  Stage restore;        // the fault is over (the device is back, the flag cleared)
  bool goesThrough;     // the copy is expected to succeed
  bool deviceGone;      // the destination's device went: its temporary file can wait for the next run
};

void PrintTo(const CopyFault& fault, std::ostream* out) { *out << fault.name; }

class CopyFaultTest : public RunTest, public ::testing::WithParamInterface<CopyFault> {
 protected:
  void TearDown() override {
    if (holder >= 0) ::close(holder);
    if (!immutable.empty()) (void)SetImmutable(immutable, false);
    mount.reset();
    RunTest::TearDown();
  }

 public:
  using RunTest::fs;
  using RunTest::pair;
  std::string Source() const { return Path(GetParam().towardsPc ? Side::Usb : Side::Pc, "Doc.txt"); }
  std::string Destination() const {
    return Path(GetParam().towardsPc ? Side::Pc : Side::Usb, "Doc.txt");
  }
  std::string DestinationRoot() const { return GetParam().towardsPc ? pair.Pc() : pair.Usb(); }

  std::unique_ptr<TmpfsMount> mount;
  std::string immutable;
  int holder = -1;
  bool armed = false;
};

std::string Nothing(CopyFaultTest&) { return {}; }
std::string ClearFaults(CopyFaultTest& t) {
  t.fs.ClearFaults();
  return {};
}
// Every attempt at one step of the copy into the temporary file fails; armed when the copy opens
// its source, since Other.txt's copy may go through a temporary file too.
template <FsOp op>
std::string FailTemporary(CopyFaultTest& t) {
  t.fs.Watch([&t](FsOp kind, const std::string& path) {
    if (t.armed || kind != FsOp::Open || path != t.Source()) return;
    t.armed = true;
    for (int attempt = 1; attempt <= 3; ++attempt) t.fs.FailAt(attempt, EIO, op, ".tandrel-");
  });
  return {};
}

// The stick's or the PC's device goes from the first call of kind op on Doc.txt on.
template <bool pc, FsOp op>
std::string Vanish(CopyFaultTest& t) {
  t.fs.VanishAt(1, pc ? t.pair.Pc() : t.pair.Usb(), op, "Doc.txt");
  return {};
}

const CopyFault kFaults[] = {
    {"TemporaryWriteFails", true, "", Nothing, FailTemporary<FsOp::Write>, ClearFaults, false, false},
    {"TemporaryFsyncFails", true, "", Nothing, FailTemporary<FsOp::Fsync>, ClearFaults, false, false},
    {"TemporaryTimesFail", true, "", Nothing, FailTemporary<FsOp::SetTimes>, ClearFaults, false, false},
    {"TemporaryModeFails", true, "", Nothing, FailTemporary<FsOp::ChangeMode>, ClearFaults, false, false},
    {"RenameOverTheFileFails", true, "", Nothing, FailTemporary<FsOp::Rename>, ClearFaults, false, false},
    // The source's first read passes; the temporary's first write on the PC already fails.
    {"DestinationDiskGoesAtTheFirstWrite", true, "", Nothing, Vanish<true, FsOp::Read>, ClearFaults,
     false, true},
    {"StickGoesAtTheRenameOverItsFile", false, "", Nothing, Vanish<false, FsOp::Rename>,
     ClearFaults, false, true},
    {"OptimistCopyLosesItsSourceStickMidRead", true, "O", Nothing, Vanish<false, FsOp::Read>,
     ClearFaults, false, false},
    {"SourceReadFailsWithEio", false, "", Nothing,
     [](CopyFaultTest& t) {
       for (int attempt = 1; attempt <= 3; ++attempt) t.fs.FailAt(attempt, EIO, FsOp::Read, "Doc.txt");
       return std::string();
     },
     ClearFaults, false, false},
    {"DestinationOnAReadOnlyFileSystem", true, "",
     [](CopyFaultTest& t) {
       t.mount = std::make_unique<TmpfsMount>(t.pair.Pc(), "1m");
       return t.mount->Error();
     },
     [](CopyFaultTest& t) { return t.mount->Remount(true); },
     [](CopyFaultTest& t) { return t.mount->Remount(false); }, false, false},
    {"ImmutableDestination", true, "", Nothing,
     [](CopyFaultTest& t) {
       std::string why = SetImmutable(t.Destination(), true);
       t.immutable = why.empty() ? t.Destination() : "";
       return why;
     },
     [](CopyFaultTest& t) { return SetImmutable(std::exchange(t.immutable, ""), false); }, false,
     false},
    // Nothing on Linux stops a rename over a file another program has open: the name gets the
    // new version, and that program goes on with the old one through its descriptor.
    {"DestinationHeldOpenForWriting", false, "", Nothing,
     [](CopyFaultTest& t) {
       t.holder = ::open(t.Destination().c_str(), O_RDWR | O_CLOEXEC);
       return t.holder >= 0 ? std::string() : ErrorText(errno);
     },
     Nothing, true, false},
};

TEST_P(CopyFaultTest, DestinationStaysWholeAndNothingNewerIsOverwrittenLater) {
  const CopyFault& c = GetParam();
  const std::string forward = c.towardsPc ? "A2" : "A1";
  if (std::string why = c.beforeFiles(*this); !why.empty()) GTEST_SKIP() << why;
  const auto id = AddTask(c.options);
  Put(c.towardsPc ? Side::Usb : Side::Pc, "Doc.txt", kNew, kTuesday);
  Put(c.towardsPc ? Side::Pc : Side::Usb, "Doc.txt", kOld, kMonday);
  if (c.options == std::string("O")) {
    db.AddFile({.hostname = kHost, .task = id, .file = "Doc.txt", .last = "20200101000000"});
  } else {
    Remember(id, "Doc.txt", c.towardsPc ? Side::Pc : Side::Usb);
  }
  Put(Side::Usb, "Other.txt", "other", kMonday);  // "C1": the run goes on past the fault
  Analyse();
  ASSERT_EQ(Code("Doc.txt"), forward);
  const Names rowsBefore = Rows(id);
  if (std::string why = c.arm(*this); !why.empty()) GTEST_SKIP() << why;
  Run();

  ASSERT_NE(view.Row("Other.txt"), nullptr);
  EXPECT_NE(view.Row("Other.txt")->icon, "") << "the run stopped at the fault";
  EXPECT_EQ(ReadBytes(Source()), kNew);
  if (c.goesThrough) {
    EXPECT_EQ(ReadBytes(Destination()), kNew);
    EXPECT_EQ(session->Fallos, 0);
    char seen[8] = {};
    EXPECT_EQ(::pread(holder, seen, sizeof seen - 1, 0), 3);
    EXPECT_STREQ(seen, kOld) << "the other program keeps what it opened";
  } else {
    EXPECT_EQ(ReadBytes(Destination()), kOld);
    EXPECT_EQ(ModifiedTime(Destination()).sec, kMonday);
    EXPECT_EQ(view.Row("Doc.txt")->icon + view.taskRows[0].icon, "KOALERT");
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + Source()));
    // No row says the copies are in step: either none, or the old one when the batch that would
    // have replaced it could not be flushed.
    const Names rows = Rows(id);
    if (rows.count("Doc.txt") != 0) {
      EXPECT_EQ(rows.at("Doc.txt"), rowsBefore.at("Doc.txt"));
    }
  }
  // A device that went took the temporary file with it, half written: the fault hit mid-copy.
  EXPECT_EQ(TemporaryCount(pair.Usb()) + TemporaryCount(pair.Pc()), c.deviceGone ? 1 : 0);

  ASSERT_EQ(c.restore(*this), "");
  Analyse();
  const std::string code = Code("Doc.txt");
  if (c.goesThrough) {
    EXPECT_EQ(code, "ZZ");
    return;
  }
  EXPECT_TRUE(code == forward || IsConflict(code)) << code << ": the old version would win";
  session->Archivos.Find("Doc.txt")->Action = forward;  // the user's choice in a conflict
  Run();
  EXPECT_EQ(session->Fallos, 0);
  EXPECT_EQ(ReadBytes(Destination()), kNew);
  EXPECT_EQ(TemporaryCount(DestinationRoot()), 0) << "the next run into the folder clears it";
}

INSTANTIATE_TEST_SUITE_P(Faults, CopyFaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& param) { return std::string(param.param.name); });

// A full disk, a stick pulled out before the run.
// The PC folder on a tmpfs of one mebibyte (tests run as root in CI; elsewhere this is skipped).
class FullDiskTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    if (!disk.Mounted()) GTEST_SKIP() << disk.Error();
  }
  TmpfsMount disk{pair.Pc(), "1m"};
};

TEST_F(FullDiskTest, CopiesThatDoNotFitFailAndLeaveNothingBehind) {
  const auto id = AddTask();
  Put(Side::Usb, "Big.bin", std::string(2 << 20, 'b'), kTuesday);
  Put(Side::Usb, "Doc.txt", std::string(1536 << 10, 'n'), kTuesday);  // "A2" that does not fit
  Put(Side::Pc, "Doc.txt", "small old version", kMonday);
  Remember(id, "Doc.txt", Side::Pc);
  Put(Side::Usb, "Small.txt", "fits", kMonday);
  Sync();
  EXPECT_EQ(session->Fallos, 2);
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Doc.txt", "small old version"}, {"Small.txt", "fits"}}));
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Big.bin")));
}

TEST_F(RunTest, StickPulledOutBeforeTheRunLeavesTheSnapshotAsItWas) {
  const auto id = AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);
  Put(Side::Pc, "Back.txt", "back", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Old.txt", .last = "kept"});
  Analyse();
  // Every call on the stick fails from now on, its flush before the commit included: no row may
  // then say anything is in step, and the old rows stay for the next analysis.
  fs.VanishAt(fs.Calls() + 1, pair.Usb());
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
