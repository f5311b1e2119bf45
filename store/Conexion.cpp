#include "store/Conexion.h"

#include <strings.h>

#include "core/Platform.h"
#include "core/Text.h"
#include "core/clsArchivoINI.h"

namespace tandrel {

namespace {

constexpr std::string_view kProvider = "Provider=";
constexpr std::string_view kDataSource = "Data Source=";

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameNoCase(text.substr(0, prefix.size()), prefix);
}

struct PartesConexion {
  std::string provider;
  std::string dataSource;
  bool hayDataSource = false;
};

// The connection text is a list of "key=value;" items. Each value ends at the next ";", except
// that the program folder at the head of the data source is taken whole: a folder name may hold a
// ";" of its own. Items other than the provider and the data source mean nothing to SQLite.
PartesConexion Desglosa(std::string_view texto, std::string_view carpetaPrograma) {
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

void Enlaza(sqlite::Statement& sentencia, const std::vector<SqlValue>& valores) {
  for (std::size_t i = 0; i < valores.size(); ++i) {
    const int n = static_cast<int>(i + 1);
    if (const auto* texto = std::get_if<std::string>(&valores[i])) {
      sentencia.BindText(n, *texto);
    } else if (const auto* entero = std::get_if<std::int64_t>(&valores[i])) {
      sentencia.BindInt(n, *entero);
    } else {
      sentencia.BindNull(n);
    }
  }
}

}  // namespace

std::string TextoConexion(const clsArchivoINI& ini, const std::string& carpetaPrograma) {
  return "Provider=" + ini.DB_Provider + "Data Source=" + carpetaPrograma + "\\" +
         ini.DB_DataSource + ini.DB_Extra;
}

std::string ConectaBD(Conexion& conexion, const clsArchivoINI& ini,
                      const std::string& carpetaPrograma) {
  conexion.Close();
  conexion.path_.clear();
  const std::string texto = TextoConexion(ini, carpetaPrograma);
  const PartesConexion partes = Desglosa(texto, carpetaPrograma);
  // The Jet provider name is the settings' default and stands for the database beside the program,
  // which is a SQLite file here.
  if (!SameNoCase(partes.provider, "Microsoft.Jet.OLEDB.4.0") && !SameNoCase(partes.provider, "SQLite")) {
    return "The database provider \"" + partes.provider +
           "\" is not supported (use \"SQLite;\" or \"Microsoft.Jet.OLEDB.4.0;\")";
  }
  if (!partes.hayDataSource || partes.dataSource.empty()) {
    return "The connection text \"" + texto + "\" names no Data Source";
  }
  const std::string ruta = NativePath(partes.dataSource);
  if (std::string error = conexion.db_.Open(ruta); !error.empty()) return error;
  conexion.path_ = ruta;
  return {};
}

std::string ConsultaValor(Conexion& conexion, std::string_view sql,
                          const std::vector<SqlValue>& valores) {
  if (!conexion.IsOpen()) return {};
  sqlite::Statement sentencia;
  if (!sentencia.Prepare(conexion.Db(), sql).empty()) return {};
  Enlaza(sentencia, valores);
  if (sentencia.Next() != sqlite::Statement::Step::Row) return {};
  if (sentencia.ColumnCount() == 0 || sentencia.IsNull(0)) return {};
  return Trim(sentencia.TextView(0));
}

std::string QuitaPuntoYComa(std::string_view texto) {
  std::string limpio = Trim(texto);
  if (!limpio.empty() && limpio.back() == ';') limpio.pop_back();
  return limpio;
}

std::string ResuelveRutaBD(std::string_view origen, const std::string& carpetaPrograma) {
  if (origen.size() >= 2 && origen[1] == ':') return NativePath(origen);
  if (!origen.empty() && origen.front() == '/') return NativePath(origen);
  if (!origen.empty() && origen.front() == '\\') return NativePath(carpetaPrograma + std::string(origen));
  return NativePath(carpetaPrograma + "\\" + std::string(origen));
}

}  // namespace tandrel
