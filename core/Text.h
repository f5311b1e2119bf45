#pragma once
// Text helpers on UTF-8: trimming, proper case and case folding on Unicode letters (utf8proc).
// Invalid UTF-8 never throws: bytes that are not part of a valid sequence pass through unchanged
// (ProperCase, CaseFold) or become U+FFFD (ToValidUtf8).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

// Spaces (only ' ') removed at both ends / at the right end.
std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);

// First character and every character after a space in upper case, every other letter in lower
// case; "my REPORT.TXT" gives "My Report.txt", "é" after a space gives "É".
std::string ProperCase(std::string_view name);

// The key under which two names are the same "without regard to case": Unicode simple case
// folding, one code point to one ("straße" and "strasse" stay different keys), and no
// normalisation ("é" as one code point and as "e" plus an accent stay different keys).
std::string CaseFold(std::string_view text);
// CaseFold(text) appended to out: no allocation of its own, for folding many names in a row.
void AppendCaseFold(std::string& out, std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Whether name lies below one of folders, each already case-folded and ending in "\".
bool BelowAnyFoldedFolder(std::string_view name, const std::vector<std::string>& folders);

// Upper-cases ASCII letters only (drive letters); everything else stays as it is.
std::string UpperAscii(std::string_view text);

// Number of code points (an invalid byte counts as one).
std::size_t CodePointCount(std::string_view text);
// Byte offset of the n-th code point (1-based); text.size() when n is past the end.
std::size_t ByteOffsetOfCodePoint(std::string_view text, std::size_t n);

// Every invalid sequence replaced by U+FFFD.
std::string ToValidUtf8(std::string_view text);

}  // namespace tandrel
