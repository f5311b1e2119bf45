#pragma once
// The entries of the current analysis, kept in order of addition and keyed by Nombre without regard
// to case (Unicode case folding); every lookup is one hash lookup.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "store/NameBlocks.h"
#include "store/clsArchivo.h"
#include "store/clsFiles.h"

namespace tandrel {

class clsArchivos {
 public:
  clsArchivos() = default;
  clsArchivos(clsArchivos&& other) noexcept;
  clsArchivos& operator=(clsArchivos&& other) noexcept;

  // Adds the entry unless its Nombre is empty or already a key (the earlier entry stays). An entry
  // never moves once added: references from ITemID, Item and Find stay valid while the collection
  // lives.
  bool Add(clsArchivo archivo);
  // Add's way, but archivo is moved from only when it is added: a name already held leaves it as
  // it was, for the caller to weigh against the entry that holds the name.
  bool AddMoving(clsArchivo& archivo);
  bool Exist(std::string_view nombre) const;
  std::size_t Count() const { return count_; }
  // 1-based position, 1 to Count(), in order of addition.
  clsArchivo& ITemID(std::size_t id) { return At(id - 1); }
  const clsArchivo& ITemID(std::size_t id) const { return At(id - 1); }
  // The entry keyed nombre. Callers pass only present names (Find tells otherwise); an absent name
  // gives a blank scratch entry that belongs to no key. Nombre is the key: never change it through
  // ITemID or Item.
  clsArchivo& Item(std::string_view nombre);
  clsArchivo* Find(std::string_view nombre);
  const clsArchivo* Find(std::string_view nombre) const;
  // Entries added from now on whose name the snapshot spells the same view the snapshot's copy of
  // the name: most names are then kept once, not twice. The collection holds the snapshot's names
  // alive; snapshot itself must live while entries are added.
  void ShareNames(const clsFiles& snapshot);
  // Prepares the index for n entries (the entries themselves grow a block at a time anyway).
  void Reserve(std::size_t n);

 private:
  // Entries live in fixed blocks, not one vector: growth never copies 100,000 entries nor holds
  // twice their room for a moment, and an entry's address never changes.
  static constexpr std::size_t kBlock = 1024;
  clsArchivo& At(std::size_t i) { return blocks_[i / kBlock][i % kBlock]; }
  const clsArchivo& At(std::size_t i) const { return blocks_[i / kBlock][i % kBlock]; }

  std::vector<std::unique_ptr<clsArchivo[]>> blocks_;
  std::size_t count_ = 0;
  NameBlocks names_;  // the entries' names, back to back
  const clsFiles* snapshot_ = nullptr;
  std::shared_ptr<const NameBlocks> snapshotNames_;  // the names snapshot_ had when shared
  // An index over the entries keyed by case-folded name, without a second copy of every name.
  struct Index;
  struct IndexDeleter { void operator()(Index*) const; };
  std::unique_ptr<Index, IndexDeleter> index_;
};

}  // namespace tandrel
