#include "core/Public.h"

#include <gtest/gtest.h>

namespace tandrel {
namespace {

// Nothing in a stamp is validated (a hand-edited database has anything there), and a letter of
// two bytes is never cut in two.
TEST(Public, TheTwoFormsOfAMoment) {
  const std::tm moment{.tm_sec = 5, .tm_min = 30, .tm_hour = 9, .tm_mday = 7, .tm_mon = 2,
                       .tm_year = 124};
  EXPECT_EQ(FechaHora(0, moment) + "|" + FechaHora(1, moment) + "|" + FechaHora(2, moment),
            "20240307093005|07/03/2024 09:30:05|");
  const std::pair<const char*, const char*> cases[] = {
      {"20240307093005", "07/03/2024 09:30:05"}, {"", ""}, {"2024030709", "07/03/2024 09::"},
      {"añoMEsDía", "Dí/Es/añoM a::"},
      {"\x03\x02\xCB\xC5\x9E\xC5", "/\xC5/\x03\x02\xCB\xC5\x9E ::"},  // "Ş" is not cut in two
  };
  for (const auto& [stamp, shown] : cases) EXPECT_EQ(FormateaFecha(stamp), shown) << stamp;
}
}  // namespace
}  // namespace tandrel
