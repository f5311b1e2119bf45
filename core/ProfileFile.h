#pragma once
// The profile ("INI") file reader and writer behind the settings: sections in square brackets,
// "entry=value" lines. Unlike the usual INI libraries it quotes nothing, escapes nothing and knows
// no comment character, so a value such as "Microsoft.Jet.OLEDB.4.0;" reads back as written, and
// every line it does not set is written back byte for byte.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

class ProfileFile {
 public:
  // Longest value handed out, in characters: the 255-character buffer of the platform's profile
  // reader, less its NUL.
  static constexpr std::size_t kMaxValue = 254;

  // A missing file loads as an empty profile; a byte-order mark at its start is skipped (and so
  // never written back). False when the file exists but cannot be read:
  // writing the profile back would then wipe what could not be read.
  [[nodiscard]] bool Load(const std::string& path);

  // The value of the first entry named `entry` in a section named `section`, both matched without
  // regard to case: the text before a NUL, cut at kMaxValue characters, spaces at both ends
  // removed.
  // The empty text when there is no such entry.
  std::string Get(std::string_view section, std::string_view entry) const;

  // Replaces the value of that first entry in place, or adds the line at the end of the first
  // section of that name, or adds the section at the end of the file.
  void Set(std::string_view section, std::string_view entry, std::string_view value);

  // Writes every line back, each with the line end it was read with, through "Tmp_INI.tmp" beside
  // the file (see ReplaceWholeFile): a failed write leaves the old file whole. "" or the error.
  [[nodiscard]] std::string Save(const std::string& path) const;

 private:
  enum class Kind { Other, Section, Entry };
  struct Line {
    std::string text;
    std::string end;
    Kind kind = Kind::Other;
    std::string key;  // case-folded name of the section or entry
  };

  static Line Parse(std::string text, std::string end);
  std::size_t Find(std::string_view section, std::string_view entry) const;  // npos when missing
  void Insert(std::size_t at, std::string text);

  std::vector<Line> lines_;
  std::string lineEnd_ = "\r\n";  // for added lines: the file's own first line end, else CR LF
};

}  // namespace tandrel
