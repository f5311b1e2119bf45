#pragma once
// Everything the program holds while it runs: the settings, the word table, the connection, this
// computer's name and tasks, the entries of the current analysis, its snapshot and masks, and the
// counts. One per process (tests make as many as they like); passed by reference, never global.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/Platform.h"
#include "core/clsArchivoINI.h"
#include "core/clsWords.h"
#include "store/Conexion.h"
#include "store/SnapshotWriter.h"
#include "store/clsArchivos.h"
#include "store/clsFiles.h"
#include "store/clsMascaras.h"
#include "store/clsTareas.h"

namespace tandrel {

class FileSystem;

// The two drive texts an arrow stands between: the drive of the program folder and of the task's
// PC folder, the root file system shown as "/".
struct ArrowDrives {
  std::string usb;
  std::string pc;
};

// The four counts of an analysis or a listing.
struct Counts {
  double copias = 0;
  double sinCambios = 0;
  double actualizaciones = 0;
  double conflictos = 0;
};

class Session {
 public:
  // Reads the settings file of carpetaPrograma (start-up step 3) and loads the language it names.
  Session(std::string carpetaPrograma, std::string nombreEjecutable, MountTable mounts,
          FileSystem& fs);

  std::string W(std::string_view key) const { return Words->W(key); }
  // Discards the word table and loads the language now set in INI.Language.
  void RecargaWords();

  std::string carpetaPrograma;
  MountTable mounts;
  FileSystem& fs;

  clsArchivoINI INI;
  std::unique_ptr<clsWords> Words;
  Conexion conexion;
  SnapshotWriter rsFiles;
  std::string Hostname;

  clsTareas Tareas;
  clsArchivos Archivos;
  clsFiles Ficheros;
  clsMascaras Mascaras;

  int TareaAnalizada = 0;  // position of the task whose analysis is on display; -1 after a run
  Counts cuentas;
  // The drives the file rows on display were drawn with: a row redrawn later keeps them, even when
  // the task has been edited since.
  ArrowDrives shownDrives;
  double Fallos = 0;
  bool driveError = false;  // the last analysis could not read a side: no run may follow it
  // The relative folders (case-folded, ending in "\\") the last analysis could not look into:
  // the run keeps the snapshot rows below them, also those of names no entry holds.
  std::vector<std::string> heldBackFolders;
  // The links and special files the last analysis passed over, on either side: what stands where
  // one of the stick's folders was is not among the entries.
  std::size_t passedOver = 0;
  // The last run was refused or stopped: its snapshot could not be written.
  bool databaseError = false;
};

}  // namespace tandrel
