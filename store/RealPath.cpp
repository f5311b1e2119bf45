#include "store/RealPath.h"

#include <cstring>
#include <limits>
#include <ostream>

namespace tandrel {

struct RealPath::Folder::Shared {
  std::size_t users;
  std::string path;
};

RealPath::Folder::Folder(std::string_view path) {
  if (!path.empty()) shared_ = new Shared{1, std::string(path)};
}

std::string_view RealPath::Folder::view() const {
  return shared_ == nullptr ? std::string_view() : std::string_view(shared_->path);
}

void RealPath::Folder::Hold() {
  if (shared_ != nullptr) ++shared_->users;
}

void RealPath::Folder::Release() {
  if (shared_ != nullptr && --shared_->users == 0) delete shared_;
  shared_ = nullptr;
}

RealPath::RealPath(Folder folder, std::string_view name) : folder_(std::move(folder)) {
  SetName(name);
}

RealPath::RealPath(const RealPath& other) : folder_(other.folder_) { SetName(other.Name()); }

RealPath::RealPath(RealPath&& other) noexcept
    : folder_(std::move(other.folder_)), size_(other.size_) {
  std::memcpy(bytes_, other.bytes_, kInline);
  other.size_ = 0;
}

RealPath& RealPath::operator=(const RealPath& other) {
  if (this != &other) {
    folder_ = other.folder_;
    FreeName();
    SetName(other.Name());
  }
  return *this;
}

RealPath& RealPath::operator=(RealPath&& other) noexcept {
  if (this != &other) {
    folder_ = std::move(other.folder_);
    FreeName();
    size_ = other.size_;
    std::memcpy(bytes_, other.bytes_, kInline);
    other.size_ = 0;
  }
  return *this;
}

void RealPath::assign(std::string_view full) {
  std::size_t cut = full.rfind('/');
  cut = cut == std::string_view::npos ? 0 : cut + 1;
  // A name too long to count goes with the folder part: only the split point changes.
  if (full.size() - cut > std::numeric_limits<std::uint16_t>::max()) cut = full.size();
  folder_ = Folder(full.substr(0, cut));
  FreeName();
  SetName(full.substr(cut));
}

char* RealPath::Heap() const {
  char* heap;
  std::memcpy(&heap, bytes_, sizeof heap);
  return heap;
}

std::string_view RealPath::Name() const {
  return {Inline() ? bytes_ : Heap(), size_};
}

void RealPath::SetName(std::string_view name) {
  size_ = static_cast<std::uint16_t>(name.size());
  if (Inline()) {
    if (!name.empty()) std::memcpy(bytes_, name.data(), name.size());
    return;
  }
  char* heap = new char[name.size()];
  std::memcpy(heap, name.data(), name.size());
  std::memcpy(bytes_, &heap, sizeof heap);
}

void RealPath::FreeName() {
  if (!Inline()) delete[] Heap();
  size_ = 0;
}

std::string RealPath::str() const {
  std::string full;
  full.reserve(size());
  full.append(FolderPart()).append(Name());
  return full;
}

bool operator==(const RealPath& a, std::string_view b) {
  const std::string_view folder = a.FolderPart();
  return b.size() == a.size() && b.substr(0, folder.size()) == folder &&
         b.substr(folder.size()) == a.Name();
}

std::ostream& operator<<(std::ostream& out, const RealPath& path) {
  return out << path.FolderPart() << path.Name();
}

}  // namespace tandrel
