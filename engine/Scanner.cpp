// The listing half of modFiles: AnalizaCarpetas and RecorreCarpeta.
#include <cerrno>
#include <string>
#include <vector>

#include "core/Text.h"
#include "engine/TempNames.h"
#include "engine/modFiles.h"

namespace tandrel {

namespace {

bool MeansAbsent(int error) { return error == -ENOENT || error == -ENOTDIR; }

// The type of an entry whose listing did not say (some file systems never do).
EntryType ResolveType(FileSystem& fs, const std::string& path, FileInfo& info) {
  if (fs.Stat(path, info) != 0) return EntryType::Unknown;
  return info.type;
}

void EntraArchivoUSB(ScanContext& scan, DatosTarea& datos, std::string relativo, std::string ruta,
                     const FileInfo& info, const std::string& nombreReal) {
  clsArchivos& archivos = scan.session.Archivos;
  if (const clsArchivo* existente = archivos.Find(relativo)) {
    // Only a name of this same listing can be there already: two names that differ in case.
    if (existente->USB_Ruta != ruta) scan.ArchivoOmitido(ruta);
    return;
  }
  clsArchivo archivoActual;
  archivoActual.Nombre = std::move(relativo);
  LlenaLado(archivoActual, true, std::move(ruta), info, nombreReal);
  ClasificaArchivo(scan, archivoActual, datos, false);
  archivos.Add(std::move(archivoActual));
}

void EntraArchivoPC(ScanContext& scan, DatosTarea& datos, std::string relativo, std::string ruta,
                    const std::string& nombreReal) {
  clsArchivos& archivos = scan.session.Archivos;
  if (const clsArchivo* existente = archivos.Find(relativo)) {
    // Entered by the USB listing: nothing to do, unless the PC file it found is another one
    // of this folder whose name differs only in case.
    if (!existente->PC_Ruta.empty() && existente->PC_Ruta != ruta) scan.ArchivoOmitido(ruta);
    return;
  }
  // The PC side is listed by name only: most of its files were entered by the USB listing already,
  // and only the others need a lookup.
  FileInfo info;
  const int error = scan.session.fs.Stat(ruta, info);
  if (error != 0) {
    if (!MeansAbsent(error)) scan.CarpetaIlegible(scan.pc.Root(), datos.CarpetaPC, error);
    return;
  }
  if (info.type != EntryType::File) {
    if (info.type != EntryType::Folder) scan.pasados++;
    return;
  }
  clsArchivo archivoActual;
  archivoActual.Nombre = std::move(relativo);
  LlenaLado(archivoActual, false, std::move(ruta), info, nombreReal);
  ClasificaArchivo(scan, archivoActual, datos, true);
  archivos.Add(std::move(archivoActual));
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
      if (scan.BajoCarpetaIlegible(archivo.Nombre)) archivo.Action = "ZZ";
    }
  }
  return {scan.pasados};
}

ScanReport AnalizaCarpetas(Session& session, AppView& view, int indice) {
  ScanContext scan(session, view, indice);
  return AnalizaCarpetas(scan);
}

void RecorreCarpeta(ScanContext& scan, DatosTarea& datos, int lado) {
  const bool ladoUSB = lado == 1;
  if (datos.CarpetaUSB.empty() || datos.CarpetaUSB.back() != '/') datos.CarpetaUSB.push_back('/');
  if (datos.CarpetaPC.empty() || datos.CarpetaPC.back() != '/') datos.CarpetaPC.push_back('/');
  const std::string& carpeta = ladoUSB ? datos.CarpetaUSB : datos.CarpetaPC;
  FileSystem& fs = scan.session.fs;

  std::vector<FolderEntry> entradas;
  // Every USB file becomes an entry and needs its data: take them with the listing.
  const int error = fs.ListFolder(carpeta, entradas, ladoUSB);
  if (error != 0) {
    // A folder that is simply gone holds nothing; one we cannot read may hold anything, and a
    // part of a listing is no better than none.
    if (!MeansAbsent(error)) scan.CarpetaIlegible(ladoUSB ? scan.usb.Root() : scan.pc.Root(), carpeta, error);
    return;
  }

  const bool subcarpetas = ladoUSB ? datos.SubcarpetasUSB : datos.SubcarpetasPC;
  std::string rutaMascara;
  for (FolderEntry& entrada : entradas) {
    if (IsTempCopyName(entrada.name)) continue;
    EntryType tipo = entrada.info.type;
    if (tipo == EntryType::Unknown) tipo = ResolveType(fs, carpeta + entrada.name, entrada.info);
    if (tipo == EntryType::Link || tipo == EntryType::Other) {
      scan.pasados++;
      continue;
    }
    if (tipo == EntryType::Unknown) continue;  // gone since the listing

    // Names from the file system hold no NUL, so QuitaNulos has nothing to cut here.
    std::string nombre = ProperCase(entrada.name);
    if (tipo == EntryType::Folder) {
      if (!subcarpetas) continue;
      DatosTarea copia = datos;
      (ladoUSB ? copia.CarpetaUSB : copia.CarpetaPC).append(entrada.name).push_back('/');
      copia.Relativa.append(nombre).push_back('\\');
      RecorreCarpeta(scan, copia, lado);
      scan.view.Yield();
      continue;
    }

    std::string relativo = datos.Relativa + nombre;
    // The masks see the task's folder followed by the proper-cased names below it.
    rutaMascara.assign(datos.Raiz).append(relativo);
    if (scan.session.Mascaras.Comprueba(rutaMascara)) continue;
    std::string ruta = carpeta + entrada.name;
    if (ladoUSB) {
      EntraArchivoUSB(scan, datos, std::move(relativo), std::move(ruta), entrada.info, entrada.name);
    } else {
      EntraArchivoPC(scan, datos, std::move(relativo), std::move(ruta), entrada.name);
    }
  }
}

}  // namespace tandrel
