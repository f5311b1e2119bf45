#pragma once
// The settings object: every setting as a typed field, read from the settings file at creation and
// written back (then tidied) at release. In between, changes stay in memory.
#include <cstdint>
#include <string>

namespace tandrel {

class clsArchivoINI {
 public:
  // Sets the defaults and reads carpetaPrograma/nombreEjecutable.ini over them.
  clsArchivoINI(std::string carpetaPrograma, std::string nombreEjecutable);

  std::string Language = "EN";
  std::int16_t WindowState = 0;
  std::string LastEXE;
  std::string DB_Provider = "Microsoft.Jet.OLEDB.4.0;";
  std::string DB_DataSource = "data\\db.mdb;";
  std::string DB_Extra;
  std::int16_t WindowHeight = 8100;  // twips
  std::int16_t WindowWidth = 11295;  // twips
  bool showOKS = false;
  bool showFSYNC = true;
  bool showCONFLICT = true;
  bool CompactDataBase = true;
  // Column widths the user dragged, in twips, "0" for a column fitted to its text ("0,1500,0,0");
  // empty when none was dragged. Written only when set.
  std::string FileColumns;
  std::string TaskColumns;

  // archivo empty means the default file. A value that cannot be converted keeps the field as it is.
  void CargaINI(const std::string& archivo = "");
  // Writes every key but "DB/Extra" (a hand-set value stays in the file untouched). A file that
  // cannot be read is not written; a write that fails leaves the old file whole. "" or the error.
  [[nodiscard]] std::string GuardaINI(const std::string& archivo = "");
  // Release at shutdown: GuardaINI, then LimpiaINI of the default file. A settings file whose
  // owner-write bit is clear is the user's protection: it is left untouched, also for root.
  // "" or the line for the log when the write failed.
  [[nodiscard]] std::string Release();
  // "" or, for a settings file the user write-protected, the line that says it is never rewritten
  // (start-up logs it once).
  std::string WriteProtection() const;

  std::string RutaINI() const;
  const std::string& CarpetaPrograma() const { return carpetaPrograma_; }

 private:
  std::string carpetaPrograma_;
  std::string nombreEjecutable_;
};

}  // namespace tandrel
