#pragma once
// The task context of a scan: the folders being listed and the option flags of the task. Each level
// of the descent gets its own copy, so each level has its own current folders.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/TaskOptions.h"

namespace tandrel {

struct DatosTarea {
  std::int16_t Indice = 0;  // 1-based position of the task in Tareas
  std::string Raiz;         // root folder of the side being listed, ending in "/"
  // The real folders being listed (as they are on disk), each ending in "/". Only the side being
  // listed descends; the other side's stays at its root.
  std::string CarpetaUSB;
  std::string CarpetaPC;
  // The relative folder being listed, proper-cased, parts joined and ended by "\" ("" at the root):
  // the first part of every relative name made at this level.
  std::string Relativa;

  bool NuevosUSB = false;       // "N" in LeftOPT
  bool BorradosUSB = false;     // "E" in LeftOPT
  bool CambiosUSB = false;      // "A" in LeftOPT; filled, never read
  bool SubcarpetasUSB = false;  // "R" in LeftOPT
  bool NuevosPC = false;        // the same letters in RightOPT
  bool BorradosPC = false;
  bool CambiosPC = false;
  bool SubcarpetasPC = false;
  bool Optimista = false;    // "O" in OPTIONS
  bool SoloLectura = false;  // "R" in OPTIONS; the run asks TaskOptions itself

  // Sets the ten flags from the task's letters.
  void PonOpciones(std::string_view leftOPT, std::string_view rightOPT, std::string_view options) {
    const TaskOptions o = TaskOptions::Of(leftOPT, rightOPT, options);
    NuevosUSB = o.usb.nuevos;
    BorradosUSB = o.usb.borrados;
    CambiosUSB = o.usb.actualizados;
    SubcarpetasUSB = o.usb.subcarpetas;
    NuevosPC = o.pc.nuevos;
    BorradosPC = o.pc.borrados;
    CambiosPC = o.pc.actualizados;
    SubcarpetasPC = o.pc.subcarpetas;
    Optimista = o.optimista;
    SoloLectura = o.soloLectura;
  }
};

}  // namespace tandrel
