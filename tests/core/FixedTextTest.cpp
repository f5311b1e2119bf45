#include "core/FixedText.h"
#include "core/PackedText.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

// The sanitizer run of scripts/test turns the undefined cases into failures.
TEST(FixedText, TakesEmptyViewsWithoutDataAndCutsLongTexts) {
  FixedText<14> text("20240307093005");
  text = std::string_view();  // a NULL column: no data pointer at all
  EXPECT_TRUE(text.empty());
  text = "20240307093005 and more";
  EXPECT_EQ(text, "20240307093005");
  EXPECT_EQ(FixedText<3>(std::string_view("ab")).size(), 2u);
}

// Every text reads back as it was given, numbers or not, and orders as the texts do.
TEST(PackedText, KeepsEveryTextByteForByte) {
  for (const char* text : {"", "0", "-0", "-", "20090305070409", "00000000000001", "-2147483648",
                           "VOID", "2009-03-05 07", "+5", "12 ", "99999999999999"}) {
    const PackedText packed(text);
    EXPECT_EQ(packed.Text(), text);
    EXPECT_EQ(packed, PackedText(std::string(text)));
    EXPECT_NE(packed, PackedText("1" + std::string(text)));
  }
  EXPECT_EQ(PackedText("123456789012345 and more").Text(), "12345678901234");
  EXPECT_EQ(PackedText::Digits(5, 3), "005");
  EXPECT_EQ(PackedText::Digits(2147483648u, 10, true), "-2147483648");
  EXPECT_LT(PackedText("20090305070409").compare("20090305070410"), 0);
  EXPECT_GT(PackedText("9").compare("10"), 0);
  EXPECT_LT(PackedText("-1").compare("VOID"), 0);
}

}  // namespace
}  // namespace tandrel
