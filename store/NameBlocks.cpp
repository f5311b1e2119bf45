#include "store/NameBlocks.h"

#include <algorithm>
#include <cstring>

namespace tandrel {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

std::string_view NameBlocks::Keep(std::string_view name) {
  if (name.empty()) return {};
  // A name longer than a block (only a hand-edited database has one) gets a block of its own.
  if (name.size() > free_) {
    const std::size_t block = std::max(kBlock, name.size());
    blocks_.emplace_back(new char[block]);
    free_ = block;
    blockSize_ = block;
  }
  char* kept = blocks_.back().get() + (blockSize_ - free_);
  std::memcpy(kept, name.data(), name.size());
  free_ -= name.size();
  return {kept, name.size()};
}

void NameBlocks::Clear() {
  blocks_.clear();
  blockSize_ = 0;
  free_ = 0;
}

}  // namespace tandrel
