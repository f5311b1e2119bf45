#include "store/clsArchivos.h"

#include <utility>

#include "store/FoldedIndex.h"

namespace tandrel {

struct clsArchivos::Index {
  FoldedIndex byName;
  // What Item gives for a name that is not a key: callers promise never to ask, and a stray call
  // then changes a scratch entry instead of another file's.
  clsArchivo spare;
};

void clsArchivos::IndexDeleter::operator()(Index* index) const { delete index; }

clsArchivos::clsArchivos(clsArchivos&& other) noexcept
    : blocks_(std::move(other.blocks_)),
      count_(std::exchange(other.count_, 0)),
      names_(std::move(other.names_)),
      snapshot_(std::exchange(other.snapshot_, nullptr)),
      snapshotNames_(std::move(other.snapshotNames_)),
      index_(std::move(other.index_)) {}

clsArchivos& clsArchivos::operator=(clsArchivos&& other) noexcept {
  if (this != &other) {
    blocks_ = std::move(other.blocks_);
    count_ = std::exchange(other.count_, 0);
    names_ = std::move(other.names_);
    snapshot_ = std::exchange(other.snapshot_, nullptr);
    snapshotNames_ = std::move(other.snapshotNames_);
    index_ = std::move(other.index_);
  }
  return *this;
}

bool clsArchivos::Add(clsArchivo archivo) { return AddMoving(archivo); }

bool clsArchivos::AddMoving(clsArchivo& archivo) {
  if (archivo.Nombre.empty()) return false;
  if (!index_) index_.reset(new Index);
  const auto nameAt = [this](std::size_t i) -> std::string_view { return At(i).Nombre; };
  if (!index_->byName.Insert(archivo.Nombre, count_, nameAt)) return false;
  if (count_ == blocks_.size() * kBlock) blocks_.emplace_back(new clsArchivo[kBlock]);
  clsArchivo& added = At(count_);
  added = std::move(archivo);
  // Only while the snapshot still has the names it had when shared: the entries hold those.
  const clsFile* row = snapshot_ != nullptr && snapshot_->Names() == snapshotNames_
                           ? &snapshot_->Item(added.Nombre)
                           : nullptr;
  if (row != nullptr && row->file == added.Nombre.view() && !row->file.empty()) {
    added.Nombre.ViewOf(row->file);
  } else {
    added.Nombre.KeepIn(names_);
  }
  ++count_;
  return true;
}

bool clsArchivos::Exist(std::string_view nombre) const { return Find(nombre) != nullptr; }

clsArchivo* clsArchivos::Find(std::string_view nombre) {
  return const_cast<clsArchivo*>(static_cast<const clsArchivos*>(this)->Find(nombre));
}

const clsArchivo* clsArchivos::Find(std::string_view nombre) const {
  if (!index_) return nullptr;
  const std::size_t i = index_->byName.Find(
      nombre, [this](std::size_t n) -> std::string_view { return At(n).Nombre; });
  return i == FoldedIndex::npos ? nullptr : &At(i);
}

clsArchivo& clsArchivos::Item(std::string_view nombre) {
  if (clsArchivo* archivo = Find(nombre)) return *archivo;
  if (!index_) index_.reset(new Index);
  index_->spare = clsArchivo{};
  return index_->spare;
}

void clsArchivos::ShareNames(const clsFiles& snapshot) {
  snapshot_ = &snapshot;
  snapshotNames_ = snapshot.Names();
}

void clsArchivos::Reserve(std::size_t n) {
  if (!index_) index_.reset(new Index);
  index_->byName.Reserve(n);
  blocks_.reserve((n + kBlock - 1) / kBlock);
}

}  // namespace tandrel
