#pragma once
// A short text kept inline, for the many fixed-width texts of a file entry (times, sizes, codes):
// 100,000 entries must fit in a few tens of MiB, and a std::string costs 32 bytes before any text.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tandrel {

template <std::size_t N>
class FixedText {
  static_assert(N > 0 && N < 256);

 public:
  FixedText() = default;
  FixedText(std::string_view text) { assign(text); }  // NOLINT: reads like a text member
  FixedText(const char* text) { assign(text); }       // NOLINT
  FixedText(const std::string& text) { assign(text); }  // NOLINT

  FixedText& operator=(std::string_view text) { assign(text); return *this; }
  FixedText& operator=(const char* text) { assign(text); return *this; }
  FixedText& operator=(const std::string& text) { assign(text); return *this; }

  // Text longer than N is cut to N: every value the program makes fits, and a longer value read
  // from a hand-edited database only makes a comparison fail, never an overflow.
  void assign(std::string_view text) {
    len_ = static_cast<std::uint8_t>(std::min(text.size(), N));
    // A NULL column comes as an empty view without data, and memcpy from a null pointer is
    // undefined even for no bytes.
    if (len_ > 0) std::memcpy(buf_, text.data(), len_);
  }

  std::string_view view() const { return {buf_, len_}; }
  operator std::string_view() const { return view(); }  // NOLINT
  std::string str() const { return std::string(view()); }
  bool empty() const { return len_ == 0; }
  std::size_t size() const { return len_; }
  char operator[](std::size_t i) const { return buf_[i]; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const FixedText& a, const char* b) { return a.view() == std::string_view(b); }
  friend bool operator==(const FixedText& a, const std::string& b) { return a.view() == b; }
  friend auto operator<=>(const FixedText& a, const FixedText& b) { return a.view() <=> b.view(); }
  friend std::string operator+(const std::string& a, const FixedText& b) { return a + b.str(); }
  friend std::string operator+(const FixedText& a, const std::string& b) { return a.str() + b; }

 private:
  char buf_[N] = {};
  std::uint8_t len_ = 0;
};

}  // namespace tandrel
