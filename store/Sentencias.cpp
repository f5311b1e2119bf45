#include "store/Sentencias.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/Text.h"
#include "store/Conexion.h"
#include "store/Sqlite.h"
#include "store/TaskOptions.h"

namespace tandrel {

namespace {

std::string SelectTareas(std::string_view rest) {
  return "SELECT " + std::string(sql::kColumnasTarea) + " FROM TASKS " + std::string(rest);
}

// 2. The task list is sorted by description as the user reads it, so without regard to case; the
// ID after it keeps equal descriptions in a fixed order.
const std::string kTareasDeHost =
    SelectTareas(R"(WHERE "HOSTNAME" = ?1 COLLATE NOCASE ORDER BY "DESCR" COLLATE NOCASE, "ID")");
// 3
constexpr std::string_view kGuardaTarea =
    R"(UPDATE TASKS SET "HOSTNAME" = ?1, "TYPE" = ?2, "LEFT" = ?3, "RIGHT" = ?4, "LEFTOPT" = ?5, )"
    R"("RIGHTOPT" = ?6, "DESCR" = ?7, "OPTIONS" = ?8 WHERE "ID" = ?9)";
// 4
constexpr std::string_view kInsertaTarea =
    R"(INSERT INTO TASKS ("HOSTNAME", "TYPE", "LEFT", "RIGHT", "LEFTOPT", "RIGHTOPT", "DESCR", )"
    R"("OPTIONS", "LASTEXE") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9))";
// 5
const std::string kTodasLasTareas = SelectTareas(R"(ORDER BY "HOSTNAME" COLLATE NOCASE, "ID")");
// 6
const std::string kTareaPorId = SelectTareas(R"(WHERE "ID" = ?1)");
// 7
constexpr std::string_view kBorraTarea = R"(DELETE FROM TASKS WHERE "ID" = ?1)";
// 8
constexpr std::string_view kBorraFicherosDeTarea = R"(DELETE FROM FILES WHERE "TASK" = ?1)";
// 9
constexpr std::string_view kBorraFicherosDeHost =
    R"(DELETE FROM FILES WHERE "HOSTNAME" = ?1 COLLATE NOCASE AND "TASK" = ?2)";
// 10
constexpr std::string_view kActualizaLastExe = R"(UPDATE TASKS SET "LASTEXE" = ?1 WHERE "ID" = ?2)";
// 11. rowid first: a run replaces each row by its identity, never by searching its name.
constexpr std::string_view kFicheros =
    R"(SELECT rowid, "FILE", "CREATION", "LAST", "ACCESS", "SYNC", "SIZE" FROM FILES )"
    R"(WHERE "HOSTNAME" = ?1 COLLATE NOCASE AND "TASK" = ?2)";
constexpr std::string_view kCuentaFicheros =
    R"(SELECT count(*) FROM FILES WHERE "HOSTNAME" = ?1 COLLATE NOCASE AND "TASK" = ?2)";
// 12. In the order the masks were entered.
constexpr std::string_view kMascaras =
    R"(SELECT "MASK", "POS" FROM NODO WHERE "TASK" = 0 OR "TASK" = ?1 ORDER BY rowid)";

// 14. Only the columns a comparison needs: another computer's snapshot is read whole for each
// peer, and most of a row's bytes are in columns nobody looks at here.
constexpr std::string_view kPeerSnapshot =
    R"(SELECT "FILE", "SIZE", "LAST" FROM FILES WHERE "HOSTNAME" = ?1 COLLATE NOCASE AND "TASK" = ?2)";

enum TareaColumna { kId, kHostname, kType, kLeft, kRight, kLeftOpt, kRightOpt, kDescr, kOptions,
                    kLastExe };

TareaDeHost LeeTarea(const sqlite::Statement& filas) {
  TareaDeHost fila;
  fila.HOSTNAME = filas.Text(kHostname);
  clsTarea& t = fila.Tarea;
  t.Descripcion = filas.Text(kDescr);
  t.ID = LeeEntero(filas, kId).value_or(0);
  t.LastEXE = filas.Text(kLastExe);
  t.Left = filas.Text(kLeft);
  t.Right = filas.Text(kRight);
  t.LeftOPT = filas.Text(kLeftOpt);
  t.RightOPT = filas.Text(kRightOpt);
  const auto tipo = LeeEntero(filas, kType);
  if (tipo && *tipo >= std::numeric_limits<std::int16_t>::min() &&
      *tipo <= std::numeric_limits<std::int16_t>::max()) {
    t.Tipo = static_cast<std::int16_t>(*tipo);
  }
  t.OPTIONS = filas.Text(kOptions);
  t.AutoRun = TaskOptions::Of(t).automatica ? 1 : 0;
  return fila;
}

// Prepares sql on the connection; "" or the error.
std::string Prepara(Conexion& conexion, sqlite::Statement& filas, std::string_view sql) {
  if (!conexion.IsOpen()) return "The database is not open";
  return filas.Prepare(conexion.Db(), sql);
}

// Steps every row of a prepared statement through lee; "" or the error.
template <class Lee>
std::string RecorreFilas(sqlite::Statement& filas, Lee lee) {
  for (;;) {
    switch (filas.Next()) {
      case sqlite::Statement::Step::Row: lee(filas); break;
      case sqlite::Statement::Step::Done: return {};
      case sqlite::Statement::Step::Error: return filas.LastError();
    }
  }
}

// Runs a statement that returns no row; "" or the error.
std::string Ejecuta(sqlite::Statement& sentencia) {
  if (sentencia.Next() == sqlite::Statement::Step::Error) return sentencia.LastError();
  return {};
}

// The columns that both the update and the insert of a task write, ?1 to ?8 of both statements.
void BindTaskColumns(sqlite::Statement& s, std::string_view hostname, const clsTarea& tarea) {
  s.BindText(1, hostname);
  s.BindInt(2, tarea.Tipo);
  s.BindText(3, tarea.Left);
  s.BindText(4, tarea.Right);
  s.BindText(5, tarea.LeftOPT);
  s.BindText(6, tarea.RightOPT);
  s.BindText(7, tarea.Descripcion);
  s.BindText(8, tarea.OPTIONS);
}

}  // namespace

std::optional<std::int64_t> IdDeTexto(std::string_view texto) {
  const std::string limpio = Trim(texto);
  std::int64_t valor = 0;
  const char* fin = limpio.data() + limpio.size();
  const auto [resto, ec] = std::from_chars(limpio.data(), fin, valor);
  if (limpio.empty() || ec != std::errc() || resto != fin) return std::nullopt;
  return valor;
}

std::optional<std::int64_t> LeeEntero(const sqlite::Statement& filas, int col) {
  switch (filas.Type(col)) {
    case SQLITE_INTEGER:
      return filas.Int(col);
    case SQLITE_FLOAT: {
      const double real = filas.Real(col);
      if (std::isfinite(real) && real == std::floor(real) && std::fabs(real) < 9.0e18) {
        return static_cast<std::int64_t>(real);
      }
      return std::nullopt;
    }
    case SQLITE_TEXT:
      return IdDeTexto(filas.TextView(col));
    default:
      return std::nullopt;
  }
}

std::string CuentaTareas(Conexion& conexion, std::string_view host) {
  return ConsultaValor(conexion, sql::kCuentaTareas, {std::string(host)});
}

std::string LeeTareasDeHost(Conexion& conexion, std::string_view host,
                            std::vector<clsTarea>& tareas) {
  sqlite::Statement filas;
  if (std::string error = Prepara(conexion, filas, kTareasDeHost); !error.empty()) return error;
  filas.BindText(1, host);
  return RecorreFilas(filas, [&](const sqlite::Statement& f) { tareas.push_back(LeeTarea(f).Tarea); });
}

std::string GuardaTarea(Conexion& conexion, const clsTarea& tarea, std::string_view hostname) {
  sqlite::Statement s;
  if (std::string error = Prepara(conexion, s, kGuardaTarea); !error.empty()) return error;
  BindTaskColumns(s, hostname, tarea);
  s.BindInt(9, tarea.ID);
  return Ejecuta(s);
}

std::int64_t InsertaTarea(Conexion& conexion, std::string_view hostname, const clsTarea& tarea,
                          std::string* error) {
  sqlite::Statement s;
  std::string fallo = Prepara(conexion, s, kInsertaTarea);
  if (fallo.empty()) {
    BindTaskColumns(s, hostname, tarea);
    s.BindText(9, tarea.LastEXE);
    fallo = Ejecuta(s);
  }
  if (error != nullptr) *error = fallo;
  // ID is the table's INTEGER PRIMARY KEY, so the rowid of the insert is the new ID.
  return fallo.empty() ? conexion.Db().LastInsertRowId() : 0;
}

std::string LeeTodasLasTareas(Conexion& conexion, std::vector<TareaDeHost>& tareas) {
  sqlite::Statement filas;
  if (std::string error = Prepara(conexion, filas, kTodasLasTareas); !error.empty()) return error;
  return RecorreFilas(filas, [&](const sqlite::Statement& f) { tareas.push_back(LeeTarea(f)); });
}

std::string LeeTareaPorId(Conexion& conexion, std::int64_t id, std::optional<TareaDeHost>& tarea) {
  tarea.reset();
  sqlite::Statement filas;
  if (std::string error = Prepara(conexion, filas, kTareaPorId); !error.empty()) return error;
  filas.BindInt(1, id);
  return RecorreFilas(filas, [&](const sqlite::Statement& f) {
    if (!tarea) tarea = LeeTarea(f);
  });
}

std::string BorraTarea(Conexion& conexion, std::int64_t id) {
  sqlite::Statement s;
  if (std::string error = Prepara(conexion, s, kBorraTarea); !error.empty()) return error;
  s.BindInt(1, id);
  return Ejecuta(s);
}

std::string BorraFicherosDeTarea(Conexion& conexion, std::int64_t id) {
  sqlite::Statement s;
  if (std::string error = Prepara(conexion, s, kBorraFicherosDeTarea); !error.empty()) return error;
  s.BindInt(1, id);
  return Ejecuta(s);
}

std::string BorraFicherosDeHost(Conexion& conexion, std::string_view host, std::int64_t id) {
  sqlite::Statement s;
  if (std::string error = Prepara(conexion, s, kBorraFicherosDeHost); !error.empty()) return error;
  s.BindText(1, host);
  s.BindInt(2, id);
  return Ejecuta(s);
}

std::string ActualizaLastExe(Conexion& conexion, std::int64_t id, std::string_view stamp) {
  sqlite::Statement s;
  if (std::string error = Prepara(conexion, s, kActualizaLastExe); !error.empty()) return error;
  s.BindText(1, stamp);
  s.BindInt(2, id);
  return Ejecuta(s);
}

std::string AbreFicheros(Conexion& conexion, std::string_view host, std::int64_t task,
                         sqlite::Statement& filas) {
  if (std::string error = Prepara(conexion, filas, kFicheros); !error.empty()) return error;
  filas.BindText(1, host);
  filas.BindInt(2, task);
  return {};
}

std::size_t CuentaFicheros(Conexion& conexion, std::string_view host, std::int64_t task) {
  const auto n = IdDeTexto(ConsultaValor(conexion, kCuentaFicheros, {std::string(host), task}));
  return n && *n > 0 ? static_cast<std::size_t>(*n) : 0;
}

std::string AbreMascaras(Conexion& conexion, std::int64_t task, sqlite::Statement& filas) {
  if (std::string error = Prepara(conexion, filas, kMascaras); !error.empty()) return error;
  filas.BindInt(1, task);
  return {};
}

std::string OpenPeerSnapshot(Conexion& conexion, std::string_view host, std::int64_t task,
                             sqlite::Statement& filas) {
  if (std::string error = Prepara(conexion, filas, kPeerSnapshot); !error.empty()) return error;
  filas.BindText(1, host);
  filas.BindInt(2, task);
  return {};
}

}  // namespace tandrel
