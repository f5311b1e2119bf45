#pragma once
// The snapshot of one task on one computer, keyed by relative name without regard to case.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/FoldedIndex.h"
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

 private:
  std::string_view KeepName(std::string_view name);

  std::vector<clsFile> records_;
  // The names back to back in blocks: one allocation per block instead of one per name, and a
  // name never moves.
  std::vector<std::unique_ptr<char[]>> names_;
  std::size_t namesBlock_ = 0;  // size of the last block
  std::size_t namesFree_ = 0;   // room left in it
  FoldedIndex index_;  // records_ by case-folded name; a second row of a name is not indexed
  clsFile blank_;
};

}  // namespace tandrel
