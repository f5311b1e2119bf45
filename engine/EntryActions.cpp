#include "engine/EntryActions.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "engine/CopiaArchivo.h"
#include "engine/FileTimes.h"
#include "engine/RunSafety.h"
#include "store/TaskOptions.h"

namespace tandrel {

namespace {

void LogFailure(RunContext& run, const std::string& path, const std::string& reason) {
  EscribeLog(run.view, "** ERROR ** : " + path + ": " + reason);
}

// The copy itself. When the source had to take the time the destination could keep, the source's
// text follows it, so that the snapshot row records the time both copies now have.
bool Copy(RunContext& run, const std::string& origen, const std::string& destino,
          TimeText& sourceModified, std::vector<std::string>& changed, bool seenAbsent = false) {
  changed.push_back(destino);
  std::optional<FileTime> igualado;
  const bool ok =
      CopiaArchivo(run.session, run.view, origen, destino, run.tarea, &igualado, seenAbsent);
  if (igualado) {
    changed.push_back(origen);
    if (ok) sourceModified = FechaArchivo(*igualado);
  }
  return ok;
}

// A file new on one side: created on the other under the real names the source has, inside the
// folders already there. A file that has appeared there since the analysis is never overwritten.
bool CopyNewFile(RunContext& run, const std::string& origen, TimeText& sourceModified,
                 const std::string& sourceRoot, const std::string& targetRoot,
                 std::string_view nombre, std::vector<std::string>& changed) {
  if (origen.empty()) return false;
  bool exists = false;
  const std::string destino = run.destinations.NewFilePath(
      targetRoot, RelativeRealPath(origen, sourceRoot, nombre), exists);
  FileInfo info;
  const int lookup = exists ? 0 : run.session.fs.Stat(destino, info);
  if (lookup != -ENOENT) {
    LogFailure(run, destino, lookup == 0 ? "appeared since the analysis" : ErrorText(lookup));
    return false;
  }
  if (!Copy(run, origen, destino, sourceModified, changed, true)) return false;
  run.destinations.Record(targetRoot, destino);
  return true;
}

// A file on both sides: destino is overwritten only while it is what the analysis saw.
bool OverwriteFile(RunContext& run, const std::string& origen, TimeText& sourceModified,
                   const std::string& destino, SizeText size, TimeText modified,
                   std::vector<std::string>& changed) {
  if (origen.empty() || destino.empty()) return false;
  if (std::string why = ChangedSinceAnalysis(run.session.fs, destino, size.Text(), modified.Text());
      !why.empty()) {
    LogFailure(run, destino, why);
    return false;
  }
  run.destinations.PrepareFolder(ParentFolder(destino));
  return Copy(run, origen, destino, sourceModified, changed);
}

bool DeleteFile(RunContext& run, const std::string& ruta, SizeText size, TimeText modified,
                std::vector<std::string>& changed) {
  if (ruta.empty()) return false;
  changed.push_back(ruta);
  const std::string failure =
      DeleteCheckedFile(run.session.fs, ruta, size.Text(), modified.Text(), run.ignoreReadOnly);
  if (failure.empty()) return true;
  LogFailure(run, ruta, failure);
  return false;
}

}  // namespace

RunContext::RunContext(Session& s, AppView& v, int posicion)
    : session(s),
      view(v),
      tarea(posicion),
      folders(CarpetasDeTarea(s, s.Tareas.ITem1(posicion))),
      ignoreReadOnly(TaskOptions::Of(s.Tareas.ITem1(posicion)).soloLectura),
      destinations(s.fs) {}

std::string RelativeRealPath(const std::string& ruta, const std::string& root,
                             std::string_view nombre) {
  if (!root.empty() && ruta.size() > root.size() && ruta.starts_with(root)) {
    return ruta.substr(root.size());
  }
  // The folder as many levels up as nombre has parts holds the first of them.
  std::string folder = ruta;
  for (auto parts = std::count(nombre.begin(), nombre.end(), '\\') + 1; parts > 0; --parts) {
    folder = ParentFolder(folder);
  }
  if (folder == ".") return ruta;  // fewer folders than parts: all of it
  return ruta.substr(WithTrailingSlash(folder).size());
}

bool PerformAction(RunContext& run, clsArchivo& a, std::vector<std::string>& changed) {
  const ActionMapping* mapping = FindActionMapping(a.Action);
  // "ZZ", the conflicts and anything else: nothing to do, and nothing failed.
  if (mapping == nullptr || mapping->operation == Operation::None) return true;
  const bool fromUsb = mapping->side == FileSide::Usb;
  const auto& ruta = fromUsb ? a.USB_Ruta : a.PC_Ruta;
  const auto& tamano = fromUsb ? a.USB_Tamano : a.PC_Tamano;
  auto& modificado = fromUsb ? a.USB_Modificado : a.PC_Modificado;
  if (mapping->operation == Operation::Delete) return DeleteFile(run, ruta, tamano, modificado, changed);
  const auto& destino = fromUsb ? a.PC_Ruta : a.USB_Ruta;
  // A copy the user chose where the analysis found the other copy too (a conflict settled in the
  // file dialog or by --prefer) overwrites it, as an update does.
  if (mapping->count == CountKind::Copies && destino.empty()) {
    const TaskFolders& roots = run.folders;
    return CopyNewFile(run, ruta, modificado, fromUsb ? roots.usb : roots.pc,
                       fromUsb ? roots.pc : roots.usb, a.Nombre, changed);
  }
  return OverwriteFile(run, ruta, modificado, destino, fromUsb ? a.PC_Tamano : a.USB_Tamano,
                       fromUsb ? a.PC_Modificado : a.USB_Modificado, changed);
}

}  // namespace tandrel
