#pragma once
// The tasks of one computer, in the order of the loading query (by description).
#include <string>
#include <vector>

#include "store/clsTarea.h"

namespace tandrel {

class clsTareas {
 public:
  // Replaces the list with the tasks whose HOSTNAME equals host (without regard to ASCII case).
  // Null or unconvertible columns leave the member empty or 0. Returns the error description, or "".
  [[nodiscard]] std::string Carga(Conexion& conexion, const std::string& host);
  int Count() const { return static_cast<int>(tareas_.size()); }
  // The task at a 1-based position, 1 to Count().
  clsTarea& ITem1(int posicion) { return tareas_.at(static_cast<std::size_t>(posicion - 1)); }
  const clsTarea& ITem1(int posicion) const { return tareas_.at(static_cast<std::size_t>(posicion - 1)); }

 private:
  std::vector<clsTarea> tareas_;
};

}  // namespace tandrel
