// The settings file is edited by hand and travels between computers: any bytes may be in it.
// One run (read at start, written and tidied at exit) must not crash, must write back every value
// as it was read, and a second run over its result must change nothing.
#include <cstdint>
#include <tuple>

#include "core/TextFile.h"
#include "core/clsArchivoINI.h"
#include "core/modArchivoINI.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace tandrel;

auto Fields(const clsArchivoINI& i) {
  return std::tuple(i.Language, i.WindowState, i.LastEXE, i.DB_Provider, i.DB_DataSource, i.DB_Extra,
                    i.WindowHeight, i.WindowWidth, i.showOKS, i.showFSYNC, i.showCONFLICT,
                    i.CompactDataBase);
}

std::string Contents(const std::string& path) {
  std::string contents;
  FUZZ_CHECK(ReadWholeFile(path, contents));
  return contents;
}

// The tidy form: CR LF after every line, no blank line except one right before each section
// header, no space at either end of a line.
bool IsTidy(std::string_view text) {
  const std::vector<TextLine> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i].text;
    if (lines[i].end != "\r\n") return false;
    if (line.empty()) {
      if (i + 1 == lines.size() || lines[i + 1].text.empty() || lines[i + 1].text.front() != '[') return false;
    } else if (line.front() == ' ' || line.back() == ' ') {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& folder = fuzz::ProgramFolder();
  const std::string ini = folder + "/Tandrel.ini";
  FUZZ_CHECK(WriteWholeFile(ini, fuzz::AsText(data, size)));

  clsArchivoINI first(folder, "Tandrel");
  const auto read = Fields(first);
  (void)first.Release();
  const std::string once = Contents(ini);
  FUZZ_CHECK(IsTidy(once));

  clsArchivoINI second(folder, "Tandrel");
  FUZZ_CHECK(Fields(second) == read);
  (void)second.Release();
  FUZZ_CHECK(Contents(ini) == once);

  // The tidying pass alone, straight over the bytes as they came.
  FUZZ_CHECK(WriteWholeFile(ini, fuzz::AsText(data, size)));
  LimpiaINI(ini, folder);
  const std::string tidy = Contents(ini);
  FUZZ_CHECK(IsTidy(tidy));
  LimpiaINI(ini, folder);
  FUZZ_CHECK(Contents(ini) == tidy);
  return 0;
}
