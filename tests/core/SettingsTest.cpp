#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <tuple>

#include "core/clsArchivoINI.h"
#include "tests/support/TempFolder.h"

namespace tandrel {
namespace {

auto Fields(const clsArchivoINI& i) {
  return std::tuple(i.Language, i.WindowState, i.LastEXE, i.DB_Provider, i.DB_DataSource,
                    i.DB_Extra, i.WindowHeight, i.WindowWidth, i.showOKS, i.showFSYNC,
                    i.showCONFLICT, i.CompactDataBase);
}

class Settings : public ::testing::Test {
 protected:
  std::string Ini() const { return folder / "Tandrel.ini"; }
  void Write(std::string_view bytes) const { test::WriteBytes(Ini(), bytes); }
  std::string Read() const { return test::ReadBytes(Ini()); }
  clsArchivoINI Open() const { return clsArchivoINI(folder.path(), "Tandrel"); }
  // One run: read at start, written and tidied at exit.
  void Run() const { (void)Open().Release(); }
  int Mode() const {
    struct stat st {};
    return ::stat(Ini().c_str(), &st) == 0 ? st.st_mode & 0777 : -1;
  }

  test::TempFolder folder, empty;
  const clsArchivoINI defaults{empty.path(), "Tandrel"};
};

// What one run leaves of a file: every key but Extra in tidy form, the user's lines and sections
// kept, an editor's byte-order mark dropped; a second run changes nothing.
TEST_F(Settings, EveryRunLeavesTheSameTidyFile) {
  const std::string general =
      "LastEXE=\r\nWindowState=0\r\nWindowWidth=11295\r\nWindowHeight=8100\r\n";
  const std::string db =
      "Provider=Microsoft.Jet.OLEDB.4.0;\r\nDataSource=data\\db.mdb;\r\nCompactDataBase=-1\r\n";
  const std::string panel = "\r\n[Panel]\r\nbutOKS=0\r\nbutFSYNC=-1\r\nbutCONFLICT=-1\r\n";
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::nullopt, "\r\n[General]\r\nLanguage=EN\r\n" + general + "\r\n[DB]\r\n" + db + panel},
      // Behind blank lines, or twice, it is still the editor's mark.
      {"\r\n \xEF\xBB\xBF\xEF\xBB\xBF[General]\r\nLanguage=ES\r\n",
       "\r\n[General]\r\nLanguage=ES\r\n" + general + "\r\n[DB]\r\n" + db + panel},
      // A flag written by hand as a number or a word; the first of two sections answers.
      {"; by hand\r\r   [General]   \n\n  Language = ES  \r\n WindowState=2\nWindowWidth=+32767\n"
       "\n[DB]\r    Extra=Password=x;\n[Panel]\nbutOKS=0.5\nbutFSYNC=false\n[general]\nLanguage=FR",
       "; by hand\r\n\r\n[General]\r\nLanguage=ES\r\nWindowState=2\r\nWindowWidth=32767\r\n"
       "LastEXE=\r\nWindowHeight=8100\r\n\r\n[DB]\r\nExtra=Password=x;\r\n" + db +
           "\r\n[Panel]\r\nbutOKS=-1\r\nbutFSYNC=0\r\nbutCONFLICT=-1\r\n"
           "\r\n[general]\r\nLanguage=FR\r\n"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before.value_or("no file"));
    std::filesystem::remove(Ini());
    if (before) Write(*before);
    Run();
    EXPECT_EQ(Read(), after);
    Run();
    EXPECT_EQ(Read(), after);
    EXPECT_FALSE(std::filesystem::exists(folder / "Tmp_INI.tmp"));
  }
  // Extra is only ever set by hand: a value set in memory is never written.
  clsArchivoINI ini = Open();
  EXPECT_EQ(ini.Language, "ES");
  ini.DB_Extra = "set in memory";
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Open().DB_Extra, "Password=x;");

  // What is left before a NUL or at the 254-character cut (characters, not bytes) is trimmed like
  // any value: a tab there must not be read by one run and trimmed away by the next.
  std::string manyE;
  for (int i = 0; i < 300; ++i) manyE += "é";
  Write("[general]\n  LANGUAGE   =   ES\t" + std::string(1, '\0') + "junk\n"
        "[DB]\nDataSource=" + manyE + "\n[General]\nLastEXE=" + std::string(253, '2') + "\t3\n");
  const clsArchivoINI first = Open();
  EXPECT_EQ(first.Language + first.LastEXE, "ES" + std::string(253, '2'));
  EXPECT_EQ(first.DB_DataSource, manyE.substr(0, 254 * 2));
  Run();
  EXPECT_EQ(Fields(Open()), Fields(first));
}

