#include "store/ConnectionText.h"

#include <strings.h>

#include <algorithm>

#include "core/Text.h"

namespace tandrel {

namespace {

constexpr std::string_view kProvider = "Provider=";
constexpr std::string_view kDataSource = "Data Source=";

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && ::strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

// Items other than the provider and the data source mean nothing to SQLite.
PartesConexion ParseConnectionText(std::string_view texto, std::string_view carpetaPrograma) {
  PartesConexion partes;
  std::size_t i = 0;
  while (i < texto.size()) {
    const std::string_view resto = texto.substr(i);
    std::size_t inicioValor = std::string_view::npos;
    std::size_t saltoCarpeta = 0;
    const bool esProvider = StartsNoCase(resto, kProvider);
    const bool esDataSource = !esProvider && StartsNoCase(resto, kDataSource);
    if (esProvider) inicioValor = kProvider.size();
    if (esDataSource) {
      inicioValor = kDataSource.size();
      if (resto.substr(inicioValor).starts_with(carpetaPrograma)) saltoCarpeta = carpetaPrograma.size();
    }
    const std::size_t buscaDesde = (inicioValor == std::string_view::npos ? 0 : inicioValor) + saltoCarpeta;
    const std::size_t fin = std::min(resto.find(';', buscaDesde), resto.size());
    if (esProvider) partes.provider = Trim(resto.substr(inicioValor, fin - inicioValor));
    if (esDataSource) {
      partes.dataSource = Trim(resto.substr(inicioValor, fin - inicioValor));
      partes.hayDataSource = true;
    }
    i += fin + 1;
  }
  return partes;
}

}  // namespace tandrel
