// The connection text is built from three hand-editable settings and the program folder. The
// input is the program folder, a line break, then the connection text; without a line break the
// whole input is the text and the program folder is "/x". The parser must not crash, must hand
// out trimmed values, and must give back a provider and a data source exactly as they were put
// into a connection text that ConectaBD would build.
#include <cstdint>

#include "core/Text.h"
#include "fuzz/FuzzSupport.h"
#include "store/ConnectionText.h"

namespace {

using namespace tandrel;

bool IsTrimmed(std::string_view text) { return text.empty() || (text.front() != ' ' && text.back() != ' '); }

std::string Without(std::string_view text, char c) {
  std::string out;
  for (const char x : text) {
    if (x != c) out += x;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const auto newline = input.find('\n');
  const std::string_view folder = newline == std::string_view::npos ? "/x" : input.substr(0, newline);
  const std::string_view text = newline == std::string_view::npos ? input : input.substr(newline + 1);

  const PartesConexion partes = ParseConnectionText(text, folder);
  FUZZ_CHECK(IsTrimmed(partes.provider));
  FUZZ_CHECK(IsTrimmed(partes.dataSource));
  FUZZ_CHECK(partes.hayDataSource || partes.dataSource.empty());
  FUZZ_CHECK(partes.provider.size() <= text.size() && partes.dataSource.size() <= text.size());

  // The same bytes as settings: a provider holds no ";" (it ends the item), the data source may
  // hold one only inside the program folder.
  const std::string provider = Trim(Without(text.substr(0, text.size() / 2), ';'));
  const std::string dataSource = Without(text.substr(text.size() / 2), ';');
  const std::string built = "Provider=" + provider + ";Data Source=" + std::string(folder) + "\\" +
                            dataSource + ";Jet OLEDB:Engine Type=5;";
  const PartesConexion back = ParseConnectionText(built, folder);
  FUZZ_CHECK(back.provider == provider);
  FUZZ_CHECK(back.hayDataSource);
  FUZZ_CHECK(back.dataSource == Trim(std::string(folder) + "\\" + dataSource));
  return 0;
}
