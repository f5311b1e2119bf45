#include "store/clsArchivos.h"

#include "store/FoldedIndex.h"

namespace tandrel {

struct clsArchivos::Index {
  FoldedIndex byName;
  // What Item gives for a name that is not a key: callers promise never to ask, and a stray call
  // then changes a scratch entry instead of another file's.
  clsArchivo spare;
};

void clsArchivos::IndexDeleter::operator()(Index* index) const { delete index; }

namespace {

auto NameAt(const std::vector<clsArchivo>& entries) {
  return [&entries](std::size_t i) -> std::string_view { return entries[i].Nombre; };
}

}  // namespace

bool clsArchivos::Add(clsArchivo archivo) {
  if (archivo.Nombre.empty()) return false;
  if (!index_) index_.reset(new Index);
  if (!index_->byName.Insert(archivo.Nombre, entries_.size(), NameAt(entries_))) return false;
  entries_.push_back(std::move(archivo));
  return true;
}

bool clsArchivos::Exist(std::string_view nombre) const { return Find(nombre) != nullptr; }

clsArchivo* clsArchivos::Find(std::string_view nombre) {
  return const_cast<clsArchivo*>(static_cast<const clsArchivos*>(this)->Find(nombre));
}

const clsArchivo* clsArchivos::Find(std::string_view nombre) const {
  if (!index_) return nullptr;
  const std::size_t i = index_->byName.Find(nombre, NameAt(entries_));
  return i == FoldedIndex::npos ? nullptr : &entries_[i];
}

clsArchivo& clsArchivos::Item(std::string_view nombre) {
  if (clsArchivo* archivo = Find(nombre)) return *archivo;
  if (!index_) index_.reset(new Index);
  index_->spare = clsArchivo{};
  return index_->spare;
}

void clsArchivos::Reserve(std::size_t n) {
  if (!index_) index_.reset(new Index);
  entries_.reserve(n);
  index_->byName.Reserve(n);
}

}  // namespace tandrel
