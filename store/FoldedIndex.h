#pragma once
// An index of positions keyed by the case-folded form of a name, for a collection that keeps its
// names itself: an open-addressing table of positions and 32-bit hashes, never a second copy of
// the names (100,000 entries must stay small). Every lookup is one hash lookup.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Text.h"

namespace tandrel {

// The 32-bit hash of a case-folded name (the key CaseFold gives), for every table that keeps
// folded names by hash: folds that are equal always hash alike.
inline std::uint32_t FoldedNameHash(std::string_view folded) {
  const std::uint64_t h = std::hash<std::string_view>{}(folded);
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

class FoldedIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  std::size_t Size() const { return count_; }
  void Clear() {
    slots_.clear();
    count_ = 0;
  }
  void Reserve(std::size_t n) {
    if (SlotsFor(n) > slots_.size()) Rehash(SlotsFor(n));
  }

  // The position whose name equals name without regard to case, or npos. nameAt(i) gives the name
  // the collection holds at position i.
  template <class NameAt>
  std::size_t Find(std::string_view name, NameAt&& nameAt) const {
    if (count_ == 0) return npos;
    const std::string& folded = Fold(name);
    return Probe(name, folded, FoldedNameHash(folded), nameAt).position;
  }

  // Indexes position under name; false (nothing changed) when a position already has that name.
  template <class NameAt>
  bool Insert(std::string_view name, std::size_t position, NameAt&& nameAt) {
    if (SlotsFor(count_ + 1) > slots_.size()) Rehash(SlotsFor(count_ + 1));
    const std::string& folded = Fold(name);
    const std::uint32_t hash = FoldedNameHash(folded);
    const Found found = Probe(name, folded, hash, nameAt);
    if (found.position != npos) return false;
    slots_[found.slot] = {static_cast<std::uint32_t>(position + 1), hash};
    ++count_;
    return true;
  }

 private:
  struct Slot {
    std::uint32_t position1 = 0;  // 0 free, else position + 1
    std::uint32_t hash = 0;       // of the folded name: most mismatches end here, and growing
                                  // the table needs no name again
  };
  struct Found {
    std::size_t position;
    std::size_t slot;  // where the probe ended: the free slot for a name not present
  };

  // The case fold of name. Folding goes code point by code point, so a name folds as its folder
  // part and its last part apart; names come folder by folder, and the folder part of the last
  // name is folded once for all of them.
  const std::string& Fold(std::string_view name) const {
    const std::size_t cut = name.rfind('\\') + 1;  // 0 when there is no folder part
    const std::string_view folder = name.substr(0, cut);
    if (folder != folderRaw_) {
      folderRaw_.assign(folder);
      folderFold_.clear();
      AppendCaseFold(folderFold_, folder);
    }
    folded_.assign(folderFold_);
    AppendCaseFold(folded_, name.substr(cut));
    return folded_;
  }

  // At most two slots in three in use keeps probe runs short (a slot's hash settles most probes
  // without a name), and lets a million names with some room to grow take 2^21 slots, not 2^22.
  static std::size_t SlotsFor(std::size_t count) {
    std::size_t slots = 16;
    while (slots * 2 < count * 3) slots *= 2;
    return slots;
  }

  template <class NameAt>
  Found Probe(std::string_view name, std::string_view folded, std::uint32_t hash,
              NameAt& nameAt) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position1 == 0) return {npos, i};
      if (slot.hash != hash) continue;
      // Most lookups spell the name exactly as it was added; only the others pay for a fold.
      const std::string_view candidate = nameAt(slot.position1 - 1);
      if (candidate == name || CaseFold(candidate) == folded) return {slot.position1 - 1, i};
    }
  }

  void Rehash(std::size_t slots) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(slots, Slot{});
    const std::size_t mask = slots - 1;
    for (const Slot& slot : old) {
      if (slot.position1 == 0) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].position1 != 0) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_;  // size a power of two
  std::size_t count_ = 0;
  mutable std::string folderRaw_, folderFold_, folded_;
};

}  // namespace tandrel
