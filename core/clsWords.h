#pragma once
// The word table: every text the user sees, looked up by key in the language file of the chosen
// language. A key without an entry shows the key itself.
#include <string>
#include <string_view>
#include <unordered_map>

namespace tandrel {

struct clsWord {
  std::string Text;
};

class clsWords {
 public:
  clsWords() = default;  // an empty table: every W(key) gives key
  // Loads carpetaPrograma/Languages/<Trim(idioma)>.txt (UTF-8). A missing file leaves the table
  // empty; invalid UTF-8 shows as U+FFFD.
  clsWords(const std::string& carpetaPrograma, std::string_view idioma);

  // The text of a key (matched without regard to case); the key itself when there is none; the
  // empty text for the empty key.
  std::string W(std::string_view id) const;
  std::size_t Count() const { return words_.size(); }

  static std::string RutaIdioma(const std::string& carpetaPrograma, std::string_view idioma);

 private:
  void Carga(const std::string& ruta);
  std::unordered_map<std::string, clsWord> words_;  // key: case-folded
};

}  // namespace tandrel
