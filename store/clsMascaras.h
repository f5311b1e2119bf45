#pragma once
// The exclusion masks of one task: those of task 0 (every task) and of the task's own ID.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

class Conexion;

struct clsMascara {
  std::string MASK;
  std::int16_t Pos = 0;  // 0: anywhere; n >= 1: the text begins at code point n or later
};

class clsMascaras {
 public:
  // The masks of task 0 and of task, in the order they were entered. A row whose MASK is NULL is
  // left out (as the empty text it would exclude every file). A POS outside the 16-bit range is
  // held at its nearest end. Returns the error description, or "" (an error leaves no mask loaded).
  [[nodiscard]] std::string Carga(Conexion& conexion, std::int64_t task);
  // True when a mask is found in archivo (a full path); "\" and "/" count as the same character;
  // case-sensitive; positions count code points from 1, and a negative Pos counts as 0. An empty
  // mask matches every path at least Pos code points long.
  bool Comprueba(std::string_view archivo) const;
  std::size_t Count() const { return masks_.size(); }
  void Add(clsMascara mask) { masks_.push_back(std::move(mask)); }

 private:
  std::vector<clsMascara> masks_;
};

}  // namespace tandrel
