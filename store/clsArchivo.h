#pragma once
// One file entry of an analysis: both sides' data as the scan found them, the state code and the
// entry's mark. Plain members, no logic.
#include <string>

#include "core/FixedText.h"
#include "core/PackedText.h"
#include "store/EntryName.h"
#include "store/RealPath.h"

namespace tandrel {

// Kept as numbers: an entry holds six times and two sizes, and 100,000 entries must stay small.
using TimeText = PackedText;      // 14-digit UTC file time ("20090305070409"), or empty
using SizeText = PackedText;      // low 32 bits of the size as a signed decimal, or empty
using AttrText = FixedText<3>;    // attribute bits as decimal text ("32", "35", "16")

struct clsArchivo {
  EntryName Nombre;  // relative name, proper case, parts joined by "\"; the key

  RealPath USB_Ruta;  // the file's real path on the USB side; empty when not found there
  SizeText USB_Tamano;
  TimeText USB_Creacion;
  TimeText USB_Acceso;
  TimeText USB_Modificado;

  RealPath PC_Ruta;  // the file's real path on the PC side; empty when not found there
  SizeText PC_Tamano;
  TimeText PC_Creacion;
  TimeText PC_Acceso;
  TimeText PC_Modificado;

  // The short texts together, after the 8-byte members: no padding between them.
  AttrText USB_Atributos;
  AttrText PC_Atributos;

  FixedText<2> Action;  // state code ("C1", "ZZ", "!3", ...), or what the user chose
  FixedText<1> Estado;  // "N", "E", "D" after the analysis; "E" or "R" after a run
  // "ZZ" because one side could not be looked at (a folder that cannot be read, a link where a
  // folder was): the run keeps the entry's snapshot row as it is, since a row made from the side
  // it could not see would turn a file found later into a deleted one.
  bool heldBack = false;
};

}  // namespace tandrel
