#pragma once
// The entries of the current analysis, kept in order of addition and keyed by Nombre without regard
// to case (Unicode case folding); every lookup is one hash lookup.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "store/clsArchivo.h"

namespace tandrel {

class clsArchivos {
 public:
  // Adds the entry unless its Nombre is empty or already a key (the earlier entry stays).
  bool Add(clsArchivo archivo);
  bool Exist(std::string_view nombre) const;
  std::size_t Count() const { return entries_.size(); }
  // 1-based position, 1 to Count(), in order of addition.
  clsArchivo& ITemID(std::size_t id) { return entries_[id - 1]; }
  const clsArchivo& ITemID(std::size_t id) const { return entries_[id - 1]; }
  // The entry keyed nombre. Callers pass only present names (Find tells otherwise); an absent name
  // gives a blank scratch entry that belongs to no key. Nombre is the key: never change it through
  // ITemID or Item.
  clsArchivo& Item(std::string_view nombre);
  clsArchivo* Find(std::string_view nombre);
  const clsArchivo* Find(std::string_view nombre) const;
  void Reserve(std::size_t n);

 private:
  // Implementation defined by the store: an index over entries_ keyed by case-folded name, without
  // a second copy of every name (memory matters at 100,000 entries).
  std::vector<clsArchivo> entries_;
  struct Index;
  struct IndexDeleter { void operator()(Index*) const; };
  std::unique_ptr<Index, IndexDeleter> index_;
};

}  // namespace tandrel
