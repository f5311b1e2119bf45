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

// Every key the program looks up.
const char* const kProgramKeys[] = {
    "mnuMain", "mnuTasks", "mnuOPTION", "mnuExit", "mnuAddTask", "mnuAnalize", "mnuDelTask",
    "mnuEditTask", "mnuReload", "mnuSync", "mnuHELP", "tolNEWT", "tolANAL", "tolSYNC", "tolOPTIONS",
    "tolOKS", "tolFSYNC", "tolCONFLICT", "capID", "capDesc", "capState", "capPUSB", "capPPC",
    "capLastSync", "capFile", "capAction", "capBytes", "capFind", "logStarting", "logTime",
    "panConnecting", "errConnecting", "panConnected", "errTime", "logShowTasks", "panSearchingT",
    "logNoTasks", "logExecute", "logExecuteF", "logAddTask", "panCOMPACT", "tskPending", "tskDone",
    "tskALERT", "panAnalyzing", "panListing", "panSync", "panReady", "logFiles", "logFileconflict",
    "logFileCopy", "logFileActu", "logFileChange", "stN", "stE", "stD", "stR", "capFileName",
    "capSize", "capCreation", "capModified", "capAccess", "capUserA", "lblNoFile", "lblNoReg",
    "butOK", "butCancel", "wrdFolder", "incSF", "advOPT", "lblAT5", "chkAT1", "chkAT2", "chkAT3",
    "chkAT4", "chkAT5", "chkAT6", "tit9", "frmATASK", "ATITLE1", "AStep1", "ASTEP2", "sltUSB",
    "sltPC", "sltTask", "sltCOPY", "Task1", "Task1Desc", "Task2", "Task2DESC", "TaskName",
    "butPREV", "butNEXT", "lblTITLE", "lblAT1", "lblAT2", "lblat3", "lblAT4", "lblAT5", "lblAT6",
    "lblAT7", "lblAT8", "lblAT9", "lblAT10", "lblat11", "lblat12", "lblAT13", "lblAT14", "wrdnews",
    "wrdMODF", "wrdDELE", "chkASTART", "chkASRO", "chkASOPT", "errTask1", "logCREATEDTASK",
};

TEST(Words, SuppliedLanguageFilesAreCompleteAndAlike) {
  const std::map<std::string, std::string> headers = {{"EN", ":EN=English"},
                                                      {"ES", ":ES=Espa\xC3\xB1ol"}};
  std::map<std::string, std::set<std::string>> keys;
  for (const auto& [code, header] : headers) {
    const std::string text =
        test::ReadBytes(std::string(TANDREL_SOURCE_DIR) + "/Languages/" + code + ".txt");
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_EQ(ToValidUtf8(text), text) << code << " is not valid UTF-8";
    EXPECT_EQ(text.find('\r'), std::string::npos) << code;
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_TRUE(first[0] == ';' && first.find("UTF-8") != std::string::npos &&
                text.find("\n" + header + "\n") != std::string::npos) << code;

    const clsWords words(TANDREL_SOURCE_DIR, code);
    for (const char* key : kProgramKeys) {
      EXPECT_TRUE(words.W(key) != key && !words.W(key).empty()) << code << " lacks " << key;
    }
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
