#include "core/FixedText.h"

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

}  // namespace
}  // namespace tandrel
