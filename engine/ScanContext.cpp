#include "engine/ScanContext.h"

#include <algorithm>

#include "core/Platform.h"
#include "core/Public.h"
#include "core/Text.h"

namespace tandrel {

TaskFolders CarpetasDeTarea(const Session& session, const clsTarea& tarea) {
  TaskFolders folders;
  // The stick may be mounted elsewhere on every computer: Left never holds the mount point.
  folders.usb = WithTrailingSlash(
      JoinDriveAndLeft(DriveOf(session.carpetaPrograma, session.mounts), tarea.Left));
  folders.pc = WithTrailingSlash(NativePath(tarea.Right));
  return folders;
}

ScanContext::ScanContext(Session& s, AppView& v, int indice)
    : session(s),
      view(v),
      prefijo("#" + std::to_string(s.Tareas.ITem1(indice).ID) + ": "),
      usb(s.fs, CarpetasDeTarea(s, s.Tareas.ITem1(indice)).usb, false),
      pc(s.fs, CarpetasDeTarea(s, s.Tareas.ITem1(indice)).pc, true) {
  Datos.Indice = static_cast<std::int16_t>(indice);
}

void ScanContext::CarpetaIlegible(const std::string& root, const std::string& folder, int error) {
  HoldBack(root, folder,
           session.W("logUnreadable") + " " + WithoutTrailingSlashes(folder) + ": " +
               ErrorText(error));
}

void ScanContext::FolderReplaced(const std::string& root, const std::string& path) {
  HoldBack(root, path, session.W("logNotAFolder") + " " + path);
}

void ScanContext::HoldBack(const std::string& root, const std::string& folder,
                           const std::string& logLine) {
  if (!avisadas_.insert(folder).second) return;
  EscribeLog(view, prefijo + logLine);

  std::string relative =
      WithTrailingSlash(std::string_view(folder).substr(std::min(root.size(), folder.size())));
  std::replace(relative.begin(), relative.end(), '/', '\\');
  relative = CaseFold(relative);
  if (std::find(ilegibles_.begin(), ilegibles_.end(), relative) == ilegibles_.end()) {
    ilegibles_.push_back(std::move(relative));
  }
}

void ScanContext::ArchivoOmitido(const std::string& ruta) {
  EscribeLog(view, prefijo + session.W("logLeftOut") + " " + ruta);
}

bool ScanContext::BajoCarpetaIlegible(std::string_view nombre) const {
  return BelowAnyFoldedFolder(nombre, ilegibles_);
}

}  // namespace tandrel
