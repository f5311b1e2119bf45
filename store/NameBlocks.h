#pragma once
// Many names back to back in large blocks: one allocation per block instead of one per name, no
// per-name overhead, and a kept name never moves while the blocks live.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tandrel {

class NameBlocks {
 public:
  // A copy of name that lives as long as these blocks (until Clear or destruction).
  std::string_view Keep(std::string_view name);
  void Clear();

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockSize_ = 0;  // size of the last block
  std::size_t free_ = 0;       // room left in it
};

}  // namespace tandrel
