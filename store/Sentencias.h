#pragma once
// Every statement the program sends to its database, each written in one place with its values
// bound: a quote, a % or an _ in a host name is a plain character and never part of the SQL. Host
// names compare as SQLite's NOCASE does (ASCII letters); task IDs are bound as integers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/clsTarea.h"

namespace tandrel {

class Conexion;
namespace sqlite { class Statement; }

namespace sql {
// Column names are quoted: LEFT and RIGHT are SQL keywords.
inline constexpr std::string_view kColumnasTarea =
    R"("ID", "HOSTNAME", "TYPE", "LEFT", "RIGHT", "LEFTOPT", "RIGHTOPT", "DESCR", "OPTIONS", "LASTEXE")";

// 1
inline constexpr std::string_view kCuentaTareas =
    R"(SELECT count(*) FROM TASKS WHERE "HOSTNAME" = ?1 COLLATE NOCASE)";
// 13: the snapshot row of one file, and (by rowid) the removal of the row a run replaces.
inline constexpr std::string_view kInsertaFichero =
    R"(INSERT INTO FILES ("HOSTNAME", "TASK", "FILE", "CREATION", "SIZE", "LAST", "ACCESS", "STATE", "SYNC") )"
    R"(VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9))";
inline constexpr std::string_view kBorraFichero = "DELETE FROM FILES WHERE rowid = ?1";
// A row replaced in place, the bindings of kInsertaFichero and its rowid: the host and task must be
// the same to the byte, so that the row ends as the insert would have written it.
inline constexpr std::string_view kRenuevaFichero =
    R"(UPDATE FILES SET "FILE" = ?3, "CREATION" = ?4, "SIZE" = ?5, "LAST" = ?6, "ACCESS" = ?7, )"
    R"("STATE" = ?8, "SYNC" = ?9 WHERE rowid = ?10 AND "HOSTNAME" = ?1 AND "TASK" = ?2)";
}  // namespace sql

// A task row with the computer it belongs to, for the lists that span every computer.
struct TareaDeHost {
  std::string HOSTNAME;
  clsTarea Tarea;
};

// 1. The number of tasks of host, as decimal text; "" when the query fails (count that as 0).
std::string CuentaTareas(Conexion& conexion, std::string_view host);

// 2. The tasks of host, ordered by description, appended to tareas. Null or unconvertible columns
// leave the member empty or 0; AutoRun is 1 when OPTIONS holds an upper-case "A". "" or the error.
[[nodiscard]] std::string LeeTareasDeHost(Conexion& conexion, std::string_view host,
                                          std::vector<clsTarea>& tareas);

// 3. Writes HOSTNAME (= hostname), TYPE, LEFT, RIGHT, LEFTOPT, RIGHTOPT, DESCR and OPTIONS of the
// row whose ID is tarea.ID; ID and LASTEXE are never written. No such row: nothing written, "".
[[nodiscard]] std::string GuardaTarea(Conexion& conexion, const clsTarea& tarea,
                                      std::string_view hostname);

// 4. Inserts a task row: HOSTNAME = hostname, TYPE = Tipo, LEFT, RIGHT, LEFTOPT, RIGHTOPT,
// DESCR = Descripcion, OPTIONS, LASTEXE = LastEXE (tarea.ID is ignored). The new ID, which the
// database assigns, or 0 on failure (the description then in *error when given).
[[nodiscard]] std::int64_t InsertaTarea(Conexion& conexion, std::string_view hostname, const clsTarea& tarea,
                          std::string* error = nullptr);

// 5. Every computer's tasks, ordered by HOSTNAME (ties by ID). "" or the error.
[[nodiscard]] std::string LeeTodasLasTareas(Conexion& conexion, std::vector<TareaDeHost>& tareas);

// 6. The task whose ID is id, of whatever computer; tarea stays empty when there is none.
[[nodiscard]] std::string LeeTareaPorId(Conexion& conexion, std::int64_t id,
                                        std::optional<TareaDeHost>& tarea);

// 7. Removes the task row.
[[nodiscard]] std::string BorraTarea(Conexion& conexion, std::int64_t id);
// 8. Removes the task's snapshot rows of every computer.
[[nodiscard]] std::string BorraFicherosDeTarea(Conexion& conexion, std::int64_t id);
// 9. Removes the task's snapshot rows of host only.
[[nodiscard]] std::string BorraFicherosDeHost(Conexion& conexion, std::string_view host,
                                              std::int64_t id);
// 10. Stamps the task's last run (a 14-digit local stamp).
[[nodiscard]] std::string ActualizaLastExe(Conexion& conexion, std::int64_t id,
                                           std::string_view stamp);

// 11. Runs the snapshot query of host and task; filas yields the columns in FicherosColumna order.
// CuentaFicheros counts its rows beforehand (0 on failure), so the records are allocated once.
enum FicherosColumna { kFicRowId, kFicFile, kFicCreation, kFicLast, kFicAccess, kFicSync, kFicSize };
[[nodiscard]] std::string AbreFicheros(Conexion& conexion, std::string_view host, std::int64_t task,
                                       sqlite::Statement& filas);
std::size_t CuentaFicheros(Conexion& conexion, std::string_view host, std::int64_t task);

// 12. Runs the mask query of task 0 and of task; filas yields MASK then POS, in table order.
enum MascarasColumna { kMasMask, kMasPos };
[[nodiscard]] std::string AbreMascaras(Conexion& conexion, std::int64_t task,
                                       sqlite::Statement& filas);

// 14. Runs the comparison query of another computer's snapshot of a task: FILE, SIZE and LAST of
// every row of host and task, read only.
enum PeerSnapshotColumn { kPeerFile, kPeerSize, kPeerLast };
[[nodiscard]] std::string OpenPeerSnapshot(Conexion& conexion, std::string_view host,
                                           std::int64_t task, sqlite::Statement& filas);

// A column as a whole number: an integer, a whole real, or a text that is one (spaces around it
// allowed); nothing for NULL and for anything else.
std::optional<std::int64_t> LeeEntero(const sqlite::Statement& filas, int col);
// A task ID given as decimal text ("12", " 12 "); nothing when it is not a whole number.
std::optional<std::int64_t> IdDeTexto(std::string_view texto);

}  // namespace tandrel
