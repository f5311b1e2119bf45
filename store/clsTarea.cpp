#include "store/clsTarea.h"

#include "store/Sentencias.h"

namespace tandrel {

std::string clsTarea::Guarda(Conexion& conexion, const std::string& hostname) const {
  return GuardaTarea(conexion, *this, hostname);
}

}  // namespace tandrel
