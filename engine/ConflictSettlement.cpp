#include "engine/ConflictSettlement.h"

#include <string>

#include "engine/ActionMapping.h"
#include "engine/Analisis.h"

namespace tandrel {

std::optional<PreferredCopy> PreferredCopyNamed(std::string_view text) {
  if (text == "usb") return PreferredCopy::Usb;
  if (text == "pc") return PreferredCopy::Pc;
  if (text == "newer") return PreferredCopy::Newer;
  return std::nullopt;
}

int SettleConflicts(Session& session, AppView& view, PreferredCopy preferred) {
  int settled = 0;
  std::string last;
  for (std::size_t i = 1; i <= session.Archivos.Count(); ++i) {
    clsArchivo& entry = session.Archivos.ITemID(i);
    if (!IsConflict(entry.Action)) continue;
    PreferredCopy copy = preferred;
    if (copy == PreferredCopy::Newer) {
      // Both times are 14-digit UTC texts: they compare as plain texts.
      const int order = entry.USB_Modificado.compare(entry.PC_Modificado);
      if (order == 0) continue;
      copy = order > 0 ? PreferredCopy::Usb : PreferredCopy::Pc;
    }
    // A side without its copy has nothing to give: the dialog disables that choice too.
    const bool fromUsb = copy == PreferredCopy::Usb;
    if ((fromUsb ? entry.USB_Ruta : entry.PC_Ruta).empty()) continue;
    entry.Action = CopyCode(fromUsb ? FileSide::Usb : FileSide::Pc);
    last = entry.Nombre;
    ++settled;
  }
  // ActualizaEnlista counts the conflicts of every entry again: once, after the last choice,
  // keeps a settlement of many conflicts linear. The command line draws no rows to redraw.
  if (settled > 0) ActualizaEnlista(session, view, last, "USER");
  return settled;
}

}  // namespace tandrel
