#pragma once
// The one database connection, and the routines that speak to it as text: connect, ask one value,
// compact. SQLite underneath (see store/Sqlite.h for the RAII layer).
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/Sqlite.h"

namespace tandrel {

class clsArchivoINI;
class MessageSink;

class Conexion {
 public:
  bool IsOpen() const { return db_.IsOpen(); }
  void Close() { db_.Close(); }
  sqlite::Database& Db() { return db_; }
  const std::string& Path() const { return path_; }

 private:
  friend std::string ConectaBD(Conexion&, const clsArchivoINI&, const std::string&);
  sqlite::Database db_;
  std::string path_;
};

// (Re)opens the connection from "Provider=" & DB_Provider & "Data Source=" & program folder & "\" &
// DB_DataSource & DB_Extra. Providers "Microsoft.Jet.OLEDB.4.0;" and "SQLite;" select SQLite; any
// other fails. Opens read-write without create. Returns "" or a description naming file and cause.
[[nodiscard]] std::string ConectaBD(Conexion& conexion, const clsArchivoINI& ini,
                                    const std::string& carpetaPrograma);
// The connection text ConectaBD builds, for messages and tests.
std::string TextoConexion(const clsArchivoINI& ini, const std::string& carpetaPrograma);

using SqlValue = std::variant<std::nullptr_t, std::int64_t, std::string>;

// Runs one statement with bound values; the first column of the first row as trimmed text; the
// empty text on any failure, for no row, for NULL, and for statements that return no row.
std::string ConsultaValor(Conexion& conexion, std::string_view sql,
                          const std::vector<SqlValue>& valores = {});

// "data\db.mdb;" -> "data\db.mdb": trimmed, one trailing ";" removed.
std::string QuitaPuntoYComa(std::string_view texto);
// The compaction's path rule: second character ":" -> as is; an absolute POSIX path -> as is;
// starting with "\" -> program folder & path; else program folder & "\" & path. Native separators.
std::string ResuelveRutaBD(std::string_view origen, const std::string& carpetaPrograma);

// VACUUM INTO destino, the source resolved by ResuelveRutaBD. False (after a warning box naming the
// cause) when destino exists, the source is missing or not a database, or anything fails; a target
// the failed compaction created is removed.
[[nodiscard]] bool CompactaBD(std::string_view origen, const std::string& destino,
                              const std::string& carpetaPrograma, MessageSink& mensajes);
// The exit step after a compaction that succeeded: renames destino over the database that origen
// names (resolved as CompactaBD does) in one atomic step, so there is never a moment without a
// database. Refuses a destino that is not a whole database. "" or the error description.
[[nodiscard]] std::string ReemplazaPorCompactado(std::string_view origen, const std::string& destino,
                                                 const std::string& carpetaPrograma);

}  // namespace tandrel
