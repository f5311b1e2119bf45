// A stick whose file system keeps times to the even second only (FAT): a copy onto it cannot
// carry an odd second, and the two copies must still compare equal afterwards, run after run.
#include "engine/CopiaArchivo.h"
#include "engine/FileTimes.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

TEST_F(RunTest, CopiesOntoATwoSecondStickStayInStepRunAfterRun) {
  const auto id = AddTask();
  fs.RoundTimes(pair.Usb());
  const std::int64_t odd = kTuesday + 1;
  Put(Side::Pc, "New.txt", "made on the pc", odd, 700000000);  // "C2" onto the stick
  Put(Side::Pc, "Edit.txt", "edited on the pc", odd + 2);        // "A1" onto the stick
  Put(Side::Usb, "Edit.txt", "old", kMonday);
  Remember(id, "Edit.txt", Side::Usb);
  Put(Side::Usb, "Stick.txt", "made on the stick", kMonday);  // "C1" from the stick: nothing to round
  Analyse();
  ASSERT_EQ(Codes(), (Names{{"New.txt", "C2"}, {"Edit.txt", "A1"}, {"Stick.txt", "C1"}}));
  Run();
  ASSERT_EQ(session->Fallos, 0);

  for (int round = 1; round <= 3; ++round) {
    Analyse();
    for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name << ", round " << round;
    Run();
  }
  // Both copies and the row carry the time the stick could keep.
  const std::string kept = FechaArchivo(FileTime{odd - 1, 0}).str();
  EXPECT_EQ(Rows(id).at("New.txt"), kept);
  EXPECT_EQ(FechaArchivo(ModifiedTime(PcPath("New.txt"))).str(), kept);

  // A later change on either side is an update, not a conflict: the row agrees with the side
  // that did not change.
  Put(Side::Pc, "New.txt", "changed on the pc", kFriday + 1);
  Put(Side::Usb, "Stick.txt", "changed on the stick", kFriday);
  Analyse();
  EXPECT_EQ(Codes(), (Names{{"New.txt", "A1"}, {"Edit.txt", "ZZ"}, {"Stick.txt", "A2"}}));
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
