#pragma once
// The name of a copy's temporary file: ".tandrel-" followed by 8 lower-case hex digits and ".tmp".
// Specific enough that no user's file takes it by chance, and short and of fixed length, so that
// a copy into a folder whose file names already use all 255 bytes still finds room. The scan never
// enters such files; the run makes them and clears those an interrupted run left behind.
#include <cstdint>
#include <string>
#include <string_view>

namespace tandrel {

inline constexpr std::string_view kTempCopyPrefix = ".tandrel-";
inline constexpr std::string_view kTempCopySuffix = ".tmp";
inline constexpr std::size_t kTempCopyNameLength = kTempCopyPrefix.size() + 8 + kTempCopySuffix.size();

inline bool IsTempCopyName(std::string_view name) {
  if (name.size() != kTempCopyNameLength || !name.starts_with(kTempCopyPrefix) ||
      !name.ends_with(kTempCopySuffix)) {
    return false;
  }
  for (char c : name.substr(kTempCopyPrefix.size(), 8)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// The temporary name for a number (any 32 bits; the run draws them at random).
inline std::string TempCopyName(std::uint32_t number) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name(kTempCopyPrefix);
  for (int shift = 28; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
  name += kTempCopySuffix;
  return name;
}

}  // namespace tandrel
