#pragma once
// A full real path kept small: the folder part shared by every path of that folder, the last name
// inline. 100,000 entries hold two paths each, and most of a path is its folder.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tandrel {

class RealPath {
 public:
  // The folder part of many paths (a real path ending in "/"), counted by its users.
  class Folder {
   public:
    Folder() = default;
    explicit Folder(std::string_view path);
    Folder(const Folder& other) : shared_(other.shared_) { Hold(); }
    Folder(Folder&& other) noexcept : shared_(other.shared_) { other.shared_ = nullptr; }
    Folder& operator=(Folder other) noexcept {
      std::swap(shared_, other.shared_);
      return *this;
    }
    ~Folder() { Release(); }
    std::string_view view() const;

   private:
    friend class RealPath;
    struct Shared;
    void Hold();
    void Release();
    Shared* shared_ = nullptr;
  };

  RealPath() = default;
  RealPath(std::string_view full) { assign(full); }    // NOLINT: reads like a text member
  RealPath(const char* full) { assign(full); }         // NOLINT
  RealPath(const std::string& full) { assign(full); }  // NOLINT
  RealPath(Folder folder, std::string_view name);
  RealPath(const RealPath& other);
  RealPath(RealPath&& other) noexcept;
  RealPath& operator=(const RealPath& other);
  RealPath& operator=(RealPath&& other) noexcept;
  ~RealPath() { FreeName(); }

  // Splits at the last "/": a text without one is all name.
  void assign(std::string_view full);
  RealPath& operator=(std::string_view full) { assign(full); return *this; }
  RealPath& operator=(const char* full) { assign(full); return *this; }
  RealPath& operator=(const std::string& full) { assign(full); return *this; }

  std::string_view FolderPart() const { return folder_.view(); }
  std::string_view Name() const;
  const Folder& SharedFolder() const { return folder_; }
  std::size_t size() const { return FolderPart().size() + size_; }
  bool empty() const { return size() == 0; }
  std::string str() const;
  operator std::string() const { return str(); }  // NOLINT: the file operations take a text

  friend bool operator==(const RealPath& a, std::string_view b);
  friend bool operator==(const RealPath& a, const std::string& b) {
    return a == std::string_view(b);
  }
  friend bool operator==(const RealPath& a, const char* b) { return a == std::string_view(b); }
  friend bool operator==(const RealPath& a, const RealPath& b) {
    return a == std::string_view(b.str());
  }
  friend std::ostream& operator<<(std::ostream& out, const RealPath& path);

 private:
  // Most file names fit here: the whole path then costs no allocation of its own.
  static constexpr std::size_t kInline = 22;
  void SetName(std::string_view name);
  void FreeName();
  bool Inline() const { return size_ <= kInline; }
  char* Heap() const;

  Folder folder_;
  std::uint16_t size_ = 0;
  // The name itself, or (longer than kInline) the address of its own copy: kept as bytes so that
  // the whole path stays 32 bytes.
  char bytes_[kInline] = {};
};

}  // namespace tandrel
