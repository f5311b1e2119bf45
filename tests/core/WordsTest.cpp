#include "core/clsWords.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "core/Text.h"
#include "tests/support/TempFolder.h"

namespace tandrel {
namespace {

// The first of two spellings of a key wins, also where they differ in a letter beyond ASCII.
TEST(Words, LanguageFileRules) {
  test::TempFolder folder;
  test::WriteBytes(folder / "Languages/XX.txt",
                   "\xEF\xBB\xBF; comment=not a key\n"
                   "   ;  indented=also a comment\r\n"
                   ":XX=Test language\r"
                   "Greeting =  Hello = world  \n"
                   "GREETING=Second\n"
                   "empty=\n"
                   "a line without an equals sign\n"
                   "Año=primero\naÑO=segundo\n"
                   "broken=caf\xE9");
  const clsWords words(folder.path(), " xx ");
  EXPECT_EQ(words.Count(), 5u);
  std::vector<std::string> found;
  for (const char* key : {"gReEtInG", ":xx", "AÑO", "empty", "broken", "missing", ""})
    found.push_back(words.W(key));
  EXPECT_EQ(found, (std::vector<std::string>{"Hello = world", "Test language", "primero", "",
                                             "caf\xEF\xBF\xBD", "missing", ""}));
}

TEST(Words, SuppliedLanguageFilesHaveTheSameKeysOnceEach) {
  const std::map<std::string, std::string> headers = {{"EN", ":EN=English"},
                                                      {"ES", ":ES=Espa\xC3\xB1ol"}};
  std::map<std::string, std::set<std::string>> keys;
  for (const auto& [code, header] : headers) {
    const std::string text =
        test::ReadBytes(std::string(TANDREL_SOURCE_DIR) + "/Languages/" + code + ".txt");
    EXPECT_EQ(ToValidUtf8(text), text) << code << " is not valid UTF-8";
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_TRUE(first[0] == ';' && first.find("UTF-8") != std::string::npos &&
                text.find("\n" + header + "\n") != std::string::npos) << code;

    const clsWords words(TANDREL_SOURCE_DIR, code);
    // The keys of the file, read independently of clsWords. The header line (":EN=English") is
    // the one key that differs from file to file.
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      line = Trim(line);
      if (!line.empty() && line[0] != ';' && line[0] != ':' && line.find('=') != line.npos)
        keys[code].insert(CaseFold(Trim(line.substr(0, line.find('=')))));
    }
    EXPECT_EQ(keys[code].size() + 1, words.Count()) << code << " repeats a key";
  }
  EXPECT_EQ(keys["EN"], keys["ES"]);
}

}  // namespace
}  // namespace tandrel
