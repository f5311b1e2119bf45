#pragma once
// The snapshot of one task on one computer, keyed by relative name without regard to case.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/FoldedIndex.h"
#include "store/NameBlocks.h"
#include "store/clsFile.h"

namespace tandrel {

class Conexion;

class clsFiles {
 public:
  clsFiles();
  // Replaces the records with the rows of FILES for this host and task (ID as decimal text).
  // Returns the error description, or "" (an error leaves the collection empty).
  [[nodiscard]] std::string Carga(Conexion& conexion, const std::string& host, const std::string& task);
  // The record of that name (without regard to case: Unicode case folding), or the blank record
  // whose Access is "VOID". The reference lives until the next Carga.
  const clsFile& Item(std::string_view strFile) const;
  std::size_t Count() const { return records_.size(); }
  // Records by position (0-based), in the order of the query: for the run, which replaces rows.
  // Every row is here, also a second row of one name that Item never gives (the first one wins),
  // so that a run replaces them all.
  const clsFile& At(std::size_t i) const { return records_[i]; }
  // The blocks that hold the names. An analysis's entries that spell a name as the snapshot does
  // view it here instead of keeping a copy, and hold these blocks alive past the next Carga.
  const std::shared_ptr<const NameBlocks>& Names() const { return names_; }

 private:
  std::vector<clsFile> records_;
  std::shared_ptr<const NameBlocks> names_;
  FoldedIndex index_;  // records_ by case-folded name; a second row of a name is not indexed
  clsFile blank_;
};

}  // namespace tandrel
