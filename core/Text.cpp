#include "core/Text.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdint>

namespace tandrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One step through UTF-8. `valid` false means the bytes at pos do not start a well-formed
// sequence; `length` is then the longest prefix of a sequence that could still have been valid
// (at least one byte), so that a cut sequence becomes one replacement character, not several.
struct Step {
  char32_t cp = 0;
  std::size_t length = 1;
  bool valid = false;
};

Step Decode(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return {lead, 1, true};

  std::size_t need = 0;
  char32_t cp = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;  // overlong
    if (lead == 0xED) hi = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;  // overlong
    if (lead == 0xF4) hi = 0x8F;  // past U+10FFFF
  } else {
    return {};
  }

  std::size_t i = 1;
  for (; i <= need; ++i) {
    if (pos + i >= text.size()) return {0, i, false};
    const unsigned char b = byte(pos + i);
    const unsigned char min = (i == 1) ? lo : 0x80;
    const unsigned char max = (i == 1) ? hi : 0xBF;
    if (b < min || b > max) return {0, i, false};
    cp = (cp << 6) | (b & 0x3F);
  }
  return {cp, need + 1, true};
}

void Append(std::string& out, char32_t cp) {
  utf8proc_uint8_t buf[4];
  const auto n = utf8proc_encode_char(static_cast<utf8proc_int32_t>(cp), buf);
  out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
}

// Full folding of one code point ("ß" gives "ss"); without the decompose options utf8proc neither
// normalises nor reorders, so two spellings of "é" stay two keys. The number of code points
// written, or -1 when utf8proc has no folding for it.
int FullFold(char32_t cp, utf8proc_int32_t (&folded)[4]) {
  int boundclass = 0;
  const auto n = utf8proc_decompose_char(static_cast<utf8proc_int32_t>(cp), folded, 4,
                                         UTF8PROC_CASEFOLD, &boundclass);
  return (n < 0 || n > 4) ? -1 : static_cast<int>(n);
}

// Simple folding: one code point to one, as NTFS and FAT compare names, so "straße" and
// "strasse" stay two files. utf8proc offers only full folding; where that gives one code point it
// is the simple one too. Where it gives more, the simple fold is the lower case letter when that
// letter has the same full fold ("ẞ" gives "ß"), else the letter itself ("ß", "ﬁ", and "İ", whose
// lower case "i" folds otherwise).
char32_t SimpleFold(char32_t cp) {
  utf8proc_int32_t folded[4];
  const int n = FullFold(cp, folded);
  if (n == 1) return static_cast<char32_t>(folded[0]);
  if (n < 1) return cp;
  const auto lower = static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
  if (lower == cp) return cp;
  utf8proc_int32_t lowerFolded[4];
  const int m = FullFold(lower, lowerFolded);
  return (m == n && std::equal(folded, folded + n, lowerFolded)) ? lower : cp;
}

bool SameFold(char32_t a, char32_t b) { return SimpleFold(a) == SimpleFold(b); }

// A few letters change their fold with their case: "İ" lowered is "i", "ı" raised is "I". Such a
// letter keeps its case, so the proper-cased name of a file is still its name without regard to
// case and is found on the other side.
char32_t ChangeCase(char32_t cp, bool upper) {
  const auto mapped = static_cast<char32_t>(upper ? utf8proc_toupper(static_cast<utf8proc_int32_t>(cp))
                                                  : utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
  return (mapped == cp || SameFold(mapped, cp)) ? mapped : cp;
}

bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string TrimRight(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  return std::string(text.substr(0, last + 1));
}

std::string ProperCase(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  bool startOfWord = true;
  for (std::size_t pos = 0; pos < name.size();) {
    const char c = name[pos];
    if (static_cast<unsigned char>(c) < 0x80) {  // the common case, without a table look-up
      if (startOfWord && IsAsciiLower(c)) {
        out += static_cast<char>(c - 'a' + 'A');
      } else if (!startOfWord && IsAsciiUpper(c)) {
        out += static_cast<char>(c - 'A' + 'a');
      } else {
        out += c;
      }
      startOfWord = (c == ' ');
      ++pos;
      continue;
    }
    const Step step = Decode(name, pos);
    if (step.valid) {
      Append(out, ChangeCase(step.cp, startOfWord));
    } else {
      out.append(name.substr(pos, step.length));
    }
    startOfWord = false;
    pos += step.length;
  }
  return out;
}

bool BelowAnyFoldedFolder(std::string_view name, const std::vector<std::string>& folders) {
  if (folders.empty()) return false;  // the usual case: no fold at all
  const std::string folded = CaseFold(name);
  return std::any_of(folders.begin(), folders.end(),
                     [&](const std::string& folder) { return folded.starts_with(folder); });
}

std::string CaseFold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendCaseFold(out, text);
  return out;
}

void AppendCaseFold(std::string& out, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    // A run of ASCII, most names whole, is appended at once and lowered in place.
    std::size_t end = pos;
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
    if (end > pos) {
      const std::size_t start = out.size();
      out.append(text.substr(pos, end - pos));
      for (std::size_t i = start; i < out.size(); ++i) {
        if (IsAsciiUpper(out[i])) out[i] = static_cast<char>(out[i] - 'A' + 'a');
      }
      pos = end;
      continue;
    }
    const Step step = Decode(text, pos);
    if (!step.valid) {
      out.append(text.substr(pos, step.length));
      pos += step.length;
      continue;
    }
    Append(out, SimpleFold(step.cp));
    pos += step.length;
  }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  return CaseFold(a) == CaseFold(b);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (IsAsciiLower(c)) c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const Step step = Decode(text, pos);
    count += step.valid ? 1 : step.length;  // every invalid byte counts as one
    pos += step.length;
  }
  return count;
}

std::size_t ByteOffsetOfCodePoint(std::string_view text, std::size_t n) {
  if (n <= 1) return 0;
  std::size_t seen = 1;
  for (std::size_t pos = 0; pos < text.size();) {
    const Step step = Decode(text, pos);
    const std::size_t advance = step.valid ? step.length : 1;
    pos += advance;
    if (++seen == n) return pos;
  }
  return text.size();
}

std::string ToValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const Step step = Decode(text, pos);
    if (step.valid) {
      out.append(text.substr(pos, step.length));
    } else {
      Append(out, kReplacement);
    }
    pos += step.length;
  }
  return out;
}

}  // namespace tandrel
