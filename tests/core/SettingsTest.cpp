#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "core/clsArchivoINI.h"
#include "tests/support/TempFolder.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;

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

  test::TempFolder folder, empty;
  const clsArchivoINI defaults{empty.path(), "Tandrel"};
};

// What one run leaves of a file: every key but Extra in tidy form, the user's lines and sections
// kept, an editor's byte-order mark dropped (behind blank lines, or twice, it is still the
// editor's mark); a second run changes nothing.
TEST_F(Settings, EveryRunLeavesTheSameTidyFile) {
  const std::string db =
      "Provider=Microsoft.Jet.OLEDB.4.0;\r\nDataSource=data\\db.mdb;\r\nCompactDataBase=-1\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", "\r\n[General]\r\nLanguage=EN\r\nLastEXE=\r\nWindowState=0\r\nWindowWidth=11295\r\n"
           "WindowHeight=8100\r\n\r\n[DB]\r\n" + db +
           "\r\n[Panel]\r\nbutOKS=0\r\nbutFSYNC=-1\r\nbutCONFLICT=-1\r\n"},
      // A flag written by hand as a number or a word; the first of two sections answers.
      {"\r\n \xEF\xBB\xBF\xEF\xBB\xBF   [General]   \n; by hand\r\r\n  Language = ES  \r\n"
       " WindowState=2\nWindowWidth=+32767\n\n[DB]\r    Extra=Password=x;\n[Panel]\nbutOKS=0.5\n"
       "butFSYNC=false\n[general]\nLanguage=FR",
       "\r\n[General]\r\n; by hand\r\nLanguage=ES\r\nWindowState=2\r\nWindowWidth=32767\r\n"
       "LastEXE=\r\nWindowHeight=8100\r\n\r\n[DB]\r\nExtra=Password=x;\r\n" + db +
           "\r\n[Panel]\r\nbutOKS=-1\r\nbutFSYNC=0\r\nbutCONFLICT=-1\r\n"
           "\r\n[general]\r\nLanguage=FR\r\n"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    fs::remove(Ini());
    if (!before.empty()) Write(before);
    Run();
    EXPECT_EQ(Read(), after);
    Run();
    EXPECT_EQ(Read(), after);
    EXPECT_FALSE(fs::exists(folder / "Tmp_INI.tmp"));
  }
  // Extra is only ever set by hand: a value set in memory is never written.
  clsArchivoINI ini = Open();
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
  for (const std::string& contents : {std::string(1 << 20, 'x'), garbage, unconvertible}) {
    Write(contents);
    clsArchivoINI ini = Open();
    EXPECT_EQ(Fields(ini), Fields(defaults));
    ini.Language = "ES";
    ini.WindowWidth = -1;
    ini.showOKS = true;
    EXPECT_EQ(ini.Release(), "");
    EXPECT_EQ(Fields(Open()), Fields(ini)) << contents.size();
  }
}

// A folder where the file should be stays a folder; a file its owner write-protected (root too) is
// read and never rewritten; on a full disk the old file stays whole and no temporary file is
// left, and once there is room the write goes through and keeps the file's mode.
TEST_F(Settings, AFileThatCannotBeWrittenStaysAsItWas) {
  fs::create_directory(Ini());
  EXPECT_EQ(Fields(Open()), Fields(defaults));
  Run();
  EXPECT_TRUE(fs::is_directory(Ini()));
  fs::remove(Ini());

  const std::string contents = "[General]\r\nLanguage=ES\r\n[DB]\r\nDataSource=mydata\\db.mdb;\r\n";
  Write(contents);
  ::chmod(Ini().c_str(), 0444);
  clsArchivoINI ini = Open();
  ini.LastEXE = std::string(200, '2');
  EXPECT_NE(ini.WriteProtection().find(Ini() + "\" is write-protected"), std::string::npos);
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Read(), contents);

  if (::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  }
  Write(contents);
  ::chmod(Ini().c_str(), 0640);
  test::WriteBytes(folder / "filler", std::string(1 << 20, 'x'));  // cut short at the full disk
  const std::string line = ini.Release();
  EXPECT_NE(line.find(Ini()), std::string::npos) << line;
  EXPECT_EQ(Read(), contents);
  EXPECT_FALSE(fs::exists(folder / "Tmp_INI.tmp"));
  fs::remove(folder / "filler");
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Open().LastEXE, std::string(200, '2'));
  struct stat st {};
  EXPECT_TRUE(::stat(Ini().c_str(), &st) == 0 && (st.st_mode & 0777) == 0640);
  ::umount2(folder.path().c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace tandrel
