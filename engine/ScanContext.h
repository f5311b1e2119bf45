#pragma once
// What one scan of one task carries from folder to folder: the session and view, the task's log
// prefix, the top-level task context, the lookup caches of both sides, and what it passed over or
// could not read. Lives for one call of AnalizaCarpetas.
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/AppView.h"
#include "engine/DatosTarea.h"
#include "engine/FolderCache.h"
#include "engine/Session.h"

namespace tandrel {

// The task's two folders as real paths ending in "/": the USB folder is the drive of the program
// folder followed by Left, the PC folder is Right. An empty text stays empty, so that it can never
// be taken for the root or the current folder.
struct TaskFolders {
  std::string usb;
  std::string pc;
};
TaskFolders CarpetasDeTarea(const Session& session, const clsTarea& tarea);

class ScanContext {
 public:
  ScanContext(Session& session, AppView& view, int indice);

  Session& session;
  AppView& view;
  std::string prefijo;  // "#" & ID & ": "
  DatosTarea Datos;     // the top level, as AnalizaCarpetas fills it
  // The PC side is looked up for almost every USB file and then listed itself: its cache keeps
  // every entry's data and serves the PC listing too. The USB side is looked up only for files
  // the PC side alone has.
  FolderCache usb;
  FolderCache pc;
  std::size_t pasados = 0;  // links and special files passed over by the listings
  // A listing buffer per folder level, so that the descent allocates them once.
  std::deque<std::vector<FolderEntry>> listados;  // a deque: deeper levels never move these

  // Names the folder in the log (once per folder) and remembers its relative folder, so that no
  // entry below it is planned on either side. root: the side's task folder the path lies in.
  void CarpetaIlegible(const std::string& root, const std::string& folder, int error);
  // The same for a link or a file that stands where the other side has a folder.
  void FolderReplaced(const std::string& root, const std::string& path);
  // Names the file left out because another of the same folder differs from it only in case.
  void ArchivoOmitido(const std::string& ruta);
  // True when a relative name lies below a folder that could not be read on either side.
  bool BajoCarpetaIlegible(std::string_view nombre) const;
  bool HayCarpetasIlegibles() const { return !ilegibles_.empty(); }
  // The relative folders, case-folded and ending in "\", that could not be looked into.
  const std::vector<std::string>& HeldBackFolders() const { return ilegibles_; }

 private:
  void HoldBack(const std::string& root, const std::string& folder, const std::string& logLine);

  std::unordered_set<std::string> avisadas_;  // real paths already named in the log
  std::vector<std::string> ilegibles_;        // case-folded relative folders, ending in "\"
};

}  // namespace tandrel
