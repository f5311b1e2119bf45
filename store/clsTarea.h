#pragma once
// One synchronisation task: a row of TASKS.
#include <cstdint>
#include <string>

namespace tandrel {

class Conexion;

class clsTarea {
 public:
  std::int64_t ID = 0;
  std::int16_t Tipo = 0;
  std::string Descripcion;
  std::string Left;      // USB folder without its drive, beginning with "\" (or "/")
  std::string Right;     // PC folder, full path
  std::string LastEXE;   // 14-digit local stamp; "00000000000000" when never run
  std::string LeftOPT;   // letters N, E, A, R of the USB side
  std::string RightOPT;  // letters N, E, A, R of the PC side
  std::int16_t AutoRun = 0;  // 1 when OPTIONS holds "A"
  std::string OPTIONS;   // task-wide letters A, R, O

  // Writes the members back to the row with this ID (HOSTNAME = hostname; ID and LASTEXE are not
  // written). A row that has disappeared: nothing written. Returns the error description, or "".
  [[nodiscard]] std::string Guarda(Conexion& conexion, const std::string& hostname) const;
};

}  // namespace tandrel
