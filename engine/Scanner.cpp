// The listing half of modFiles: AnalizaCarpetas and RecorreCarpeta.
#include <algorithm>
#include <string>
#include <vector>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/RelativeName.h"
#include "engine/TempNames.h"
#include "engine/modFiles.h"

namespace tandrel {

namespace {

// Whether the entry is one to enter or descend into; links and special files are counted.
bool IsFileOrFolder(ScanContext& scan, EntryType tipo) {
  if (tipo == EntryType::Link || tipo == EntryType::Other) {
    scan.pasados++;
    return false;
  }
  return tipo == EntryType::File || tipo == EntryType::Folder;  // Unknown: gone since the listing
}

// The copy of datos for a subfolder of the side being listed.
DatosTarea Subcarpeta(const DatosTarea& datos, bool ladoUSB, std::string_view nombreReal) {
  DatosTarea copia = datos;
  (ladoUSB ? copia.CarpetaUSB : copia.CarpetaPC).append(nombreReal).push_back('/');
  copia.Relativa = RelativeSubfolder(datos.Relativa, nombreReal);
  return copia;
}

// A name that cannot be part of a relative name is named in the log and never entered.
bool LeftOutForBackslash(ScanContext& scan, const std::string& carpeta, std::string_view nombre) {
  if (FitsInRelativeName(nombre)) return false;
  EscribeLog(scan.view, scan.prefijo + scan.session.W("logBackslash") + " " + carpeta +
                            std::string(nombre));
  return true;
}

bool Excluido(ScanContext& scan, const DatosTarea& datos, const std::string& relativo) {
  const clsMascaras& mascaras = scan.session.Mascaras;
  // The masks see the task's folder followed by the proper-cased names below it.
  return mascaras.Count() > 0 && mascaras.Comprueba(datos.Raiz + relativo);
}

// Of two stick files whose names differ only in case, whether the one listed later should hold
// the entry instead: the copy the snapshot recorded (its size and time) wins, else the one the PC
// spells the same, else the first listed. The other is left out and never copied over or deleted,
// so a new file beside a known one is never taken for the known one changed.
bool LaterTwinWins(const clsFile& row, const clsArchivo& held, const clsArchivo& later) {
  const auto recorded = [&](const clsArchivo& a) {
    return row.Known() && a.USB_Tamano == row.Size && a.USB_Modificado == row.Last;
  };
  if (recorded(held) != recorded(later)) return recorded(later);
  const auto speltAsOnPc = [](const clsArchivo& a) {
    return !a.PC_Ruta.empty() && a.PC_Ruta.Name() == a.USB_Ruta.Name();
  };
  return !speltAsOnPc(held) && speltAsOnPc(later);
}

void RecorreUSB(ScanContext& scan, DatosTarea& datos) {
  // One buffer per level: the listing of this folder stays while its subfolders are listed.
  const auto nivel = static_cast<std::size_t>(std::count(datos.Relativa.begin(), datos.Relativa.end(), '\\'));
  if (scan.listados.size() <= nivel) scan.listados.resize(nivel + 1);
  std::vector<FolderEntry>& entradas = scan.listados[nivel];
  const std::string& carpeta = datos.CarpetaUSB;
  // Every USB file becomes an entry and needs its data: take them with the listing.
  if (const int error = scan.session.fs.ListFolder(carpeta, entradas, true); error != 0) {
    // A folder that is simply gone holds nothing; one we cannot read may hold anything, and a
    // part of a listing is no better than none.
    if (!MeansAbsent(error)) scan.CarpetaIlegible(scan.usb.Root(), carpeta, error);
    return;
  }
  clsArchivos& archivos = scan.session.Archivos;
  const RealPath::Folder compartida(carpeta);
  for (const FolderEntry& entrada : entradas) {
    if (IsTempCopyName(entrada.name) || !IsFileOrFolder(scan, entrada.info.type)) continue;
    if (LeftOutForBackslash(scan, carpeta, entrada.name)) continue;
    if (entrada.info.type == EntryType::Folder) {
      if (!datos.SubcarpetasUSB) continue;
      DatosTarea copia = Subcarpeta(datos, true, entrada.name);
      RecorreCarpeta(scan, copia, 1);
      scan.view.Yield();
      continue;
    }
    // Names from the file system hold no NUL, so QuitaNulos has nothing to cut here.
    std::string relativo = RelativeFileName(datos.Relativa, entrada.name);
    if (Excluido(scan, datos, relativo)) continue;
    clsArchivo archivoActual;
    archivoActual.Nombre = std::move(relativo);
    LlenaLado(archivoActual, true, RealPath(compartida, entrada.name), entrada.info, entrada.name);
    FolderCache::Entry* hallado = ClasificaArchivo(scan, archivoActual, datos, false);
    if (archivos.AddMoving(archivoActual)) {
      // The PC listing need not look at that file again: this entry holds it.
      if (hallado != nullptr) scan.pc.Take(hallado);
      continue;
    }
    // Another file of the stick whose name differs from this one only in case holds the entry.
    clsArchivo& actual = archivos.Item(archivoActual.Nombre);
    if (!LaterTwinWins(scan.session.Ficheros.Item(actual.Nombre), actual, archivoActual)) {
      scan.ArchivoOmitido(carpeta + entrada.name);
      continue;
    }
    scan.ArchivoOmitido(actual.USB_Ruta.str());
    actual = std::move(archivoActual);
    if (hallado != nullptr) scan.pc.Take(hallado);
  }
}

// The PC side is served from the lookup cache, which the USB listing has mostly filled already.
void RecorrePC(ScanContext& scan, DatosTarea& datos) {
  const std::string& carpeta = datos.CarpetaPC;
  FolderCache::Folder& listado = scan.pc.Listing(carpeta);
  if (listado.error != 0) {
    if (!MeansAbsent(listado.error)) scan.CarpetaIlegible(scan.pc.Root(), carpeta, listado.error);
    return;
  }
  clsArchivos& archivos = scan.session.Archivos;
  const RealPath::Folder compartida(carpeta);
  for (FolderCache::Entry& entrada : listado.entries) {
    if (!IsFileOrFolder(scan, entrada.type)) continue;
    const std::string_view nombreReal = listado.Name(entrada);
    if (LeftOutForBackslash(scan, carpeta, nombreReal)) continue;
    if (entrada.type == EntryType::Folder) {
      if (!datos.SubcarpetasPC) continue;
      DatosTarea copia = Subcarpeta(datos, false, nombreReal);
      RecorreCarpeta(scan, copia, 2);
      scan.view.Yield();
      continue;
    }
    if (entrada.taken) continue;  // entered and classified by the USB listing
    std::string relativo = RelativeFileName(datos.Relativa, nombreReal);
    if (Excluido(scan, datos, relativo)) continue;
    std::string ruta = carpeta + std::string(nombreReal);
    if (clsArchivo* existente = archivos.Find(relativo)) {
      // Entered with another PC file whose name differs from this one only in case: of this
      // folder, or of a folder whose name differs only in case from this one. Two such folders
      // are one for the keys, and a name in both is a twin: neither copy may be deleted.
      if (!existente->PC_Ruta.empty() && existente->PC_Ruta != ruta) {
        scan.ArchivoOmitido(ruta);
        if (existente->PC_Ruta.FolderPart() != carpeta) {
          existente->Action = "ZZ";
          existente->heldBack = true;
        }
      }
      continue;
    }
    clsArchivo archivoActual;
    archivoActual.Nombre = std::move(relativo);
    LlenaLado(archivoActual, false, RealPath(compartida, nombreReal), scan.pc.InfoOf(listado, entrada),
              nombreReal);
    // The USB side's cache keeps no data to let go: what it found needs no mark.
    ClasificaArchivo(scan, archivoActual, datos, true);
    archivos.Add(std::move(archivoActual));
  }
}

}  // namespace

ScanReport AnalizaCarpetas(ScanContext& scan) {
  const clsTarea& tarea = scan.session.Tareas.ITem1(scan.Datos.Indice);
  DatosTarea& datos = scan.Datos;
  datos.CarpetaUSB = scan.usb.Root();
  datos.CarpetaPC = scan.pc.Root();
  datos.Relativa.clear();
  datos.PonOpciones(tarea.LeftOPT, tarea.RightOPT, tarea.OPTIONS);

  datos.Raiz = datos.CarpetaUSB;
  if (datos.NuevosUSB) RecorreCarpeta(scan, datos, 1);
  datos.Raiz = datos.CarpetaPC;
  if (datos.NuevosPC) RecorreCarpeta(scan, datos, 2);

  // A folder found unreadable late (by the PC listing, say) may hold names the USB listing had
  // planned already: nothing below it may be copied or deleted.
  if (scan.HayCarpetasIlegibles()) {
    clsArchivos& archivos = scan.session.Archivos;
    for (std::size_t i = 1; i <= archivos.Count(); ++i) {
      clsArchivo& archivo = archivos.ITemID(i);
      if (!scan.BajoCarpetaIlegible(archivo.Nombre)) continue;
      archivo.Action = "ZZ";
      archivo.heldBack = true;
    }
  }
  scan.session.heldBackFolders = scan.HeldBackFolders();
  scan.session.passedOver = scan.pasados;
  return {scan.pasados};
}

ScanReport AnalizaCarpetas(Session& session, AppView& view, int indice) {
  ScanContext scan(session, view, indice);
  return AnalizaCarpetas(scan);
}

void RecorreCarpeta(ScanContext& scan, DatosTarea& datos, int lado) {
  datos.CarpetaUSB = WithTrailingSlash(datos.CarpetaUSB);
  datos.CarpetaPC = WithTrailingSlash(datos.CarpetaPC);
  if (lado == 1) {
    RecorreUSB(scan, datos);
  } else {
    RecorrePC(scan, datos);
  }
}

}  // namespace tandrel
