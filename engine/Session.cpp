#include "engine/Session.h"

#include <utility>

namespace tandrel {

Session::Session(std::string carpeta, std::string nombreEjecutable, MountTable tabla,
                 FileSystem& sistema)
    : carpetaPrograma(std::move(carpeta)),
      mounts(std::move(tabla)),
      fs(sistema),
      INI(carpetaPrograma, std::move(nombreEjecutable)) {
  RecargaWords();
}

void Session::RecargaWords() { Words = std::make_unique<clsWords>(carpetaPrograma, INI.Language); }

}  // namespace tandrel
