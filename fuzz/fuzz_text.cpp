// File names come from any file system and language files from any editor: the UTF-8 helpers see
// every kind of byte sequence. None may crash; proper case must name the same file without regard
// to case, and folding, proper case and repair must each be stable when applied twice.
#include <cstdint>

#include "core/Text.h"
#include "fuzz/FuzzSupport.h"

using namespace tandrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);

  const std::string valid = ToValidUtf8(input);
  FUZZ_CHECK(fuzz::IsValidUtf8(valid));
  FUZZ_CHECK(ToValidUtf8(valid) == valid);
  FUZZ_CHECK((valid == input) == fuzz::IsValidUtf8(input));
  FUZZ_CHECK(CodePointCount(valid) <= CodePointCount(input));

  const std::string folded = CaseFold(input);
  FUZZ_CHECK(CaseFold(folded) == folded);
  FUZZ_CHECK(fuzz::IsValidUtf8(folded) == fuzz::IsValidUtf8(input));

  // Scanned names are keyed by their proper case and looked up on disk by their fold: the two
  // must agree, or a file is not found under its own name.
  const std::string proper = ProperCase(input);
  FUZZ_CHECK(CaseFold(proper) == folded);
  FUZZ_CHECK(EqualsNoCase(proper, input));
  FUZZ_CHECK(ProperCase(proper) == proper);
  FUZZ_CHECK(CodePointCount(proper) == CodePointCount(input));
  FUZZ_CHECK(fuzz::IsValidUtf8(proper) == fuzz::IsValidUtf8(input));

  const std::size_t count = CodePointCount(input);
  FUZZ_CHECK(ByteOffsetOfCodePoint(input, count + 1) == input.size());
  std::size_t previous = 0;
  for (std::size_t n = 1; n <= count; ++n) {
    const std::size_t offset = ByteOffsetOfCodePoint(input, n);
    FUZZ_CHECK(offset >= previous && offset < input.size());
    FUZZ_CHECK(n == 1 || offset > previous);
    previous = offset;
    if (n > 64) break;  // the walk is quadratic; the first code points are enough
  }

  const std::string trimmed = Trim(input);
  FUZZ_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
  FUZZ_CHECK(TrimRight(input).size() >= trimmed.size());
  FUZZ_CHECK(UpperAscii(input).size() == input.size());
  return 0;
}
