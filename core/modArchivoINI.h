#pragma once
// Reading, writing and tidying of the settings file, over a profile reader and writer of our own:
// ";" is a plain character of a value (the provider text "Microsoft.Jet.OLEDB.4.0;" must survive),
// nothing is quoted or escaped, and every line the program does not write is kept as it is.
#include <string>
#include <string_view>

namespace tandrel {

// clave is "Section/Entry". Section and entry match without regard to case, the first occurrence
// wins; the value is trimmed and cut at 254 characters. Any failure gives the empty text.
std::string LeeClave(std::string_view clave, const std::string& rutaINI);
// Replaces an existing value in place, or adds the missing line (and section); creates the file.
// False when the file cannot be written.
[[nodiscard]] bool EscribeClave(std::string_view clave, std::string_view valor, const std::string& rutaINI);
// The text before the first NUL character.
std::string CortaNulo(std::string_view texto);
// The tidying pass through carpetaPrograma/Tmp_INI.tmp: lines trimmed, blank lines dropped, one
// empty line before every section header, CR LF line ends. A file that cannot be read is left
// alone (""); a write that fails leaves the old file whole and gives the error.
[[nodiscard]] std::string LimpiaINI(const std::string& rutaINI, const std::string& carpetaPrograma);

}  // namespace tandrel
