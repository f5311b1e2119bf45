#pragma once
// A time or size text of an entry or a snapshot row in 8 bytes: "20090305070409" and "-1234" are
// kept as their digits' value, so 100,000 entries and rows hold numbers, not texts. Any other text
// (a hand-edited database's) is kept too, once for the whole program, so that every text reads back
// byte for byte as it was given and two values are equal exactly when their texts are.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/FixedText.h"

namespace tandrel {

class PackedText {
 public:
  static constexpr std::size_t kMaxSize = 14;

  PackedText() = default;
  PackedText(std::string_view text) { assign(text); }       // NOLINT: reads like a text member
  PackedText(const char* text) { assign(text); }            // NOLINT
  PackedText(const std::string& text) { assign(text); }     // NOLINT

  PackedText& operator=(std::string_view text) { assign(text); return *this; }
  PackedText& operator=(const char* text) { assign(text); return *this; }
  PackedText& operator=(const std::string& text) { assign(text); return *this; }

  // Text longer than kMaxSize is cut to it, as the fixed texts these values replace were.
  void assign(std::string_view text);
  // The text of `digits` decimal digits (leading zeros included) of value, after a "-" when
  // negative: the scan's times and sizes, made with no text at all. digits from 1 to kMaxSize,
  // fewer when negative; a value that does not fit in them is cut to its last digits.
  static PackedText Digits(std::uint64_t value, unsigned digits, bool negative = false);

  FixedText<kMaxSize> Text() const;
  std::string str() const { return Text().str(); }
  bool empty() const { return bits_ == 0; }
  // Orders as the texts would (byte by byte): the scan's times compare chronologically.
  int compare(const PackedText& other) const;

  friend bool operator==(const PackedText& a, const PackedText& b) { return a.bits_ == b.bits_; }
  friend bool operator==(const PackedText& a, std::string_view b) { return a == PackedText(b); }
  friend bool operator==(const PackedText& a, const char* b) { return a == PackedText(b); }
  friend std::string operator+(const std::string& a, const PackedText& b) { return a + b.str(); }
  friend std::string operator+(const PackedText& a, const std::string& b) { return a.str() + b; }

 private:
  // Bit 63 clear: bits 0-46 the digits' value (below 10^14), 48-51 their count, 52 a leading "-";
  // all zero is the empty text. Bit 63 set: the low 32 bits number a text of the shared pool.
  static constexpr std::uint64_t kPooled = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kNegative = std::uint64_t{1} << 52;
  static constexpr int kCountShift = 48;
  static constexpr std::uint64_t kValueMask = (std::uint64_t{1} << 47) - 1;

  unsigned DigitCount() const { return static_cast<unsigned>(bits_ >> kCountShift) & 0xF; }

  std::uint64_t bits_ = 0;
};

}  // namespace tandrel
