#include "core/clsArchivoINI.h"

#include <sys/stat.h>

#include <charconv>
#include <limits>
#include <utility>

#include "core/Platform.h"
#include "core/ProfileFile.h"
#include "core/Text.h"
#include "core/modArchivoINI.h"

namespace tandrel {

namespace {

// The settings file holds values written by hand: whatever does not convert cleanly to the field's
// type leaves the field as it is.
void ReadText(const std::string& value, std::string& field) {
  if (!value.empty()) field = value;
}

void ReadInt16(const std::string& value, std::int16_t& field) {
  std::string_view digits = value;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  long number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return;
  if (number < std::numeric_limits<std::int16_t>::min() ||
      number > std::numeric_limits<std::int16_t>::max()) {
    return;
  }
  field = static_cast<std::int16_t>(number);
}

// A flag reads as a number (any non-zero value is true, "-1" as written, "1" by hand) or as one of
// the words true and false in any case.
void ReadFlag(const std::string& value, bool& field) {
  if (value.empty()) return;
  if (EqualsNoCase(value, "true")) {
    field = true;
    return;
  }
  if (EqualsNoCase(value, "false")) {
    field = false;
    return;
  }
  std::string_view text = value;
  if (text.front() == '+' || text.front() == '-') text.remove_prefix(1);
  bool digitSeen = false, pointSeen = false, nonZero = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digitSeen = true;
      nonZero = nonZero || c != '0';
    } else if (c == '.' && !pointSeen) {
      pointSeen = true;
    } else {
      return;
    }
  }
  if (digitSeen) field = nonZero;
}

std::string FlagText(bool flag) { return flag ? "-1" : "0"; }

}  // namespace

clsArchivoINI::clsArchivoINI(std::string carpetaPrograma, std::string nombreEjecutable)
    : carpetaPrograma_(std::move(carpetaPrograma)), nombreEjecutable_(std::move(nombreEjecutable)) {
  CargaINI("");
}

std::string clsArchivoINI::RutaINI() const {
  return JoinPath(carpetaPrograma_, nombreEjecutable_ + ".ini");
}

void clsArchivoINI::CargaINI(const std::string& archivo) {
  // One read of the file for all keys; each look-up is the one LeeClave makes.
  ProfileFile profile;
  if (!profile.Load(archivo.empty() ? RutaINI() : archivo)) return;
  ReadText(profile.Get("General", "Language"), Language);
  ReadText(profile.Get("DB", "Provider"), DB_Provider);
  ReadText(profile.Get("DB", "DataSource"), DB_DataSource);
  ReadText(profile.Get("DB", "Extra"), DB_Extra);
  ReadText(profile.Get("General", "LastEXE"), LastEXE);
  ReadInt16(profile.Get("General", "WindowState"), WindowState);
  ReadInt16(profile.Get("General", "WindowWidth"), WindowWidth);
  ReadInt16(profile.Get("General", "WindowHeight"), WindowHeight);
  ReadFlag(profile.Get("Panel", "butOKS"), showOKS);
  ReadFlag(profile.Get("Panel", "butFSYNC"), showFSYNC);
  ReadFlag(profile.Get("Panel", "butCONFLICT"), showCONFLICT);
  ReadFlag(profile.Get("DB", "CompactDataBase"), CompactDataBase);
  ReadText(profile.Get("Panel", "FileColumns"), FileColumns);
  ReadText(profile.Get("Panel", "TaskColumns"), TaskColumns);
}

std::string clsArchivoINI::GuardaINI(const std::string& archivo) {
  // One read and one write for all keys, each set as EscribeClave sets it. "DB/Extra" is left
  // alone: it is only ever set by hand.
  const std::string ruta = archivo.empty() ? RutaINI() : archivo;
  ProfileFile profile;
  if (!profile.Load(ruta)) return {};
  profile.Set("General", "Language", Language);
  profile.Set("DB", "Provider", DB_Provider);
  profile.Set("DB", "DataSource", DB_DataSource);
  profile.Set("General", "LastEXE", LastEXE);
  profile.Set("General", "WindowState", std::to_string(WindowState));
  profile.Set("General", "WindowWidth", std::to_string(WindowWidth));
  profile.Set("General", "WindowHeight", std::to_string(WindowHeight));
  profile.Set("Panel", "butOKS", FlagText(showOKS));
  profile.Set("Panel", "butFSYNC", FlagText(showFSYNC));
  profile.Set("Panel", "butCONFLICT", FlagText(showCONFLICT));
  profile.Set("DB", "CompactDataBase", FlagText(CompactDataBase));
  if (!FileColumns.empty()) profile.Set("Panel", "FileColumns", FileColumns);
  if (!TaskColumns.empty()) profile.Set("Panel", "TaskColumns", TaskColumns);
  return profile.Save(ruta);
}

std::string clsArchivoINI::WriteProtection() const {
  const std::string ruta = RutaINI();
  struct stat st {};
  if (::stat(ruta.c_str(), &st) != 0 || (st.st_mode & S_IWUSR) != 0) return {};
  return "The settings file \"" + ruta +
         "\" is write-protected: it is read and never rewritten (changes to the settings are not "
         "kept).";
}

std::string clsArchivoINI::Release() {
  if (!WriteProtection().empty()) return {};
  if (std::string error = GuardaINI(""); !error.empty()) return error;
  return LimpiaINI(RutaINI(), carpetaPrograma_);
}

}  // namespace tandrel
