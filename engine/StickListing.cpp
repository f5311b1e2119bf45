#include "engine/StickListing.h"

#include <algorithm>

#include "core/Text.h"
#include "engine/FileTimes.h"
#include "engine/RelativeName.h"
#include "engine/TempNames.h"

namespace tandrel {

StickListing StickListing::FromEntries(const clsArchivos& archivos) {
  StickListing listing;
  listing.files_.reserve(archivos.Count());
  listing.index_.Reserve(archivos.Count());
  for (std::size_t i = 1; i <= archivos.Count(); ++i) {
    const clsArchivo& archivo = archivos.ITemID(i);
    if (archivo.USB_Ruta.empty()) continue;  // only on the PC
    listing.Add({archivo.Nombre, archivo.USB_Tamano, archivo.USB_Modificado});
  }
  return listing;
}

StickListing StickListing::List(FileSystem& fs, AppView& view, const std::string& folder) {
  StickListing listing;
  listing.ListFolder(fs, view, folder, "", true);
  return listing;
}

void StickListing::ListFolder(FileSystem& fs, AppView& view, const std::string& folder,
                              const std::string& relative, bool top) {
  std::vector<FolderEntry> entries;
  if (const int error = fs.ListFolder(folder, entries, true); error != 0) {
    if (top) {
      error_ = folder + ": " + ErrorText(error);
    } else if (!MeansAbsent(error)) {
      heldBack_.push_back(CaseFold(relative));
    }
    return;
  }
  for (const FolderEntry& entry : entries) {
    if (IsTempCopyName(entry.name)) continue;
    if (!FitsInRelativeName(entry.name)) continue;
    if (entry.info.type == EntryType::Folder) {
      ListFolder(fs, view, folder + entry.name + "/", RelativeSubfolder(relative, entry.name),
                 false);
      view.Yield();
    } else if (entry.info.type == EntryType::File) {
      Add({RelativeFileName(relative, entry.name), TextoTamano(entry.info.size),
           FechaArchivo(entry.info.modified)});
    } else if (entry.info.type != EntryType::Unknown) {
      // Rare on a stick: a plain list is enough to test the rows no file matched against.
      heldBack_.push_back(CaseFold(RelativeSubfolder(relative, entry.name)));
    }
  }
}

void StickListing::Add(StickFile file) {
  const auto nameAt = [this](std::size_t i) -> std::string_view { return files_[i].name; };
  if (index_.Insert(file.name, files_.size(), nameAt)) files_.push_back(std::move(file));
}

std::size_t StickListing::Find(std::string_view name) const {
  return index_.Find(name, [this](std::size_t i) -> std::string_view { return files_[i].name; });
}

bool StickListing::BelowHeldBackFolder(std::string_view name) const {
  if (BelowAnyFoldedFolder(name, heldBack_)) return true;
  // A file listed under the name of one of its folders. Only rows no file matched come here, and
  // each costs one lookup per folder level.
  for (std::size_t cut = name.rfind('\\'); cut != 0 && cut != std::string_view::npos;
       cut = name.rfind('\\', cut - 1)) {
    if (Find(name.substr(0, cut)) != npos) return true;
  }
  return false;
}

}  // namespace tandrel
