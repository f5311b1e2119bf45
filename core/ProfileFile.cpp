#include "core/ProfileFile.h"

#include <cerrno>

#include "core/Platform.h"
#include "core/Text.h"
#include "core/TextFile.h"
#include "core/modArchivoINI.h"

namespace tandrel {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// A value may not break the file into two lines: a line break typed into a text box becomes a
// space.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

ProfileFile::Line ProfileFile::Parse(std::string text, std::string end) {
  Line line{std::move(text), std::move(end), Kind::Other, {}};
  const std::string_view body = TrimBlanks(line.text);
  if (!body.empty() && body.front() == '[') {
    const auto close = body.find(']');
    const auto name = body.substr(1, close == std::string_view::npos ? close : close - 1);
    line.kind = Kind::Section;
    line.key = CaseFold(TrimBlanks(name));
    return line;
  }
  const auto equals = body.find('=');
  if (equals != std::string_view::npos) {
    const auto name = TrimBlanks(body.substr(0, equals));
    if (!name.empty()) {
      line.kind = Kind::Entry;
      line.key = CaseFold(name);
    }
  }
  return line;
}

bool ProfileFile::Load(const std::string& path) {
  lines_.clear();
  lineEnd_ = "\r\n";
  std::string contents;
  if (!ReadWholeFile(path, contents)) return errno == ENOENT;
  bool endSeen = false;
  for (const TextLine& line : SplitLines(SkipByteOrderMark(contents))) {
    if (!endSeen && !line.end.empty()) {
      lineEnd_ = std::string(line.end);
      endSeen = true;
    }
    lines_.push_back(Parse(std::string(line.text), std::string(line.end)));
  }
  return true;
}

std::size_t ProfileFile::Find(std::string_view section, std::string_view entry) const {
  const std::string foldedSection = CaseFold(section);
  const std::string foldedEntry = CaseFold(entry);
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Section) {
      inSection = line.key == foldedSection;
    } else if (inSection && line.kind == Kind::Entry && line.key == foldedEntry) {
      return i;
    }
  }
  return std::string::npos;
}

std::string ProfileFile::Get(std::string_view section, std::string_view entry) const {
  const std::size_t at = Find(section, entry);
  if (at == std::string::npos) return {};
  const std::string& text = lines_[at].text;
  const std::string_view value = TrimBlanks(std::string_view(text).substr(text.find('=') + 1));
  const std::string beforeNul = CortaNulo(value);
  // Trimmed again the same way: what the NUL or the length cut leaves at the end would otherwise
  // be trimmed only at the next start, and a value would change between two runs.
  const std::string_view cut =
      std::string_view(beforeNul).substr(0, ByteOffsetOfCodePoint(beforeNul, kMaxValue + 1));
  return std::string(TrimBlanks(cut));
}

void ProfileFile::Insert(std::size_t at, std::string text) {
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = lineEnd_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Parse(std::move(text), lineEnd_));
}

void ProfileFile::Set(std::string_view section, std::string_view entry, std::string_view value) {
  const std::string line = std::string(entry) + "=" + OneLine(value);
  if (const std::size_t at = Find(section, entry); at != std::string::npos) {
    lines_[at] = Parse(line, lines_[at].end);
    return;
  }

  // The new line goes after the last non-blank line of the first section of that name, so the
  // blank line that separates it from the next section stays where it is.
  const std::string foldedSection = CaseFold(section);
  std::size_t header = std::string::npos;
  for (std::size_t i = 0; i < lines_.size() && header == std::string::npos; ++i) {
    if (lines_[i].kind == Kind::Section && lines_[i].key == foldedSection) header = i;
  }
  if (header == std::string::npos) {
    Insert(lines_.size(), "[" + std::string(section) + "]");
    Insert(lines_.size(), line);
    return;
  }
  std::size_t after = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i) {
    if (!TrimBlanks(lines_[i].text).empty()) after = i + 1;
  }
  Insert(after, line);
}

std::string ProfileFile::Save(const std::string& path) const {
  std::string contents;
  for (const Line& line : lines_) {
    contents += line.text;
    contents += line.end;
  }
  return ReplaceWholeFile(path, WithTrailingSlash(ParentFolder(path)) + "Tmp_INI.tmp", contents);
}

}  // namespace tandrel
