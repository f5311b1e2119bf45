// Compaction of the database file at exit: a fresh copy by VACUUM INTO, checked whole before it may
// take the database's place.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <tuple>

#include "core/Platform.h"
#include "core/Public.h"
#include "core/UserInterface.h"
#include "store/Conexion.h"

namespace tandrel {

namespace {

bool Existe(const std::string& ruta) {
  struct stat st {};
  return ::lstat(ruta.c_str(), &st) == 0;
}

// The data of a file (or the entries of a folder) on the medium: the stick may be pulled the
// moment the program has closed.
bool Sincroniza(const std::string& ruta) {
  const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// "" when the file opens as a database and SQLite finds every page of it sound.
std::string CompruebaEntera(const std::string& ruta) {
  sqlite::Database db;
  if (std::string error = db.Open(ruta); !error.empty()) return error;
  sqlite::Statement check;
  if (std::string error = check.Prepare(db, "PRAGMA integrity_check"); !error.empty()) return error;
  if (check.Next() != sqlite::Statement::Step::Row) return check.LastError();
  const std::string resultado = check.Text(0);
  if (resultado != "ok") return "The database \"" + ruta + "\" is damaged: " + resultado;
  return {};
}

// The process id of another program that holds the file open, or 0. SQLite's locks are held only
// while a statement runs, so an idle client (a database browser left open) holds none; after the
// rename its next write would go to the old file. Linux names every open file under /proc; the
// processes of other users are not visible there without root, and are not found.
long OtherProcessWithFileOpen(const std::string& ruta) {
#ifdef __linux__
  struct stat objetivo {};
  if (::stat(ruta.c_str(), &objetivo) != 0) return 0;
  const long yo = static_cast<long>(::getpid());
  std::unique_ptr<DIR, int (*)(DIR*)> procesos(::opendir("/proc"), &::closedir);
  if (!procesos) return 0;
  while (const dirent* proceso = ::readdir(procesos.get())) {
    char* fin = nullptr;
    const long pid = std::strtol(proceso->d_name, &fin, 10);
    if (*fin != '\0' || pid <= 0 || pid == yo) continue;
    const std::string carpeta = "/proc/" + std::string(proceso->d_name) + "/fd";
    std::unique_ptr<DIR, int (*)(DIR*)> descriptores(::opendir(carpeta.c_str()), &::closedir);
    if (!descriptores) continue;
    while (const dirent* fd = ::readdir(descriptores.get())) {
      if (fd->d_name[0] == '.') continue;
      struct stat st {};
      if (::stat((carpeta + "/" + fd->d_name).c_str(), &st) == 0 && st.st_dev == objetivo.st_dev &&
          st.st_ino == objetivo.st_ino) {
        return pid;
      }
    }
  }
#endif
  return 0;
}

// Holds SQLite's exclusive lock on the database for as long as db stays open, or says who has it.
// Only a database no other program is reading or writing at this moment may be copied and
// replaced: a write that came later would go to the old file and be lost with it.
std::string TakeExclusiveLock(sqlite::Database& db, const std::string& ruta) {
  if (const long pid = OtherProcessWithFileOpen(ruta); pid != 0) {
    return "Another program (process " + std::to_string(pid) + ") has \"" + ruta + "\" open.";
  }
  sqlite3_busy_timeout(db.Handle(), 0);
  std::string error = db.Exec("PRAGMA locking_mode=EXCLUSIVE");
  if (error.empty()) error = db.Exec("BEGIN EXCLUSIVE");
  if (error.empty()) error = db.Exec("COMMIT");
  if (error.empty()) return {};
  return "Another program is using \"" + ruta + "\" at this moment (" + error + ").";
}

// "" when the program may replace the file at ruta, which db has open.
std::string MayReplace(sqlite::Database& db, const std::string& ruta) {
  if (!db.ReadOnlyCause().empty()) {
    return "\"" + ruta + "\" is read-only (" + db.ReadOnlyCause() + ") and is left as it is.";
  }
  return TakeExclusiveLock(db, ruta);
}

std::string Compacta(const std::string& fuente, const std::string& destino) {
  // A leftover copy is the user's to look at: it is never overwritten or removed here.
  if (Existe(destino)) {
    return "The database was not compacted: the file \"" + destino +
           "\" already exists (left by an interrupted compaction?). Remove it to compact again.";
  }
  std::string error;
  {
    sqlite::Database db;
    error = db.Open(fuente);
    if (error.empty()) error = MayReplace(db, fuente);
    if (error.empty()) {
      sqlite::Statement vacuum;
      error = vacuum.Prepare(db, "VACUUM INTO ?1");
      if (error.empty()) {
        vacuum.BindText(1, destino);
        if (vacuum.Next() == sqlite::Statement::Step::Error) error = vacuum.LastError();
      }
    }
  }
  if (error.empty()) error = CompruebaEntera(destino);
  if (error.empty() && !Sincroniza(destino)) {
    error = "Cannot write \"" + destino + "\" to the disk: " + std::strerror(errno);
  }
  if (!error.empty()) {
    // It did not exist when we began, so whatever is there now is our own unfinished copy.
    if (Existe(destino)) std::remove(destino.c_str());
    return "The database was not compacted. " + error;
  }
  return {};
}

}  // namespace

bool CompactaBD(std::string_view origen, const std::string& destino,
                const std::string& carpetaPrograma, MessageSink& mensajes) {
  const std::string error = Compacta(ResuelveRutaBD(origen, carpetaPrograma), NativePath(destino));
  if (error.empty()) return true;
  mensajes.ShowMessage(MessageIcon::Warning, kTitulo, error);
  return false;
}

std::string ReemplazaPorCompactado(std::string_view origen, const std::string& destino,
                                   const std::string& carpetaPrograma) {
  const std::string fuente = ResuelveRutaBD(origen, carpetaPrograma);
  const std::string copia = NativePath(destino);
  // The copy is this exit's own: left behind, it would stop every later compaction.
  const auto falla = [&](const std::string& causa) {
    std::remove(copia.c_str());
    return "The compacted database was not put in place. " + causa;
  };
  if (std::string error = CompruebaEntera(copia); !error.empty()) return falla(error);
  // A journal left beside the database belongs to the old file; rolled back into the new one it
  // would damage it.
  struct stat st {};
  if (::stat((fuente + "-journal").c_str(), &st) == 0 && st.st_size > 0) {
    return falla("\"" + fuente + "-journal\" holds changes not yet rolled back.");
  }
  {
    // Held until the copy has taken the name, so that no write falls in between.
    sqlite::Database db;
    std::string error = db.Open(fuente);
    if (error.empty()) error = MayReplace(db, fuente);
    if (!error.empty()) return falla(error);
    struct stat copiaSt {};
    if (::stat(fuente.c_str(), &st) != 0 || ::stat(copia.c_str(), &copiaSt) != 0 ||
        std::tie(st.st_mtim.tv_sec, st.st_mtim.tv_nsec) >
            std::tie(copiaSt.st_mtim.tv_sec, copiaSt.st_mtim.tv_nsec)) {
      return falla("\"" + fuente + "\" was written by another program after it was compacted.");
    }
    if (::rename(copia.c_str(), fuente.c_str()) != 0) {
      return falla("Cannot rename \"" + copia + "\" to \"" + fuente + "\": " +
                   std::strerror(errno));
    }
  }
  Sincroniza(ParentFolder(fuente));
  return {};
}

}  // namespace tandrel
