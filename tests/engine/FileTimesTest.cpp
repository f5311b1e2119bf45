// The text forms of a file's data: what the snapshot stores and the classifier compares.
#include <gtest/gtest.h>

#include "engine/FileTimes.h"
#include "engine/TempNames.h"
#include "tests/support/FolderPair.h"

namespace tandrel::test {
namespace {

TEST(FechaArchivoTest, WritesUtcDigitsAndDropsFractions) {
  struct Case {
    std::int64_t sec;
    std::uint32_t nsec;
    const char* text;
  };
  const Case cases[] = {
      {UtcSeconds(2009, 3, 5, 7, 4, 9), 500000000, "20090305070409"},
      {UtcSeconds(2024, 2, 29, 0, 0, 0), 0, "20240229000000"},
      {UtcSeconds(1999, 12, 31, 23, 59, 59), 999999999, "19991231235959"},
      {0, 0, "19700101000000"},
      // Before 1970 the second still rounds towards the past.
      {-1, 500000000, "19691231235959"},
      {UtcSeconds(1601, 1, 1), 0, "16010101000000"},
      // Years of fewer or more than four digits: as many digits as the year has, cut to 14.
      {UtcSeconds(999, 1, 2, 3, 4, 5), 0, "9990102030405"},
      {UtcSeconds(12000, 1, 1), 0, "12000010100000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FechaArchivo(FileTime{c.sec, c.nsec}), c.text) << c.sec;
  }
  // The same moment counted in 100-nanosecond steps since 1601.
  const std::uint64_t since1601 =
      static_cast<std::uint64_t>(UtcSeconds(2009, 3, 5, 7, 4, 9) + 11644473600) * 10000000 + 5000000;
  EXPECT_EQ(FechaArchivo(since1601), "20090305070409");
  EXPECT_EQ(FechaArchivo(std::uint64_t{0}), "16010101000000");
}

TEST(FileTextsTest, SizesKeepTheirLow32BitsAsASignedNumber) {
  EXPECT_EQ(TextoTamano(0), "0");
  EXPECT_EQ(TextoTamano(2147483647), "2147483647");
  EXPECT_EQ(TextoTamano(2147483648u), "-2147483648");
  EXPECT_EQ(TextoTamano(4294967295u), "-1");
  EXPECT_EQ(TextoTamano((std::uint64_t{1} << 32) + 5), "5");
}

TEST(TempNamesTest, OnlyTheRunsOwnPatternIsATemporaryCopy) {
  EXPECT_EQ(TempCopyName(0x0123abcdu), ".tandrel-0123abcd.tmp");
  EXPECT_TRUE(IsTempCopyName(TempCopyName(0xffffffffu)));
  for (const char* name : {".tandrel-0123ABCD.tmp", ".tandrel-0123abc.tmp", ".tandrel-0123abcg.tmp",
                           "x.tandrel-0123abcd.tmp", ".tandrel-0123abcd.tmp.doc"}) {
    EXPECT_FALSE(IsTempCopyName(name)) << name;
  }
}

}  // namespace
}  // namespace tandrel::test
