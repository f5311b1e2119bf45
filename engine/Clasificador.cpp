// The classifying half of modFiles: ClasificaArchivo.
#include <algorithm>
#include <string_view>

#include "engine/modFiles.h"

namespace tandrel {

namespace {

struct Lados {
  SizeText usbTamano;
  TimeText usbModificado;
  SizeText pcTamano;
  TimeText pcModificado;
};

bool DifiereDelRegistro(SizeText tamano, TimeText modificado, const clsFile& registro) {
  return tamano != registro.Size || modificado != registro.Last;
}

// The decision for a file found on both sides whose copies differ. Only sizes and last-write
// texts take part; the fixed-width UTC texts compare chronologically as plain texts, to the second.
std::string_view Decide(const Lados& l, const clsFile& registro, bool optimista) {
  const int orden = l.usbModificado.compare(l.pcModificado);  // > 0: the USB copy is newer
  const bool conocido = registro.Known();
  if (conocido && DifiereDelRegistro(l.usbTamano, l.usbModificado, registro) &&
      DifiereDelRegistro(l.pcTamano, l.pcModificado, registro)) {
    if (orden < 0) return optimista ? "A1" : "!3";
    if (orden == 0) return "!4";
    return optimista ? "A2" : "!2";
  }
  if (!conocido && !optimista) {
    if (orden > 0) return "!2";
    if (orden == 0) return "!4";
    return "!3";
  }
  // Only which copy is newer counts here, not which one changed: an older change loses.
  if (orden > 0) return "A2";
  if (orden < 0) return "A1";
  return "!1";
}

}  // namespace

FolderCache::Entry* ClasificaArchivo(ScanContext& scan, clsArchivo& archivo, const DatosTarea& datos,
                                     bool desdePC) {
  // The other side is searched by the names this side really has, so that a file spelt the same
  // on both sides is found first even where the other folder also holds a case variant.
  const FolderCache& listado = desdePC ? scan.pc : scan.usb;
  FolderCache& otro = desdePC ? scan.usb : scan.pc;
  const RealPath& ruta = desdePC ? archivo.PC_Ruta : archivo.USB_Ruta;
  std::string_view carpeta = ruta.FolderPart();
  carpeta.remove_prefix(std::min(listado.Root().size(), carpeta.size()));
  FolderCache::Result encontrado = otro.Find(carpeta, ruta.Name());

  if (encontrado.outcome == FolderCache::Outcome::Found) {
    LlenaLado(archivo, desdePC, std::move(encontrado.path), encontrado.info, encontrado.name);
    if (!desdePC) archivo.Estado = "E";
    const Lados lados{archivo.USB_Tamano, archivo.USB_Modificado, archivo.PC_Tamano,
                      archivo.PC_Modificado};
    // The snapshot is looked at only when the copies differ.
    if (lados.usbModificado == lados.pcModificado && lados.usbTamano == lados.pcTamano) {
      archivo.Action = "ZZ";
    } else {
      archivo.Action = Decide(lados, scan.session.Ficheros.Item(archivo.Nombre), datos.Optimista);
    }
    return encontrado.entry;
  }

  const bool conocido = scan.session.Ficheros.Item(archivo.Nombre).Known();
  if (conocido) {
    archivo.Estado = "D";
    archivo.Action = desdePC ? (datos.BorradosUSB ? "X2" : "ZZ") : (datos.BorradosPC ? "X1" : "ZZ");
  } else {
    archivo.Estado = "N";
    archivo.Action = desdePC ? (datos.NuevosPC ? "C2" : "ZZ") : (datos.NuevosUSB ? "C1" : "ZZ");
  }
  using Outcome = FolderCache::Outcome;
  if (encontrado.outcome == Outcome::Missing) return nullptr;
  // We cannot tell which file is the other copy, or whether there is one: keep the mark a missing
  // file gets, plan nothing.
  if (encontrado.outcome == Outcome::Unreadable) {
    scan.CarpetaIlegible(otro.Root(), encontrado.folder, encontrado.error);
  } else if (encontrado.outcome == Outcome::NotAFolder) {
    scan.FolderReplaced(otro.Root(), encontrado.folder);
  } else {
    for (const std::string& gemelo : encontrado.twins) scan.ArchivoOmitido(gemelo);
  }
  archivo.Action = "ZZ";
  archivo.heldBack = true;
  return nullptr;
}

}  // namespace tandrel
