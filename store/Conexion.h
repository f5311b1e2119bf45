#pragma once
// The one database connection, and the routines that speak to it as text: connect, ask one value,
// compact. SQLite underneath (see store/Sqlite.h for the RAII layer).
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/DatabaseLock.h"
#include "store/Sqlite.h"

namespace tandrel {

class clsArchivoINI;
class MessageSink;

class Conexion {
 public:
  Conexion() = default;
  ~Conexion() { Release(); }
  Conexion(const Conexion&) = delete;
  Conexion& operator=(const Conexion&) = delete;

  bool IsOpen() const { return db_.IsOpen(); }
  // Closes the connection but keeps the lock on the database: the compaction at exit runs under it.
  void Close() { db_.Close(); }
  // Closes the connection and gives up the lock (shutdown's last step).
  void Release() {
    db_.Close();
    lock_.Unlock();
  }
  sqlite::Database& Db() { return db_; }
  const std::string& Path() const { return path_; }
  // This program holds the one-Tandrel lock on the database.
  bool Locked() const { return lock_.Held(); }
  // The last ConectaBD failed because another Tandrel holds the database.
  bool InUse() const { return inUse_; }
  // "" when the database can be written, else the description of why not, naming the file.
  std::string ReadOnlyCause() const;

 private:
  friend std::string ConectaBD(Conexion&, const clsArchivoINI&, const std::string&);
  sqlite::Database db_;
  DatabaseLock lock_;
  std::string path_;
  bool inUse_ = false;
};

// (Re)opens the connection from "Provider=" & DB_Provider & "Data Source=" & program folder & "\" &
// DB_DataSource & DB_Extra. Providers "Microsoft.Jet.OLEDB.4.0;" and "SQLite;" select SQLite; any
// other fails. Opens without create, read-only where the file, its folder or its disk is
// write-protected (see ReadOnlyCause). Takes the one-Tandrel lock first (InUse() when another
// holds it) and checks that every table and column the program uses is there. Returns "" or a
// description naming file and cause.
[[nodiscard]] std::string ConectaBD(Conexion& conexion, const clsArchivoINI& ini,
                                    const std::string& carpetaPrograma);
// The connection text ConectaBD builds, for messages and tests.
std::string TextoConexion(const clsArchivoINI& ini, const std::string& carpetaPrograma);

// Whether a run may write its snapshot now: "" when the database is writable and a write
// transaction could be taken within the busy timeout (and given back at once), else the cause,
// naming the file.
[[nodiscard]] std::string CheckWritable(Conexion& conexion);

using SqlValue = std::variant<std::nullptr_t, std::int64_t, std::string>;

// Runs one statement with bound values; the first column of the first row as trimmed text; the
// empty text on any failure, for no row, for NULL, and for statements that return no row.
[[nodiscard]] std::string ConsultaValor(Conexion& conexion, std::string_view sql,
                          const std::vector<SqlValue>& valores = {});

// "data\db.mdb;" -> "data\db.mdb": trimmed, one trailing ";" removed.
std::string QuitaPuntoYComa(std::string_view texto);
// The compaction's path rule: second character ":" -> as is; an absolute POSIX path -> as is;
// starting with "\" -> program folder & path; else program folder & "\" & path. Native separators.
std::string ResuelveRutaBD(std::string_view origen, const std::string& carpetaPrograma);

// VACUUM INTO destino, the source resolved by ResuelveRutaBD. False (after a warning box naming the
// cause) when destino exists, the source is missing, not a database or write-protected, another
// program has it open at this moment (SQLite's exclusive lock is refused), or anything fails; a
// target the failed compaction created is removed.
[[nodiscard]] bool CompactaBD(std::string_view origen, const std::string& destino,
                              const std::string& carpetaPrograma, MessageSink& mensajes);
// The exit step after a compaction that succeeded: renames destino over the database that origen
// names (resolved as CompactaBD does) in one atomic step, so there is never a moment without a
// database. Refuses a destino that is not a whole database, and a source that another program holds
// or has written since the compaction; on every failure destino (the compaction's own) is removed.
// "" or the error description.
[[nodiscard]] std::string ReemplazaPorCompactado(std::string_view origen, const std::string& destino,
                                                 const std::string& carpetaPrograma);

}  // namespace tandrel
