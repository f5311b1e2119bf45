#include "engine/ActionMapping.h"

#include <array>
#include <charconv>

#include "core/Platform.h"

namespace tandrel {

namespace {

using enum CountKind;
using enum FileSide;
constexpr Operation Copy = Operation::Copy;
constexpr Operation Delete = Operation::Delete;
using enum FilterButton;

constexpr std::array<ActionMapping, 11> kMappings{{
    {"X1", "DEL", CountKind::None, Usb, Always, " X<---- ", Delete, Usb},
    {"X2", "DEL", CountKind::None, Pc, Always, " ---->X ", Delete, Pc},
    {"C1", "ADD", Copies, Usb, Always, " -----> ", Copy, Usb},
    {"C2", "ADD", Copies, Pc, Always, " <----- ", Copy, Pc},
    {"ZZ", "OK", Unchanged, Pc, OKS, " |-//-| ", Operation::None, Pc},
    {"A1", "ACTU", Updates, Pc, FSYNC, " <<---> ", Copy, Pc},
    {"A2", "ACTU", Updates, Pc, FSYNC, " <--->> ", Copy, Usb},
    {"!1", "CONFLICT", Conflicts, Pc, CONFLICT, " |-!!-| ", Operation::None, Pc},
    {"!2", "CONFLICT", Conflicts, Pc, CONFLICT, " <-!!>> ", Operation::None, Pc},
    {"!3", "CONFLICT", Conflicts, Pc, CONFLICT, " <<!!-> ", Operation::None, Pc},
    {"!4", "CONFLICT", Conflicts, Pc, CONFLICT, " |-!!-| ", Operation::None, Pc},
}};

// Texts of a signed 32-bit size; anything else (hand-edited data) shows as it is.
std::string AsPlainNumber(std::string_view text) {
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::string(text);
  return std::to_string(value);
}

}  // namespace

const ActionMapping* FindActionMapping(std::string_view code) {
  for (const ActionMapping& mapping : kMappings) {
    if (mapping.code == code) return &mapping;
  }
  return nullptr;
}

std::string_view CopyCode(FileSide from) { return from == Usb ? "C1" : "C2"; }

void RaiseCount(Counts& counts, CountKind kind) {
  switch (kind) {
    case CountKind::None: break;
    case Copies: counts.copias += 1; break;
    case Unchanged: counts.sinCambios += 1; break;
    case Updates: counts.actualizaciones += 1; break;
    case Conflicts: counts.conflictos += 1; break;
  }
}

bool IsShown(FilterButton filter, const clsArchivoINI& ini) {
  switch (filter) {
    case Always: return true;
    case OKS: return ini.showOKS;
    case FSYNC: return ini.showFSYNC;
    case CONFLICT: return ini.showCONFLICT;
  }
  return true;
}

std::string ShownSize(const clsArchivo& archivo, const ActionMapping& mapping) {
  const SizeText& named = mapping.sizeSide == Usb ? archivo.USB_Tamano : archivo.PC_Tamano;
  const SizeText& other = mapping.sizeSide == Usb ? archivo.PC_Tamano : archivo.USB_Tamano;
  return AsPlainNumber((named.empty() ? other : named).Text());
}

ArrowDrives DrivesForTask(const Session& session, const clsTarea& tarea) {
  return {DriveForDisplay(DriveOf(session.carpetaPrograma, session.mounts)),
          DriveForDisplay(DriveOf(NativePath(tarea.Right), session.mounts))};
}

FileRow MakeFileRow(const clsArchivo& archivo, const ActionMapping& mapping, const clsWords& words,
                    const ArrowDrives& drives) {
  FileRow row;
  row.key = archivo.Nombre;
  row.icon = std::string(mapping.word);
  row.state = words.W("st" + archivo.Estado.str());
  row.arrow.reserve(drives.usb.size() + mapping.arrow.size() + drives.pc.size());
  row.arrow.append(drives.usb).append(mapping.arrow).append(drives.pc);
  row.bytes = ShownSize(archivo, mapping) + " bytes";
  return row;
}

}  // namespace tandrel
