#pragma once
// The relative name of an entry in 16 bytes: a copy of its own while the entry is being made,
// then (once a clsArchivos holds the entry) a view of the collection's name blocks, so that
// 100,000 names cost their bytes and no allocation each.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "store/NameBlocks.h"

namespace tandrel {

class EntryName {
 public:
  EntryName() = default;
  EntryName(std::string_view text) { Own(text); }   // NOLINT: reads like a text member
  EntryName(const char* text) { Own(text); }        // NOLINT
  EntryName(const std::string& text) { Own(text); }  // NOLINT
  // A copy always has a copy of its own: it may outlive the collection that held the original.
  EntryName(const EntryName& other) { Own(other.view()); }
  EntryName(EntryName&& other) noexcept;
  EntryName& operator=(const EntryName& other);
  EntryName& operator=(EntryName&& other) noexcept;
  EntryName& operator=(std::string_view text) { return *this = EntryName(text); }
  EntryName& operator=(const char* text) { return *this = EntryName(text); }
  EntryName& operator=(const std::string& text) { return *this = EntryName(text); }
  ~EntryName() { Free(); }

  // Moves the text into blocks; the name is then valid while the blocks live.
  void KeepIn(NameBlocks& blocks);
  // Drops the name's own copy for kept, the same text kept elsewhere for longer than the name.
  void ViewOf(std::string_view kept);

  std::string_view view() const { return {data_, size_}; }
  operator std::string_view() const { return view(); }  // NOLINT
  operator std::string() const { return str(); }        // NOLINT: the views take a text
  std::string str() const { return std::string(view()); }
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }

  friend bool operator==(const EntryName& a, std::string_view b) { return a.view() == b; }
  friend std::string operator+(std::string a, const EntryName& b) { return a.append(b.view()); }
  friend std::string operator+(const char* a, const EntryName& b) {
    return std::string(a).append(b.view());
  }
  friend std::ostream& operator<<(std::ostream& out, const EntryName& name);

 private:
  void Own(std::string_view text);
  void Free();

  const char* data_ = nullptr;
  std::uint32_t size_ = 0;
  bool owned_ = false;  // data_ was allocated by this name
};

}  // namespace tandrel
