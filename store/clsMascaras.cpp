#include "store/clsMascaras.h"

#include <algorithm>
#include <limits>

#include "core/Platform.h"
#include "core/Text.h"
#include "store/Conexion.h"
#include "store/Sentencias.h"
#include "store/Sqlite.h"

namespace tandrel {

namespace {

// A mask written on one computer with "\" must match a path built on another with "/".
bool MismoCaracter(char a, char b) { return a == b || (IsSeparator(a) && IsSeparator(b)); }

std::int16_t PosicionDe(std::int64_t valor) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(
      valor, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

std::string clsMascaras::Carga(Conexion& conexion, std::int64_t task) {
  masks_.clear();
  sqlite::Statement filas;
  if (std::string error = AbreMascaras(conexion, task, filas); !error.empty()) return error;
  for (;;) {
    const auto paso = filas.Next();
    if (paso == sqlite::Statement::Step::Done) return {};
    if (paso == sqlite::Statement::Step::Error) {
      masks_.clear();
      return filas.LastError();
    }
    // A row without a mask is a row half entered by hand; as the empty text it would exclude
    // every file of every task, so it is left out.
    if (filas.IsNull(kMasMask)) continue;
    clsMascara mask;
    mask.MASK = filas.Text(kMasMask);
    // POS beyond the 16-bit range is held at its nearest end: a huge start never matches.
    mask.Pos = PosicionDe(LeeEntero(filas, kMasPos).value_or(0));
    masks_.push_back(std::move(mask));
  }
}

bool clsMascaras::Comprueba(std::string_view archivo) const {
  for (const clsMascara& mask : masks_) {
    // A negative start searches the whole path, like 0.
    const std::size_t inicio = mask.Pos > 1 ? static_cast<std::size_t>(mask.Pos) : 1;
    const std::size_t desde = ByteOffsetOfCodePoint(archivo, inicio);
    if (desde >= archivo.size()) continue;  // the path is shorter than the start position
    const std::string_view resto = archivo.substr(desde);
    if (std::search(resto.begin(), resto.end(), mask.MASK.begin(), mask.MASK.end(),
                    MismoCaracter) != resto.end()) {
      return true;
    }
  }
  return false;
}

}  // namespace tandrel
