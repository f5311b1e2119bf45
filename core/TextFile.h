#pragma once
// Whole-file reading and writing, and the line splitting shared by the settings file and the
// language files: a line ends at CR LF, at LF or at CR alone, in any mix.
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

struct TextLine {
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n", "\r", or empty for a last line without one
};

// The lines of a text; a text that ends with a line end has no empty line after it.
std::vector<TextLine> SplitLines(std::string_view text);

// The whole file as bytes; false when it cannot be opened or read (a missing file included).
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& contents);
// Creates or empties the file and writes the bytes; false on any failure.
[[nodiscard]] bool WriteWholeFile(const std::string& path, std::string_view contents);
// Writes the bytes to `temporary` (a file in the same folder as path), flushes it to the disk and
// renames it over path, keeping path's permission bits: path is whole at every moment, the old one
// or the new one, even on a full disk or a stick pulled out. "" or a description naming the file;
// on failure path is as it was and the temporary file is gone.
[[nodiscard]] std::string ReplaceWholeFile(const std::string& path, const std::string& temporary,
                                           std::string_view contents);
// The text without the UTF-8 byte-order mark some editors put at the start of a file (and without
// the blank lines or further marks in front of it).
std::string_view SkipByteOrderMark(std::string_view text);

}  // namespace tandrel
