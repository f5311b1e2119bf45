#include "ui/LanguageList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/Text.h"
#include "core/TextFile.h"

namespace tandrel {

namespace fs = std::filesystem;

std::string CabeceraIdioma(std::string_view contenido) {
  // Editors that save UTF-8 may put a byte-order mark before the first line.
  if (contenido.starts_with("\xEF\xBB\xBF")) contenido.remove_prefix(3);
  for (const TextLine& line : SplitLines(contenido)) {
    if (!line.text.starts_with(':')) continue;
    std::string cabecera = Trim(line.text.substr(1));
    if (cabecera.find('=') != std::string::npos) return cabecera;
  }
  return {};
}

std::optional<std::vector<std::string>> ListaIdiomas(const std::string& carpeta) {
  std::error_code ec;
  fs::directory_iterator it(carpeta, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> nombres;
  while (it != fs::directory_iterator()) {
    const std::string nombre = it->path().filename().string();
    // "*.txt" matches without regard to case, as the listing of the platform it came from did.
    if (nombre.size() >= 4 && EqualsNoCase(std::string_view(nombre).substr(nombre.size() - 4), ".txt")) {
      nombres.push_back(nombre);
    }
    if (it.increment(ec); ec) break;
  }
  std::sort(nombres.begin(), nombres.end(), [](const std::string& a, const std::string& b) {
    const std::string fa = CaseFold(a), fb = CaseFold(b);
    return fa != fb ? fa < fb : a < b;
  });
  std::vector<std::string> entradas;
  for (const std::string& nombre : nombres) {
    std::string contenido;
    if (!ReadWholeFile(carpeta + "/" + nombre, contenido)) continue;
    std::string cabecera = CabeceraIdioma(contenido);
    if (!cabecera.empty()) entradas.push_back(std::move(cabecera));
  }
  return entradas;
}

std::string CodigoIdioma(std::string_view entrada) {
  return UpperAscii(entrada.substr(0, ByteOffsetOfCodePoint(entrada, 3)));
}

}  // namespace tandrel
