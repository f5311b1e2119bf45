#pragma once
// The snapshot of one task on one computer, keyed by relative name without regard to case.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/clsFile.h"

namespace tandrel {

class Conexion;

class clsFiles {
 public:
  clsFiles();
  // Replaces the records with the rows of FILES for this host and task (ID as decimal text).
  // Returns the error description, or "" (an error leaves the collection empty).
  std::string Carga(Conexion& conexion, const std::string& host, const std::string& task);
  // The record of that name (without regard to case: Unicode case folding), or the blank record
  // whose Access is "VOID". The reference lives until the next Carga.
  const clsFile& Item(std::string_view strFile) const;
  std::size_t Count() const { return records_.size(); }
  // Records by position (0-based), in the order of the query: for the run, which replaces rows.
  const clsFile& At(std::size_t i) const { return records_[i]; }

 private:
  std::vector<clsFile> records_;
  std::unordered_map<std::string, std::size_t> index_;  // case-folded name -> position
  clsFile blank_;
};

}  // namespace tandrel
