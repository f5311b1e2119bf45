// Names that trip up code which pastes, splits, folds or shortens them: quotes and SQL wildcards,
// spaces, a newline, a backslash, 255 bytes, bytes that are not UTF-8, one accent written two
// ways, two names that differ only in case, two that only full case folding makes one. Each file is copied under its own name (or left out
// with a log line), and the scan, the snapshot and the next analysis agree on its key.
#include <algorithm>

#include "core/Text.h"
#include "engine/TempNames.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

TEST_F(RunTest, AwkwardNamesSyncUnderTheirOwnNameAndKeepOneKey) {
  const auto id = AddTask();
  const std::string longName = "L" + std::string(250, 'o') + ".txt";  // 255 bytes, the limit
  const std::vector<std::string> names = {
      "it's.txt",        "100%.txt",          "a_b.txt",         "two  spaces .txt",
      "line\nbreak.txt", "straße.txt",        longName,          "bad\xff\xfe.txt",
      "caf\xc3\xa9.txt" /* é as one code point */, "cafe\xcc\x81.txt" /* e and an accent */,
      "strasse.txt",     "ﬁle.txt",           "file.txt" /* only full case folding makes these one */};
  for (const auto& name : names) Put(Side::Usb, "In/" + name, "content of " + name, kMonday);
  Put(Side::Usb, "In/Readme.txt", "one", kMonday);
  Put(Side::Usb, "In/README.TXT", "the other", kMonday);
  // A "\" cannot be part of a relative name: this one would share the key of the PC's b/b.txt.
  Put(Side::Usb, "In/b\\b.txt", "the stick's", kMonday);
  Put(Side::Pc, "In/b/b.txt", "the pc's", kMonday);
  Analyse();

  Names expected;  // key -> code
  for (const auto& name : names) expected["In\\" + ProperCase(name)] = "C1";
  expected["In\\Readme.txt"] = "C1";
  expected["In\\B\\B.txt"] = "C2";
  ASSERT_EQ(Codes(), expected);
  EXPECT_TRUE(view.LogHas("logLeftOut " + UsbPath("In/")));
  EXPECT_TRUE(view.LogHas("logBackslash " + UsbPath("In/b\\b.txt")));
  fs.Record(true);
  Run();
  fs.Record(false);
  EXPECT_EQ(session->Fallos, 0);

  for (const auto& name : names) {
    EXPECT_EQ(ReadAll(PcPath("In/" + name)), "content of " + name) << name;
  }
  // Of the two case variants one went across; the other stays on the stick, untouched.
  const Names pcIn = Tree(PcPath("In"));
  EXPECT_EQ(pcIn.count("Readme.txt") + pcIn.count("README.TXT"), 1u);
  EXPECT_EQ(ReadAll(UsbPath("In/Readme.txt")), "one");
  EXPECT_EQ(ReadAll(UsbPath("In/README.TXT")), "the other");

  Names rows = Rows(id);
  for (auto& [key, last] : rows) last = expected.count(key) ? expected[key] : "?";
  EXPECT_EQ(rows, expected) << "the snapshot keys are the scan's";
  for (const auto& call : fs.Journal()) {
    if (call.op != FsOp::Open || call.path.find("/.tandrel-") == std::string::npos) continue;
    EXPECT_TRUE(IsTempCopyName(call.path.substr(call.path.rfind('/') + 1))) << call.path;
  }

  Sync();
  for (const auto& [key, code] : Codes()) EXPECT_EQ(code, "ZZ") << key;
  EXPECT_EQ(ReadAll(UsbPath("In/README.TXT")), "the other") << "a left-out file is never deleted";
  EXPECT_EQ(ReadAll(UsbPath("In/b\\b.txt")), "the stick's");
  EXPECT_EQ(ReadAll(UsbPath("In/b/b.txt")), "the pc's");
  EXPECT_EQ(Tree(UsbPath("In")).size(), names.size() + 4);
}

}  // namespace
}  // namespace tandrel::test
