#include "store/clsTareas.h"

#include "store/Sentencias.h"

namespace tandrel {

std::string clsTareas::Carga(Conexion& conexion, const std::string& host) {
  tareas_.clear();
  std::string error = LeeTareasDeHost(conexion, host, tareas_);
  if (!error.empty()) tareas_.clear();
  return error;
}

}  // namespace tandrel
