#pragma once
// The languages the options dialog offers: one entry per language file, taken from the file's
// header line (":" then the code, "=" and the language's name).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

// The header text of a language file's contents: the text after the colon of the first line that
// begins with ":" and holds "=", trimmed of spaces; "" when no line qualifies.
std::string CabeceraIdioma(std::string_view contenido);

// The entries of every "*.txt" file of the folder, in name order; a file that cannot be read or
// has no header adds none. Nothing at all when the folder itself cannot be listed.
std::optional<std::vector<std::string>> ListaIdiomas(const std::string& carpeta);

// The language code of an entry: its first two characters in upper case.
std::string CodigoIdioma(std::string_view entrada);

}  // namespace tandrel
