#include "core/clsWords.h"

#include <filesystem>
#include <system_error>

#include "core/Platform.h"
#include "core/Text.h"
#include "core/TextFile.h"

namespace tandrel {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // left by some Windows editors
}  // namespace

clsWords::clsWords(const std::string& carpetaPrograma, std::string_view idioma) {
  Carga(RutaIdioma(carpetaPrograma, idioma));
}

std::string clsWords::RutaIdioma(const std::string& carpetaPrograma, std::string_view idioma) {
  const std::string folder = JoinPath(carpetaPrograma, "Languages");
  const std::string name = Trim(idioma) + ".txt";
  const std::string exact = JoinPath(folder, name);
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;

  // The code may be stored in another case than the file's name ("es" for ES.txt): on a file
  // system that tells case apart the file is still found.
  std::filesystem::directory_iterator it(folder, ec);
  for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (EqualsNoCase(candidate, name)) return JoinPath(folder, candidate);
  }
  return exact;
}

void clsWords::Carga(const std::string& ruta) {
  std::string contents;
  if (!ReadWholeFile(ruta, contents)) return;
  std::string_view text = contents;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  for (const TextLine& raw : SplitLines(text)) {
    const std::string line = Trim(ToValidUtf8(raw.text));
    if (line.empty() || line.front() == ';') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string key = Trim(std::string_view(line).substr(0, equals));
    if (key.empty()) continue;
    // emplace keeps an existing entry: the first occurrence of a key wins.
    words_.emplace(CaseFold(key), clsWord{Trim(std::string_view(line).substr(equals + 1))});
  }
}

std::string clsWords::W(std::string_view id) const {
  if (id.empty()) return {};
  const auto found = words_.find(CaseFold(id));
  if (found == words_.end()) return std::string(id);
  return found->second.Text;
}

}  // namespace tandrel
