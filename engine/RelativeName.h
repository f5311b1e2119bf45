#pragma once
// How a name listed in a folder becomes part of a relative name, the key that both sides of a task
// and every computer sharing the stick give a file: every part in proper case, the parts joined by
// "\". The scan and the stick listing for other computers both build their keys here.
#include <string>
#include <string_view>

#include "core/Text.h"

namespace tandrel {

// On POSIX "\" may stand in a file name, but relative names join their parts with it: "b\b.txt"
// would share its key with the file b.txt of folder b. A listed name holding one is never entered.
inline bool FitsInRelativeName(std::string_view listed) {
  return listed.find('\\') == std::string_view::npos;
}

// The relative name of a file listed in relativeFolder ("" for the task folder, else ending in
// "\").
inline std::string RelativeFileName(std::string_view relativeFolder, std::string_view listed) {
  return std::string(relativeFolder).append(ProperCase(listed));
}

// The relative folder of a subfolder listed in relativeFolder: its relative name ended by "\".
inline std::string RelativeSubfolder(std::string_view relativeFolder, std::string_view listed) {
  std::string folder = RelativeFileName(relativeFolder, listed);
  folder.push_back('\\');
  return folder;
}

}  // namespace tandrel
