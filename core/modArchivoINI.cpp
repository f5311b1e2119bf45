#include "core/modArchivoINI.h"

#include "core/Platform.h"
#include "core/ProfileFile.h"
#include "core/Public.h"
#include "core/Text.h"
#include "core/TextFile.h"

namespace tandrel {

std::string LeeClave(std::string_view clave, const std::string& rutaINI) {
  ProfileFile profile;
  if (!profile.Load(rutaINI)) return {};
  return profile.Get(ExtraeCampo(clave, "/", 1), ExtraeCampo(clave, "/", 2));
}

bool EscribeClave(std::string_view clave, std::string_view valor, const std::string& rutaINI) {
  ProfileFile profile;
  if (!profile.Load(rutaINI)) return false;
  profile.Set(ExtraeCampo(clave, "/", 1), ExtraeCampo(clave, "/", 2), valor);
  return profile.Save(rutaINI).empty();
}

std::string CortaNulo(std::string_view texto) {
  return std::string(texto.substr(0, texto.find('\0')));
}

std::string LimpiaINI(const std::string& rutaINI, const std::string& carpetaPrograma) {
  std::string contents;
  if (!ReadWholeFile(rutaINI, contents)) return {};

  std::string tidy;
  tidy.reserve(contents.size() + 64);
  for (const TextLine& line : SplitLines(SkipByteOrderMark(contents))) {
    const std::string text = Trim(line.text);
    if (text.empty()) continue;
    if (text.front() == '[') tidy += "\r\n";
    tidy += text;
    tidy += "\r\n";
  }

  return ReplaceWholeFile(rutaINI, JoinPath(carpetaPrograma, "Tmp_INI.tmp"), tidy);
}

}  // namespace tandrel
