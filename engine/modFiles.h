#pragma once
// The scan of a task's two folders and the classification of every file found: each file becomes
// one entry of session.Archivos with both sides' data and its state code.
#include <cstddef>

#include "engine/DatosTarea.h"
#include "engine/ScanContext.h"
#include "engine/FileTimes.h"
#include "store/clsArchivo.h"

namespace tandrel {

struct ScanReport {
  std::size_t pasados = 0;  // links and special files passed over, never entered
};

// Fills scan.Datos for the task at the context's position and lists the USB side (when LeftOPT has
// "N"), then the PC side (when RightOPT has "N"). The result is the content of session.Archivos,
// which the caller has emptied and whose snapshot and masks it has loaded. Folders that cannot be
// read are named in the log; nothing below them is planned ("ZZ").
ScanReport AnalizaCarpetas(ScanContext& scan);
// The same with a context of its own, for the task at 1-based position indice.
ScanReport AnalizaCarpetas(Session& session, AppView& view, int indice);

// Lists one folder of one side (lado 1: USB, anything else: PC) and, where the side's "R" flag is
// set, its subfolders depth first, yielding once after each subfolder. Symbolic links and special
// files are counted and passed over; the run's temporary files are not seen at all.
void RecorreCarpeta(ScanContext& scan, DatosTarea& datos, int lado);

// Looks the entry's file up on the other side (desdePC: it was listed on the PC side), fills that
// side's members when found there, and writes the state code into Action and the mark into Estado.
// The listed side's members (its real path among them) must be filled already. Returns the other
// side's file in its lookup cache, or nullptr when none was found: once the entry is in
// session.Archivos, the USB listing marks that file taken, so the PC listing passes it by.
FolderCache::Entry* ClasificaArchivo(ScanContext& scan, clsArchivo& archivo, const DatosTarea& datos,
                                     bool desdePC);

}  // namespace tandrel
