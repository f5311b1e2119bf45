#include "engine/CompruebaLados.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/FileSystem.h"
#include "engine/ScanContext.h"
#include "engine/TempNames.h"

namespace tandrel {

namespace {

struct Fallo {
  int error = 0;
  std::string ruta;  // what could not be read, as shown to the user
  bool empty = false;  // the folder was read and is empty
};

Fallo CompruebaLado(FileSystem& fs, const std::string& drive, const std::string& carpeta,
                    bool hayInstantanea) {
  // A folder written on a computer of another kind ("C:\\Docs") names nothing here, and must
  // never be taken for a folder below the current one.
  if (carpeta.empty() || carpeta.front() != '/') return {-ENOENT, WithoutTrailingSlashes(carpeta)};
  std::vector<FolderEntry> scratch;
  const std::string raiz = DriveRoot(drive);
  if (int error = fs.ListFolder(raiz, scratch, false); error != 0) {
    return {error, WithoutTrailingSlashes(raiz)};
  }

  const int error = fs.ListFolder(carpeta, scratch, false);
  if (error == 0 && hayInstantanea &&
      std::all_of(scratch.begin(), scratch.end(),
                  [](const FolderEntry& e) { return IsTempCopyName(e.name); })) {
    // A disk that is not mounted leaves its mount point behind, empty and readable: that must not
    // look like every file of the task deleted on this side.
    return {-ENOENT, WithoutTrailingSlashes(carpeta), true};
  }
  if (error == 0 || (error == -ENOENT && !hayInstantanea)) return {};
  return {error, WithoutTrailingSlashes(carpeta)};
}

}  // namespace

bool CompruebaLados(Session& session, AppView& view, const clsTarea& tarea,
                    const std::string& prefijo) {
  const TaskFolders carpetas = CarpetasDeTarea(session, tarea);
  const bool hayInstantanea = session.Ficheros.Count() > 0;
  const std::string unidades[2] = {DriveOf(session.carpetaPrograma, session.mounts),
                                   DriveOf(carpetas.pc, session.mounts)};
  const std::string* rutas[2] = {&carpetas.usb, &carpetas.pc};

  for (int lado = 0; lado < 2; ++lado) {
    const Fallo fallo = CompruebaLado(session.fs, unidades[lado], *rutas[lado], hayInstantanea);
    if (fallo.error == 0) continue;
    EscribeLog(view, prefijo + "ERROR= " + DriveForDisplay(unidades[lado]));
    view.ShowMessage(MessageIcon::Critical, "Error reading drive",
                     fallo.ruta + ": " +
                         (fallo.empty ? session.W("msgFolderEmpty") : ErrorText(fallo.error)));
    return false;
  }
  return true;
}

}  // namespace tandrel
