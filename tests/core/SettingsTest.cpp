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
#include "core/modArchivoINI.h"
#include "tests/support/TempFolder.h"

namespace tandrel {
namespace {

auto Fields(const clsArchivoINI& i) {
  return std::tuple(i.Language, i.WindowState, i.LastEXE, i.DB_Provider, i.DB_DataSource,
                    i.WindowHeight, i.WindowWidth, i.showOKS, i.showFSYNC, i.showCONFLICT,
                    i.CompactDataBase);
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
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

TEST_F(Settings, FirstRunWritesEveryKeyButExtraInTidyForm) {
  Run();
  EXPECT_EQ(Read(),
            "\r\n[General]\r\nLanguage=EN\r\nLastEXE=\r\nWindowState=0\r\nWindowWidth=11295\r\n"
            "WindowHeight=8100\r\n\r\n[DB]\r\nProvider=Microsoft.Jet.OLEDB.4.0;\r\n"
            "DataSource=data\\db.mdb;\r\nCompactDataBase=-1\r\n\r\n[Panel]\r\nbutOKS=0\r\n"
            "butFSYNC=-1\r\nbutCONFLICT=-1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "Tmp_INI.tmp"));
  EXPECT_EQ(Fields(Open()), Fields(defaults));

  Write("[General]\nLanguage=ES\n");
  clsArchivoINI ini = Open();
  EXPECT_EQ(ini.Language, "ES");
  ini.Language = "EN";
  EXPECT_EQ(Fields(ini), Fields(defaults));
  Write("[General]\nLanguage=\n");
  EXPECT_EQ(Open().Language, "EN");
}

TEST_F(Settings, ValuesThatDoNotConvertKeepTheDefault) {
  const std::tuple<const char*, std::optional<bool>, std::optional<std::int16_t>> cases[] = {
      {"0", false, 0},     {"-1", true, -1},        {"7", true, 7},
      {"0.5", true, {}},   {"True", true, {}},      {"FALSE", false, {}},
      {"yes", {}, {}},     {"-", {}, {}},           {"1x", {}, {}},
      {"32767", true, 32767}, {"-32769", true, {}}, {"0x10", {}, {}},
  };
  for (const auto& [text, flag, number] : cases) {
    Write(std::string("[Panel]\nbutOKS=") + text + "\nbutFSYNC = " + text +
          "\n[General]\nWindowWidth=" + text + "\n");
    const clsArchivoINI ini = Open();
    EXPECT_EQ(ini.showOKS, flag.value_or(false)) << text;
    EXPECT_EQ(ini.showFSYNC, flag.value_or(true)) << text;
    EXPECT_EQ(ini.WindowWidth, number.value_or(11295)) << text;
  }
  Write("[Panel]\nbutOKS=1\nbutFSYNC=false\n");
  Run();
  EXPECT_EQ(Count(Read(), "butOKS=-1\r\nbutFSYNC=0\r\n"), 1u);
}

TEST_F(Settings, TextsAreReadAsWrittenTrimmedAndCut) {
  Write("[general]\n  LANGUAGE   =   ES   \n; Provider=commented\n[db]\nprovider=SQLite;\n"
        "DataSource = \"C:\\My Data\\db.mdb\";  \nExtra=Password=secret;#x\n");
  const clsArchivoINI ini = Open();
  EXPECT_EQ(ini.Language, "ES");
  EXPECT_EQ(ini.DB_Provider, "SQLite;");
  EXPECT_EQ(ini.DB_DataSource, "\"C:\\My Data\\db.mdb\";");
  EXPECT_EQ(ini.DB_Extra, "Password=secret;#x");

  std::string manyE;
  for (int i = 0; i < 300; ++i) manyE += "é";
  Write("[General]\nA=" + std::string(300, 'x') + "\nB=" + manyE + "\nC=" + std::string(253, 'a') +
        "  b\nD=E" + std::string(1, '\0') + "S\n");
  EXPECT_EQ(LeeClave("General/A", Ini()), std::string(254, 'x'));
  EXPECT_EQ(LeeClave("General/B", Ini()), manyE.substr(0, 254 * 2));  // characters, not bytes
  EXPECT_EQ(LeeClave("General/C", Ini()), std::string(253, 'a'));
  EXPECT_EQ(LeeClave("General/D", Ini()), "E");
  EXPECT_EQ(LeeClave("Nowhere/A", Ini()), "");
}

// What is left before a NUL or at the 254-character cut is trimmed like any value: a tab there must
// not be read by one run and trimmed away by the next.
TEST_F(Settings, AValueReadsTheSameInEveryRun) {
  Write("[General]\nLanguage=ES\t" + std::string(1, '\0') + "junk\nLastEXE=" + std::string(253, '2') +
        "\t3\n");
  const clsArchivoINI first = Open();
  EXPECT_EQ(first.Language, "ES");
  EXPECT_EQ(first.LastEXE, std::string(253, '2'));
  Run();
  EXPECT_EQ(Fields(Open()), Fields(first));
}

TEST_F(Settings, ExtraSetByHandSurvivesEveryRunAndIsNeverAdded) {
  Write("[DB]\nExtra = Password=secret;\n");
  for (int run = 0; run < 3; ++run) Run();
  EXPECT_EQ(Count(Read(), "\r\nExtra = Password=secret;\r\n"), 1u);

  Write("[DB]\nProvider=SQLite;\n");
  clsArchivoINI ini = Open();
  ini.DB_Extra = "set in memory";
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Count(Read(), "Extra"), 0u);
}

TEST_F(Settings, HandWrittenFileWithAnyLineEndsComesBackTidy) {
  Write("; by hand\r\r   [General]   \n\n  Language = ES  \r\n WindowState=2\n\n\n[DB]\r"
        "    Extra=Password=x;\n[Panel]\nbutOKS=-1");
  Run();
  EXPECT_EQ(Read(),
            "; by hand\r\n\r\n[General]\r\nLanguage=ES\r\nWindowState=2\r\nLastEXE=\r\n"
            "WindowWidth=11295\r\nWindowHeight=8100\r\n\r\n[DB]\r\nExtra=Password=x;\r\n"
            "Provider=Microsoft.Jet.OLEDB.4.0;\r\nDataSource=data\\db.mdb;\r\n"
            "CompactDataBase=-1\r\n\r\n[Panel]\r\nbutOKS=-1\r\nbutFSYNC=-1\r\nbutCONFLICT=-1\r\n");

  EXPECT_EQ(LimpiaINI(folder / "missing.ini", folder.path()), "");
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.ini"));
  EXPECT_FALSE(std::filesystem::exists(folder / "Tmp_INI.tmp"));
}

TEST_F(Settings, WritingChangesOneLineAndKeepsEveryOther) {
  Write("[General]\nLanguage=ES\nlanguage=DE\n\n[Panel]\nbutOKS=-1\n[GENERAL]\nLanguage=FR\n"
        "WindowState=2\n[Panel]\nbutOKS=0\n");
  EXPECT_EQ(Open().Language, "ES");  // the first occurrence answers
  EXPECT_EQ(Open().WindowState, 2);
  EXPECT_TRUE(Open().showOKS);

  EXPECT_TRUE(EscribeClave("General/Language", "PT", Ini()));
  EXPECT_TRUE(EscribeClave("General/LastEXE", "20240307093005", Ini()));
  EXPECT_TRUE(EscribeClave("DB/Provider", "SQLite;", Ini()));
  EXPECT_EQ(Read(),
            "[General]\nLanguage=PT\nlanguage=DE\nLastEXE=20240307093005\n\n[Panel]\nbutOKS=-1\n"
            "[GENERAL]\nLanguage=FR\nWindowState=2\n[Panel]\nbutOKS=0\n[DB]\nProvider=SQLite;\n");
}

TEST_F(Settings, GarbageReadsAsDefaultsAndTakesTheProgramsValues) {
  std::mt19937 random(7);
  std::string alphabet = "[]= ;\r\n\t\xFF\xC3" "GeneralDBPanel";
  alphabet += '\0';
  std::string garbage;
  for (int i = 0; i < 65536; ++i) garbage += alphabet[random() % alphabet.size()];

  for (const std::string& contents : {std::string(), std::string(1 << 20, 'x'), garbage}) {
    Write(contents);
    clsArchivoINI ini = Open();
    ini.Language = "ES";
    ini.LastEXE = "20240307093005";
    ini.WindowWidth = -1;
    ini.showOKS = true;
    ini.CompactDataBase = false;
    const auto expected = Fields(ini);
    EXPECT_EQ(ini.Release(), "");
    EXPECT_EQ(Fields(Open()), expected) << contents.size();
  }
}

TEST_F(Settings, AFileThatCannotBeWrittenFailsQuietly) {
  std::filesystem::create_directory(Ini());  // a folder where the file should be
  clsArchivoINI ini = Open();
  EXPECT_EQ(Fields(ini), Fields(defaults));
  (void)ini.Release();
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
  EXPECT_FALSE(EscribeClave("General/Language", "ES", Ini()));
  EXPECT_FALSE(EscribeClave("General/Language", "ES", folder / "missing/Tandrel.ini"));
}

// A mark from an editor must not hide the first section (nor add a second one at exit).
TEST_F(Settings, AByteOrderMarkIsSkippedAndNotWrittenBack) {
  Write("\xEF\xBB\xBF[General]\r\nLanguage=ES\r\nLastEXE=20240307093005\r\n");
  EXPECT_EQ(Open().Language, "ES");
  EXPECT_EQ(Open().LastEXE, "20240307093005");
  Run();
  EXPECT_EQ(Read().rfind("\r\n[General]\r\nLanguage=ES\r\nLastEXE=20240307093005\r\n", 0), 0u);
  EXPECT_EQ(Count(Read(), "[General]"), 1u);

  // Behind blank lines, or twice, it is still the editor's mark: a second start changes nothing.
  Write("\r\n \xEF\xBB\xBF\xEF\xBB\xBF[General]\r\nLanguage=ES\r\n");
  EXPECT_EQ(Open().Language, "ES");
  Run();
  const std::string once = Read();
  EXPECT_EQ(once.find("\xEF\xBB\xBF"), std::string::npos) << once;
  Run();
  EXPECT_EQ(Read(), once);
}

// The owner-write bit is the user's word, also for root (who could write the file anyway).
TEST_F(Settings, AWriteProtectedFileIsReadAndNeverRewritten) {
  const std::string contents = "[General]\nLanguage=ES\n  [DB]  \n";
  Write(contents);
  ::chmod(Ini().c_str(), 0444);
  clsArchivoINI ini = Open();
  EXPECT_EQ(ini.Language, "ES");
  ini.Language = "EN";
  const std::string line = ini.WriteProtection();
  EXPECT_NE(line.find(Ini()), std::string::npos) << line;
  EXPECT_NE(line.find("write-protected"), std::string::npos) << line;
  EXPECT_EQ(ini.Release(), "");
  EXPECT_EQ(Read(), contents);
  struct stat st {};
  ASSERT_EQ(::stat(Ini().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

// A full stick: the settings and the tidy pass fail, and the old file stays whole under its name.
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
  struct stat st {};
  EXPECT_EQ(::stat(Ini().c_str(), &st) == 0 ? st.st_mode & 0777 : 0u, 0640u);  // mode kept
  ::umount2(folder.path().c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace tandrel
