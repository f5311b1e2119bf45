// The classifier's decision table, row by row and in both modes, on real files and a real snapshot;
// and the text forms of a file's data that the snapshot stores and the classifier compares.
#include <gtest/gtest.h>

#include "engine/FileTimes.h"
#include "engine/TempNames.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

const std::int64_t kOldest = UtcSeconds(2019, 1, 1);
constexpr long kAbsent = -1;

struct Row {
  const char* what;
  long usbSize;
  std::int64_t usbTime;
  long pcSize;
  std::int64_t pcTime;
  const char* snapSize;  // nullptr: the snapshot does not know the file
  std::int64_t snapTime;
  const char* leftOpt;
  const char* rightOpt;
  const char* off;  // code with optimist mode off
  const char* on;   // code with optimist mode on
  const char* estado;
};

const Row kRows[] = {
    // Missing on the other side.
    {"USB only, known, PC deletions carried", 100, kOlder, kAbsent, 0, "100", kOlder, "N", "NE", "X1", "X1", "D"},
    {"USB only, known, PC deletions not carried", 100, kOlder, kAbsent, 0, "100", kOlder, "NE", "N", "ZZ", "ZZ", "D"},
    {"PC only, known, USB deletions carried", kAbsent, 0, 100, kOlder, "100", kOlder, "NE", "N", "X2", "X2", "D"},
    {"PC only, known, USB deletions not carried", kAbsent, 0, 100, kOlder, "100", kOlder, "N", "NE", "ZZ", "ZZ", "D"},
    {"USB only, new", 100, kOlder, kAbsent, 0, nullptr, 0, "N", "N", "C1", "C1", "N"},
    {"PC only, new", kAbsent, 0, 100, kOlder, nullptr, 0, "N", "N", "C2", "C2", "N"},
    // On both sides.
    {"copies agree, snapshot says otherwise", 100, kOlder, 100, kOlder, "7", kOldest, "N", "N", "ZZ", "ZZ", "E"},
    {"both changed, PC newer", 100, kOlder, 200, kNewer, "50", kOldest, "N", "N", "!3", "A1", "E"},
    {"both changed, equal times", 100, kOlder, 200, kOlder, "50", kOldest, "N", "N", "!4", "!4", "E"},
    {"both changed, USB newer", 100, kNewer, 200, kOlder, "50", kOldest, "N", "N", "!2", "A2", "E"},
    {"both changed, listed on the PC side", 100, kNewer, 200, kOlder, "50", kOldest, "", "N", "!2", "A2", ""},
    {"USB changed and newer", 200, kNewer, 100, kOlder, "100", kOlder, "N", "N", "A2", "A2", "E"},
    {"PC changed and newer", 100, kOlder, 200, kNewer, "100", kOlder, "N", "N", "A1", "A1", "E"},
    {"USB changed but older: the newer copy wins", 200, kOldest, 100, kOlder, "100", kOlder, "N", "N", "A1", "A1", "E"},
    {"one side changed, equal times", 100, kOlder, 200, kOlder, "100", kOlder, "N", "N", "!1", "!1", "E"},
    // A size alone tells a change: both sides keep the recorded time.
    {"both sizes changed, times as recorded", 200, kOlder, 300, kOlder, "100", kOlder, "N", "N", "!4", "!4", "E"},
    {"unknown, USB newer", 100, kNewer, 100, kOlder, nullptr, 0, "N", "N", "!2", "A2", "E"},
    {"unknown, PC newer", 100, kOlder, 100, kNewer, nullptr, 0, "N", "N", "!3", "A1", "E"},
    {"unknown, equal times, sizes differ", 100, kOlder, 200, kOlder, nullptr, 0, "N", "N", "!4", "!1", "E"},
    // Time grain: one second apart differs (every row's copies differ by fractions, which do not).
    {"one second apart", 100, kOlder + 1, 100, kOlder, "100", kOlder, "N", "N", "A2", "A2", "E"},
};

TEST_F(RunTest, EveryRowOfTheDecisionTableInBothModes) {
  int position = 0;
  for (const Row& row : kRows) {
    for (bool optimist : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (optimist ? " (optimist)" : ""));
      const std::string folder = "Case" + std::to_string(position + 1);
      const std::int64_t id = AddTask(row.leftOpt, row.rightOpt, optimist ? "O" : "",
                                      "\\Data\\" + folder, pair.Pc() + "/" + folder);
      ++position;
      // A file in step on both sides: a side's folder left empty would be a disk not mounted.
      pair.AddFile(Side::Usb, Usb(folder + "/Same.txt"), 1, kOlder);
      pair.AddFile(Side::Pc, folder + "/Same.txt", 1, kOlder);
      if (row.usbSize != kAbsent) {
        pair.AddFile(Side::Usb, Usb(folder + "/report.TXT"), row.usbSize, row.usbTime, 700000000);
      }
      if (row.pcSize != kAbsent) {
        pair.AddFile(Side::Pc, folder + "/REPORT.txt", row.pcSize, row.pcTime, 200000000);
      }
      if (row.snapSize != nullptr) {
        AddSnapshot(id, "report.txt", row.snapSize, FechaArchivo(FileTime{row.snapTime, 0}).str());
      }

      Analyse(position);
      ASSERT_EQ(session->Archivos.Count(), 2u);
      EXPECT_EQ(Code("Report.txt") + " " + Entry("Report.txt")->Estado.str(),
                std::string(optimist ? row.on : row.off) + " " + row.estado);
    }
  }
}

// The cases that could break: a fraction, a second before 1970, a year of other than four digits
// (as many digits as it has, cut to 14), and the count of 100-nanosecond steps since 1601.
TEST(FileTextsTest, TimesAreUtcDigitsWithoutFractionsAndSizesTheirLow32BitsSigned) {
  EXPECT_EQ(FechaArchivo(FileTime{UtcSeconds(2009, 3, 5, 7, 4, 9), 500000000}), "20090305070409");
  EXPECT_EQ(FechaArchivo(FileTime{-1, 500000000}), "19691231235959");
  EXPECT_EQ(FechaArchivo(FileTime{UtcSeconds(999, 1, 2, 3, 4, 5), 0}), "9990102030405");
  EXPECT_EQ(FechaArchivo(FileTime{UtcSeconds(12000, 1, 1), 0}), "12000010100000");
  EXPECT_EQ(FechaArchivo(static_cast<std::uint64_t>(
                (UtcSeconds(2009, 3, 5, 7, 4, 9) + 11644473600) * 10000000)),
            "20090305070409");
  EXPECT_EQ(TextoTamano(2147483648u), "-2147483648");
  EXPECT_EQ(TextoTamano((std::uint64_t{1} << 32) + 5), "5");
}

TEST(TempNamesTest, OnlyTheRunsOwnPatternIsATemporaryCopy) {
  EXPECT_EQ(TempCopyName(0x0123abcdu), ".tandrel-0123abcd.tmp");
  for (const char* name : {".tandrel-0123ABCD.tmp", ".tandrel-0123abc.tmp",
                           "x.tandrel-0123abcd.tmp", ".tandrel-0123abcd.tmp.doc"}) {
    EXPECT_FALSE(IsTempCopyName(name)) << name;
  }
}

}  // namespace
}  // namespace tandrel::test
