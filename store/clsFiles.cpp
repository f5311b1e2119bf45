#include "store/clsFiles.h"

#include "store/Conexion.h"
#include "store/Sentencias.h"
#include "store/Sqlite.h"

namespace tandrel {

clsFiles::clsFiles() { blank_.Access = "VOID"; }

std::string clsFiles::Carga(Conexion& conexion, const std::string& host, const std::string& task) {
  records_.clear();
  records_.shrink_to_fit();
  // New blocks, not cleared ones: the entries of the last analysis may still view the old.
  auto names = std::make_shared<NameBlocks>();
  names_ = names;
  index_.Clear();
  // A task text that is no whole number names no task: no row, and every file unknown.
  const auto id = IdDeTexto(task);
  if (!id) return {};

  // Allocated once at its size: growing by doubling would hold up to twice the room, and for a
  // moment three times, at 100,000 rows.
  const std::size_t cuenta = CuentaFicheros(conexion, host, *id);
  records_.reserve(cuenta);
  index_.Reserve(cuenta);
  sqlite::Statement filas;
  if (std::string error = AbreFicheros(conexion, host, *id, filas); !error.empty()) return error;
  const auto nameAt = [this](std::size_t i) -> std::string_view { return records_[i].file; };
  for (;;) {
    const auto paso = filas.Next();
    if (paso == sqlite::Statement::Step::Done) break;
    if (paso == sqlite::Statement::Step::Error) {
      std::string error = filas.LastError();
      records_.clear();
      names_ = std::make_shared<NameBlocks>();
      index_.Clear();
      return error;
    }
    // A NULL column reads as the empty text: the classifier then sees an unknown time or size.
    clsFile record;
    record.RowId = filas.Int(kFicRowId);
    record.file = names->Keep(filas.TextView(kFicFile));
    record.Creation = filas.TextView(kFicCreation);
    record.Last = filas.TextView(kFicLast);
    record.Access = filas.TextView(kFicAccess);
    record.Sync = filas.TextView(kFicSync);
    record.Size = filas.TextView(kFicSize);
    // A second row of one name stays out of the index: the first row is the one Item gives.
    (void)index_.Insert(record.file, records_.size(), nameAt);
    records_.push_back(std::move(record));
  }
  return {};
}

const clsFile& clsFiles::Item(std::string_view strFile) const {
  const std::size_t i =
      index_.Find(strFile, [this](std::size_t n) -> std::string_view { return records_[n].file; });
  return i == FoldedIndex::npos ? blank_ : records_[i];
}

}  // namespace tandrel
