#pragma once
// Tandrel without a window: `Tandrel --tasks`, `--analyse ID`, `--sync ID`, `--auto`, `--peers ID`, `--help`.
// The same start-up and shutdown as the window, log lines on standard error, results on standard
// output. Exit status 0 on success, 1 when the result needs attention (conflicts, an alert), 2 when
// the program could not do what was asked.
#include <ostream>
#include <string>
#include <vector>

#include "core/Platform.h"

namespace tandrel {

class FileSystem;

struct CommandLineContext {
  std::string carpetaPrograma;
  std::string nombreEjecutable;
  MountTable mounts;
  FileSystem& fs;
  std::ostream& out;
  std::ostream& err;
};

// args without the program name; never empty.
int RunCommandLine(const std::vector<std::string>& args, const CommandLineContext& context);

// A name as one field of one line: control characters (TAB, newline...) become "?", as ls does.
std::string OneLineField(std::string_view text);

}  // namespace tandrel
