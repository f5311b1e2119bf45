#include "engine/GrabaRegistro.h"

#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "store/Sentencias.h"

namespace tandrel {

void GrabaRegistro(Session& session, SnapshotRenewal& renewal, int tarea,
                   const clsArchivo& archivo) {
  renewal.RemoveOldRow(archivo);
  const std::string_view code = archivo.Action;
  if (IsConflict(code) || archivo.Estado == "R") return;
  // A deleted file has no row; any other records the side its copy came from, both sides being
  // equal afterwards.
  const ActionMapping* mapping = FindActionMapping(code);
  if (mapping != nullptr && mapping->operation == Operation::Delete) return;
  const bool usb = mapping != nullptr && mapping->side == FileSide::Usb;
  SnapshotRow row;
  row.HOSTNAME = session.Hostname;
  row.TASK = session.Tareas.ITem1(tarea).ID;
  row.FILE = archivo.Nombre;
  row.CREATION = (usb ? archivo.USB_Creacion : archivo.PC_Creacion).str();
  row.SIZE = (usb ? archivo.USB_Tamano : archivo.PC_Tamano).str();
  row.LAST = (usb ? archivo.USB_Modificado : archivo.PC_Modificado).str();
  row.ACCESS = (usb ? archivo.USB_Acceso : archivo.PC_Acceso).str();
  row.SYNC = FechaHora(0);
  renewal.AddRow(row);
}

void FinalizaTarea(Session& session, AppView& view, int tarea) {
  const std::string sello = FechaHora(0);
  const bool limpia = session.cuentas.conflictos <= 0 && session.Fallos <= 0;
  view.SetTaskRowResult(tarea, limpia ? "OK" : "ALERT", session.W(limpia ? "tskDone" : "tskALERT"),
                        FormateaFecha(sello));
  (void)ActualizaLastExe(session.conexion, session.Tareas.ITem1(tarea).ID, sello);
}

}  // namespace tandrel
