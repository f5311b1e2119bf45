#include "core/PackedText.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <unordered_map>

namespace tandrel {

namespace {

constexpr std::uint64_t kPowers[] = {1,
                                     10,
                                     100,
                                     1000,
                                     10000,
                                     100000,
                                     1000000,
                                     10000000,
                                     100000000,
                                     1000000000,
                                     10000000000,
                                     100000000000,
                                     1000000000000,
                                     10000000000000,
                                     100000000000000};

// The texts that are no plain number: each kept once, numbered in order of arrival, for as long as
// the program runs. Only a hand-edited database or a time outside the years 0-9999 has any.
class TextPool {
 public:
  std::uint32_t Number(std::string_view text) {
    const std::lock_guard lock(mutex_);
    const auto found = numbers_.find(text);
    if (found != numbers_.end()) return found->second;
    const auto number = static_cast<std::uint32_t>(texts_.size());
    // A deque never moves its texts: the map's keys point into them.
    numbers_.emplace(texts_.emplace_back(text), number);
    return number;
  }
  FixedText<PackedText::kMaxSize> Text(std::uint32_t number) {
    const std::lock_guard lock(mutex_);
    return texts_[number];
  }

 private:
  std::mutex mutex_;
  std::deque<std::string> texts_;
  std::unordered_map<std::string_view, std::uint32_t> numbers_;
};

TextPool& Pool() {
  static TextPool pool;
  return pool;
}

}  // namespace

void PackedText::assign(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxSize));
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  std::uint64_t value = 0;
  bool plain = !negative || !digits.empty();
  for (const char c : digits) {
    if (c < '0' || c > '9') {
      plain = false;
      break;
    }
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (plain) {
    bits_ = value | (std::uint64_t{digits.size()} << kCountShift) | (negative ? kNegative : 0);
  } else {
    bits_ = kPooled | Pool().Number(text);
  }
}

PackedText PackedText::Digits(std::uint64_t value, unsigned digits, bool negative) {
  digits = std::clamp(digits, 1u, static_cast<unsigned>(kMaxSize) - (negative ? 1 : 0));
  PackedText packed;
  packed.bits_ = (value % kPowers[digits]) | (std::uint64_t{digits} << kCountShift) |
                 (negative ? kNegative : 0);
  return packed;
}

FixedText<PackedText::kMaxSize> PackedText::Text() const {
  if ((bits_ & kPooled) != 0) return Pool().Text(static_cast<std::uint32_t>(bits_));
  char buffer[kMaxSize];
  std::size_t size = 0;
  if ((bits_ & kNegative) != 0) buffer[size++] = '-';
  std::uint64_t value = bits_ & kValueMask;
  const unsigned count = DigitCount();
  for (unsigned i = count; i > 0; --i) {
    buffer[size + i - 1] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return std::string_view(buffer, size + count);
}

int PackedText::compare(const PackedText& other) const {
  // Two unsigned numbers of as many digits order as their values: the scan's own times always.
  const std::uint64_t shape = kPooled | kNegative | (std::uint64_t{0xF} << kCountShift);
  if ((bits_ & shape) == (other.bits_ & shape) && (bits_ & (kPooled | kNegative)) == 0) {
    const std::uint64_t a = bits_ & kValueMask, b = other.bits_ & kValueMask;
    return a < b ? -1 : (a > b ? 1 : 0);
  }
  return Text().view().compare(other.Text().view());
}

}  // namespace tandrel
