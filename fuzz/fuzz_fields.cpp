// The stamp shown for a task and the field splitting of keys see texts from the database and the
// settings file. The input is: one byte for the field number, one byte whose low two bits give the
// separator's length, the separator, then the text. No call may crash, a valid UTF-8 text gives a
// valid UTF-8 display, and a text joined from fields splits back into the same fields.
#include <cstdint>
#include <vector>

#include "core/Public.h"
#include "core/Text.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace tandrel;

std::vector<std::string> SplitAtNewlines(std::string_view text) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == '\n') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);

  const std::string shown = FormateaFecha(input);
  FUZZ_CHECK(shown.empty() == input.empty());
  if (fuzz::IsValidUtf8(input)) FUZZ_CHECK(fuzz::IsValidUtf8(shown));
  if (!input.empty()) FUZZ_CHECK(CodePointCount(shown) == std::min<std::size_t>(CodePointCount(input), 14) + 5);

  if (size < 2) return 0;
  const int n = static_cast<std::int8_t>(data[0]);
  const std::size_t separatorLength = std::min<std::size_t>(data[1] & 3u, size - 2);
  const std::string_view separador = input.substr(2, separatorLength);
  const std::string_view cadena = input.substr(2 + separatorLength);

  const std::string field = ExtraeCampo(cadena, separador, n);
  if (n < 1) FUZZ_CHECK(field.empty());
  if (!separador.empty()) FUZZ_CHECK(field.find(separador) == std::string::npos);
  FUZZ_CHECK(field.size() <= cadena.size());

  // Joined with a one-character separator from parts that do not hold it, the parts come back;
  // a last part made only of spaces is lost with the trailing spaces, as the field rule says.
  if (separador.size() != 1 || separador == " ") return 0;
  std::vector<std::string> parts = SplitAtNewlines(cadena);
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::erase(parts[i], separador.front());
    if (i > 0) joined += separador;
    joined += parts[i];
  }
  if (!parts.back().empty() && Trim(parts.back()).empty()) return 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    FUZZ_CHECK(ExtraeCampo(joined, separador, static_cast<int>(i + 1)) == parts[i]);
  }
  FUZZ_CHECK(ExtraeCampo(joined, separador, static_cast<int>(parts.size() + 1)).empty());
  return 0;
}