TEST_F(Settings, GarbageReadsAsDefaultsAndTakesTheProgramsValues) {
  std::mt19937 random(7);
  const std::string alphabet("[]= ;\r\n\t\xFF\xC3" "GeneralDBPanel\0", 25);
  std::string garbage;
  for (int i = 0; i < 65536; ++i) garbage += alphabet[random() % alphabet.size()];
  // Values that do not convert whole to their field's type leave it as it is.
  const std::string unconvertible = "[Panel]\nbutOKS=yes\nbutFSYNC=1x\n[General]\nWindowWidth="
                                    "-32769\nWindowHeight=0x10\nWindowState=0.5\n";
  for (const std::string& contents : {std::string(), std::string(1 << 20, 'x'), garbage,
                                      unconvertible}) {
    Write(contents);
    clsArchivoINI ini = Open();
    EXPECT_EQ(Fields(ini), Fields(defaults));
    ini.Language = "ES";
    ini.WindowWidth = -1;
    ini.showOKS = true;
    ini.CompactDataBase = false;
    EXPECT_EQ(ini.Release(), "");
    EXPECT_EQ(Fields(Open()), Fields(ini)) << contents.size();
  }
}

// A folder where the file should be stays a folder; a file its owner write-protected (root too) is
// read and never rewritten, and keeps its mode.
TEST_F(Settings, AFileThatCannotBeWrittenStaysAsItWas) {
  std::filesystem::create_directory(Ini());
  clsArchivoINI ini = Open();
  EXPECT_EQ(Fields(ini), Fields(defaults));
  EXPECT_EQ(ini.Release(), "");
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
  std::filesystem::remove(Ini());

  const std::string contents = "[General]\nLanguage=ES\n  [DB]  \n";
  Write(contents);
  ::chmod(Ini().c_str(), 0444);
  ini = Open();
  EXPECT_EQ(ini.Language, "ES");
  ini.Language = "EN";
  const std::string line = ini.WriteProtection();
  EXPECT_NE(line.find(Ini() + "\" is write-protected"), std::string::npos) << line;
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Read(), contents);
}

TEST_F(Settings, AFullDiskLeavesTheOldFileWhole) {
  if (::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  }
  const std::string contents = "[General]\r\nLanguage=ES\r\n[DB]\r\nDataSource=mydata\\db.mdb;\r\n";
  Write(contents);
  ::chmod(Ini().c_str(), 0640);
  test::WriteBytes(folder / "filler", std::string(1 << 20, 'x'));  // cut short at the full disk
  clsArchivoINI ini = Open();
  ini.LastEXE = std::string(200, '2');
  const std::string line = ini.Release();
  EXPECT_NE(line.find(Ini()), std::string::npos) << line;
  EXPECT_EQ(Read(), contents);
  EXPECT_FALSE(std::filesystem::exists(folder / "Tmp_INI.tmp"));
  std::filesystem::remove(folder / "filler");
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Open().LastEXE, std::string(200, '2'));
  EXPECT_EQ(Mode(), 0640);
  ::umount2(folder.path().c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace tandrel
