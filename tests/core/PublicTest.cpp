#include "core/Public.h"

#include <gtest/gtest.h>

#include <regex>

#include "core/clsWords.h"
#include "tests/support/TempFolder.h"

namespace tandrel {
namespace {

TEST(Public, TheTwoFormsOfAMoment) {
  const std::tm moment{.tm_sec = 5, .tm_min = 30, .tm_hour = 9, .tm_mday = 7, .tm_mon = 2, .tm_year = 124};
  EXPECT_EQ(FechaHora(0, moment) + "|" + FechaHora(1, moment) + "|" + FechaHora(2, moment),
            "20240307093005|07/03/2024 09:30:05|");

  const std::pair<const char*, const char*> cases[] = {
      {"20240307093005", "07/03/2024 09:30:05"}, {"00000000000000", "00/00/0000 00:00:00"},
      {"", ""}, {"2024", "//2024 ::"}, {"2024030709", "07/03/2024 09::"},
      {"2024-3-7", "-7/-3/2024 ::"},  // nothing is validated
      {"\x03\x02\xCB\xC5\x9E\xC5", "/\xC5/\x03\x02\xCB\xC5\x9E ::"},  // "Ş" is not cut in two
      {"añoMEsDía", "Dí/Es/añoM a::"},
  };
  for (const auto& [stamp, shown] : cases) EXPECT_EQ(FormateaFecha(stamp), shown) << stamp;
}

TEST(Public, ExtraeCampoSplitsAtTheSeparator) {
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      {"General/Language", "/", 1, "General"}, {"General/Language", "/", 2, "Language"},
      {"General/Language", "/", 3, ""},        {"a/b/", "/", 2, "b"},
      {"a/b/", "/", 3, ""},                    {"a/b/  ", "/", 3, ""},
      {"a//c", "/", 3, "c"},                   {"a::b::c", "::", 2, "b"},
      {"a/b", "/", 0, ""},
  };
  for (const auto& [text, separator, n, field] : cases) {
    EXPECT_EQ(ExtraeCampo(text, separator, n), field) << text << " " << n;
  }
}

TEST(Public, LogLineStatusTextAndEnvironment) {
  struct Recorder : LogSink {
    void AppendLogLine(const std::string& line) override { last = line; }
    void ShowStatus(const std::string& text) override { status = text; }
    std::string last, status;
  } log;
  test::TempFolder folder;
  test::WriteBytes(folder / "Languages/EN.txt", "panReady=Ready\n");
  const clsWords words(folder.path(), "EN");

  EscribeLog(log, "#3: Ready");
  const std::regex line(R"(\[\d\d:\d\d:\d\d\] #3: Ready)");
  EXPECT_TRUE(std::regex_match(log.last, line)) << log.last;
  MuestraEstado(log, words, "PANREADY");
  EXPECT_EQ(log.status, "Ready");
  EXPECT_EQ(PonTitulo(), "Vorn Tandrel (1.0.37)");

  setenv("TANDREL_TEST_VALUE", std::string(254, 'x').c_str(), 1);
  EXPECT_EQ(LeeEntorno("TANDREL_TEST_VALUE"), std::string(254, 'x'));
  setenv("TANDREL_TEST_VALUE", std::string(255, 'x').c_str(), 1);
  EXPECT_EQ(LeeEntorno("TANDREL_TEST_VALUE"), "");
  unsetenv("TANDREL_TEST_VALUE");
}

}  // namespace
}  // namespace tandrel
