#pragma once
// The option letters of a task as the task editor and the new-task wizard write them: whatever
// order they were read in, they are stored in one fixed order.
#include <string>
#include <string_view>

namespace tandrel {

// A side's letters: N (new files), E (deletions), A (updates), R (subfolders), in that order.
inline std::string LetrasDeLado(bool nuevos, bool borrados, bool actualizados, bool subcarpetas) {
  std::string letras;
  if (nuevos) letras += 'N';
  if (borrados) letras += 'E';
  if (actualizados) letras += 'A';
  if (subcarpetas) letras += 'R';
  return letras;
}

// The task-wide letters: A (start automatically), R (ignore read-only), O (optimist mode).
inline std::string LetrasDeTarea(bool automatica, bool soloLectura, bool optimista) {
  std::string letras;
  if (automatica) letras += 'A';
  if (soloLectura) letras += 'R';
  if (optimista) letras += 'O';
  return letras;
}

// Letters are matched as stored: a lower-case "a" is not the letter "A".
inline bool TieneLetra(std::string_view letras, char letra) {
  return letras.find(letra) != std::string_view::npos;
}

}  // namespace tandrel
