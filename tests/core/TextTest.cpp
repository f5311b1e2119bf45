#include "core/Text.h"
#include "core/FixedText.h"
#include "core/PackedText.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

// Turkish "İ" lowered is "i" and "ı" raised is "I", but neither pair is one name without regard
// to case: such a letter keeps its case, so a file is found under its proper-cased name.
TEST(Text, ProperCaseWorksOnUnicodeLettersAndNeverMakesAnotherName) {
  const std::pair<std::string, std::string> cases[] = {
      {"my REPORT.TXT", "My Report.txt"},
      {"élan ÉTÉ", "Élan Été"},
      {"STRASSE straße", "Strasse Straße"},  // ß has no one-letter capital
      {"  two  spaces", "  Two  Spaces"},
      {"a\xFF" "B c", "A\xFF" "b C"},  // an invalid byte passes through and is no space
      {"İSTANBUL ıi", "İstanbul ıi"}, {"ı x", "ı X"}, {"ǆemal", "Ǆemal"},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(ProperCase(in), out) << in;
    EXPECT_TRUE(EqualsNoCase(ProperCase(in), in)) << in;
  }
}

// Simple folding only, as file systems that ignore case compare names: letters that full folding
// turns into two ("ß", "ﬁ") are files of their own.
TEST(Text, CaseFoldMakesOneKeyOfEverySpellingButKeepsNormalisationApart) {
  const std::tuple<const char*, const char*, bool> pairs[] = {
      {"ÉCOLE\\Año.TXT", "école\\año.txt", true}, {"ΟΔΟΣ", "οδος", true},  // final sigma
      {"STRAẞE", "straße", true}, {"ᾈ", "ᾀ", true}, {"straße.txt", "strasse.txt", false},
      {"ﬁle.txt", "file.txt", false}, {"İ", "i", false}, {"ŉ", "ʼn", false},
      {"\xC3\xA9", "e\xCC\x81", false},  // é precomposed and decomposed
  };
  for (const auto& [a, b, same] : pairs) EXPECT_EQ(EqualsNoCase(a, b), same) << a << " " << b;
}

TEST(Text, InvalidUtf8BecomesOneReplacementPerBrokenSequence) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(ToValidUtf8("ñ €\xF0\x9D\x84\x9E"), "ñ €\xF0\x9D\x84\x9E");
  EXPECT_EQ(ToValidUtf8("\xE2\x82" "A"), fffd + "A");  // a cut sequence
  EXPECT_EQ(ToValidUtf8("\xC0\xAF"), fffd + fffd);      // overlong
}

// A NULL column once reached a memcpy from a null pointer; the sanitizer run of scripts/test turns
// such undefined cases into failures.
TEST(FixedText, TakesEmptyViewsWithoutDataAndCutsLongTexts) {
  FixedText<14> text("20240307093005");
  text = std::string_view();  // a NULL column: no data pointer at all
  EXPECT_TRUE(text.empty());
  text = "20240307093005 and more";
  EXPECT_EQ(text, "20240307093005");
}

// Every text reads back as it was given, numbers or not, and orders as the texts do.
TEST(PackedText, KeepsEveryTextByteForByte) {
  for (const char* text : {"", "0", "-0", "-", "00000000000001", "-2147483648", "VOID", "+5",
                           "12 ", "99999999999999"}) {
    const PackedText packed(text);
    EXPECT_EQ(packed.Text(), text);
    EXPECT_NE(packed, PackedText("1" + std::string(text)));
  }
  EXPECT_LT(PackedText("20090305070409").compare("20090305070410"), 0);
  EXPECT_LT(PackedText("-1").compare("VOID"), 0);
}

}  // namespace
}  // namespace tandrel
