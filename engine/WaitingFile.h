#pragma once
// One file that waits for another computer sharing a stick folder, and what waits: a small header
// of its own, so that the window's models can name it without the engine's collections.
#include <string>

namespace tandrel {

enum class Waiting { New, Changed, Deleted };

struct WaitingFile {
  std::string name;  // relative name
  Waiting what;
};

}  // namespace tandrel
