#pragma once
// The option letters of a task (LEFTOPT, RIGHTOPT, OPTIONS of its row) as flags, and back: the one
// place that knows which letter means what and in which order they are stored.
#include <string>
#include <string_view>

#include "store/clsTarea.h"

namespace tandrel {

// A side's letters: N (new files), E (deletions), A (updates), R (subfolders).
struct SideOptions {
  bool nuevos = false;
  bool borrados = false;
  bool actualizados = false;
  bool subcarpetas = false;

  bool operator==(const SideOptions&) const = default;
};

struct TaskOptions {
  SideOptions usb;  // LEFTOPT
  SideOptions pc;   // RIGHTOPT
  bool automatica = false;   // "A" of OPTIONS: runs at start-up
  bool soloLectura = false;  // "R" of OPTIONS: a read-only file may be replaced or deleted
  bool optimista = false;    // "O" of OPTIONS: the newer copy wins where the snapshot cannot tell

  bool operator==(const TaskOptions&) const = default;

  // A flag is set when its upper-case letter occurs anywhere in the text: a lower-case "a" is not
  // the letter "A", and neither order nor repetition matters.
  static SideOptions OfSide(std::string_view letras) {
    return {Has(letras, 'N'), Has(letras, 'E'), Has(letras, 'A'), Has(letras, 'R')};
  }
  static TaskOptions Of(std::string_view leftOPT, std::string_view rightOPT,
                        std::string_view options) {
    return {OfSide(leftOPT), OfSide(rightOPT), Has(options, 'A'), Has(options, 'R'),
            Has(options, 'O')};
  }
  static TaskOptions Of(const clsTarea& tarea) {
    return Of(tarea.LeftOPT, tarea.RightOPT, tarea.OPTIONS);
  }

  // Whatever order they were read in, letters are written in one fixed order: N, E, A, R for a
  // side, A, R, O for the task.
  static std::string Letters(const SideOptions& side) {
    std::string letras;
    if (side.nuevos) letras += 'N';
    if (side.borrados) letras += 'E';
    if (side.actualizados) letras += 'A';
    if (side.subcarpetas) letras += 'R';
    return letras;
  }
  std::string TaskLetters() const {
    std::string letras;
    if (automatica) letras += 'A';
    if (soloLectura) letras += 'R';
    if (optimista) letras += 'O';
    return letras;
  }
  // The three letter texts of the task, and AutoRun with them.
  void ApplyTo(clsTarea& tarea) const {
    tarea.LeftOPT = Letters(usb);
    tarea.RightOPT = Letters(pc);
    tarea.OPTIONS = TaskLetters();
    tarea.AutoRun = automatica ? 1 : 0;
  }

 private:
  static bool Has(std::string_view letras, char letra) {
    return letras.find(letra) != std::string_view::npos;
  }
};

}  // namespace tandrel
