// The options dialog over real language folders: which headers are listed and how, which entry is
// selected, what OK stores into the settings and what Cancel leaves.
#include "tests/ui/UiFixture.h"

#include <filesystem>
#include <fstream>

#include "ui/LanguageList.h"
#include "ui/frmOPT.h"

namespace tandrel {
namespace {

using test::Find;

class frmOPTTest : public test::UiFixture {
 protected:
  frmOPTTest() {
    OpenSession();
    std::filesystem::remove_all(Languages());
    std::filesystem::create_directories(Languages());
  }

  std::string Languages() const { return db.Folder() + "/Languages"; }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(Languages() + "/" + name, std::ios::binary) << text;
  }
  std::unique_ptr<frmOPT> Open() {
    auto dialog = std::make_unique<frmOPT>(*session, view);
    dialog->show();
    return dialog;
  }
  static QStringList Entries(QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
    return entries;
  }
};

TEST_F(frmOPTTest, ListsEachFilesHeaderInNameOrder) {
  Write("a.txt", "; comment\r\nkey=text\r\n:de=Deutsch\r\n");             // lower case, third line
  Write("B.txt", ":   EN = English  \n");                                  // spaces after the colon
  Write("C.TXT", ":no header here\r:FR=Français\r");                       // second colon line, CR ends
  Write("D.txt", "\xEF\xBB\xBF:EN=English (United States)\r\n");           // the same code again
  Write("E.txt", "mnuExit=Exit\r\n :XX=indented, not a header\r\n");       // no header
  Write("F.md", ":IT=Italiano\r\n");                                        // not a language file
  std::filesystem::create_directory(Languages() + "/G.txt");               // cannot be read
  session->INI.Language = "en";

  auto dialog = Open();
  auto* combo = Find<QComboBox>(*dialog, "Combo1");
  EXPECT_EQ(Entries(combo), (QStringList{"de=Deutsch", "EN = English", "FR=Français",
                                          "EN=English (United States)"}));
  EXPECT_EQ(combo->currentIndex(), 1);  // the first of the two EN files
  EXPECT_TRUE(view.messages.empty());
}

// OK stores the code in upper case, the path as typed and the box; Cancel leaves all three.
TEST_F(frmOPTTest, OkStoresWhatTheControlsHoldAndCancelLeavesTheSettings) {
  Write("EN.txt", ":EN=English\n");
  Write("de.txt", ":de=Deutsch\n");
  for (const char* button : {"butOK", "butCancel"}) {
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    session->INI.Language = "EN";
    session->INI.DB_DataSource = "data\\db.mdb;";
    session->INI.CompactDataBase = true;
    auto dialog = Open();
    auto* combo = Find<QComboBox>(*dialog, "Combo1");
    EXPECT_EQ(dialog->focusWidget(), combo);
    EXPECT_EQ(combo->currentText(), "EN=English");
    QTest::keyClick(combo, Qt::Key_Up);
    test::TypeText(Find<QLineEdit>(*dialog, "Text1"), "x");
    Find<QCheckBox>(*dialog, "Check1")->click();
    Find<QPushButton>(*dialog, button)->click();
    EXPECT_EQ(dialog->result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(std::tuple(session->INI.Language, session->INI.DB_DataSource, session->INI.CompactDataBase),
              ok ? std::tuple("DE", "data\\db.mdb;x", false) : std::tuple("EN", "data\\db.mdb;", true));
  }
}

TEST_F(frmOPTTest, OnlyAMissingLanguageFolderIsReportedAndTheRestStillWorks) {
  std::filesystem::remove_all(Languages());
  session->INI.Language = "EN";
  auto dialog = Open();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(Find<QComboBox>(*dialog, "Combo1")->count(), 0);
  test::TypeText(Find<QLineEdit>(*dialog, "Text1"), "X");
  Find<QPushButton>(*dialog, "butOK")->click();
  // Nothing selected, nothing to keep; the path is kept all the same.
  EXPECT_EQ(session->INI.Language + "|" + session->INI.DB_DataSource, "|data\\db.mdb;X");

  // An existing folder without language files is no failure: an empty list, no message.
  std::filesystem::create_directories(Languages());
  auto empty = Open();
  EXPECT_EQ(Find<QComboBox>(*empty, "Combo1")->count(), 0);
  EXPECT_EQ(view.messages.size(), 1u);
}

}  // namespace
}  // namespace tandrel
