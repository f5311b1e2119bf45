// Language files are written by translators in any editor: any bytes may be in one. Loading must
// not crash, every text handed out must be valid UTF-8, and the first entry of a key wins whatever
// case the key is looked up in.
#include <cstdint>

#include "core/Text.h"
#include "core/TextFile.h"
#include "core/clsWords.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace tandrel;

struct Entry {
  std::string key, text;
};

// The first line that is an entry (trimmed, not a comment, a non-empty key before an "=").
bool FirstEntry(std::string_view bytes, Entry& entry) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  for (const TextLine& raw : SplitLines(bytes)) {
    const std::string line = Trim(ToValidUtf8(raw.text));
    if (line.empty() || line.front() == ';') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    entry.key = Trim(line.substr(0, equals));
    if (entry.key.empty()) continue;
    entry.text = Trim(line.substr(equals + 1));
    return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& folder = fuzz::ProgramFolder();
  const std::string_view bytes = fuzz::AsText(data, size);
  static const bool made = [&] {
    std::error_code ignored;
    return std::filesystem::create_directories(folder + "/Languages", ignored) || !ignored;
  }();
  FUZZ_CHECK(made);
  FUZZ_CHECK(WriteWholeFile(folder + "/Languages/XX.txt", bytes));

  const clsWords words(folder, " xx ");
  FUZZ_CHECK(words.Count() <= SplitLines(bytes).size());
  FUZZ_CHECK(words.W("").empty());
  for (const char* key : {"mnuExit", ":XX", "panReady", "stN", "logStarting"}) {
    const std::string text = words.W(key);
    FUZZ_CHECK(fuzz::IsValidUtf8(text) || text == key);
    // A missing key comes back as it was asked for.
    const std::string upper = words.W(UpperAscii(key));
    FUZZ_CHECK(upper == text || (text == key && upper == UpperAscii(key)));
  }

  Entry first;
  if (FirstEntry(bytes, first)) {
    FUZZ_CHECK(words.Count() >= 1);
    FUZZ_CHECK(words.W(first.key) == first.text);
    FUZZ_CHECK(words.W(UpperAscii(first.key)) == first.text);
    FUZZ_CHECK(words.W(CaseFold(first.key)) == first.text);
    FUZZ_CHECK(fuzz::IsValidUtf8(first.text));
  } else {
    FUZZ_CHECK(words.Count() == 0);
  }
  return 0;
}
