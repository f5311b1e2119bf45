#include "store/Conexion.h"

#include <strings.h>

#include "core/Platform.h"
#include "core/Text.h"
#include "core/clsArchivoINI.h"
#include "store/ConnectionText.h"
#include "store/SchemaCheck.h"

namespace tandrel {

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
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
  conexion.Release();
  conexion.path_.clear();
  conexion.inUse_ = false;
  const std::string texto = TextoConexion(ini, carpetaPrograma);
  const PartesConexion partes = ParseConnectionText(texto, carpetaPrograma);
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
  // Before SQLite opens it: a second program must not even roll back a journal the first is using.
  if (conexion.lock_.Lock(ruta) == DatabaseLock::Result::InUse) {
    conexion.inUse_ = true;
    return "The database \"" + ruta + "\" is in use by another Tandrel";
  }
  std::string error = conexion.db_.Open(ruta);
  if (error.empty()) {
    if (std::string schema = CheckSchema(conexion.db_); !schema.empty()) {
      error = "Cannot use the database \"" + ruta + "\": " + schema;
    }
  }
  if (!error.empty()) {
    conexion.Release();
    return error;
  }
  conexion.path_ = ruta;
  return {};
}

std::string Conexion::ReadOnlyCause() const {
  if (db_.ReadOnlyCause().empty()) return {};
  return "The database \"" + path_ + "\" is read-only: changes cannot be recorded (" +
         db_.ReadOnlyCause() + ")";
}

std::string CheckWritable(Conexion& conexion) {
  if (!conexion.IsOpen()) return "The database is not open";
  if (std::string cause = conexion.ReadOnlyCause(); !cause.empty()) return cause;
  // Inside a batch the write lock is held already.
  if (sqlite3_get_autocommit(conexion.Db().Handle()) == 0) return {};
  std::string error = conexion.Db().Exec("BEGIN IMMEDIATE");
  if (error.empty()) error = conexion.Db().Exec("ROLLBACK");
  if (error.empty()) return {};
  return "The database \"" + conexion.Path() + "\" cannot be written now: " + error;
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
