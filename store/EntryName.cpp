#include "store/EntryName.h"

#include <cstring>
#include <ostream>
#include <utility>

namespace tandrel {

EntryName::EntryName(EntryName&& other) noexcept {
  if (!other.owned_) {
    // A view of a collection's blocks must not leave the collection that keeps them.
    Own(other.view());
    return;
  }
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  owned_ = std::exchange(other.owned_, false);
}

EntryName& EntryName::operator=(const EntryName& other) {
  if (this != &other) *this = EntryName(other);
  return *this;
}

EntryName& EntryName::operator=(EntryName&& other) noexcept {
  if (this == &other) return *this;
  Free();
  if (!other.owned_) {
    Own(other.view());
    return *this;
  }
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  owned_ = std::exchange(other.owned_, false);
  return *this;
}

void EntryName::KeepIn(NameBlocks& blocks) { ViewOf(blocks.Keep(view())); }

void EntryName::ViewOf(std::string_view kept) {
  Free();
  data_ = kept.data();
  size_ = static_cast<std::uint32_t>(kept.size());
}

void EntryName::Own(std::string_view text) {
  data_ = nullptr;
  size_ = static_cast<std::uint32_t>(text.size());
  owned_ = false;
  if (text.empty()) return;
  char* copy = new char[text.size()];
  std::memcpy(copy, text.data(), text.size());
  data_ = copy;
  owned_ = true;
}

void EntryName::Free() {
  if (owned_) delete[] data_;
  data_ = nullptr;
  size_ = 0;
  owned_ = false;
}

std::ostream& operator<<(std::ostream& out, const EntryName& name) { return out << name.view(); }

}  // namespace tandrel
