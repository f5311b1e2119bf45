#pragma once
// The single-entry lookup on one side of a task: finds a relative path whatever the case of its
// stored parts, listing each folder at most once per analysis. A lookup then costs a hash search
// per folder level and one stat, never a folder listing per file.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/FileSystem.h"

namespace tandrel {

class FolderCache {
 public:
  // root: the side's task folder as a real path ending in "/". The cache keeps a reference to fs.
  FolderCache(FileSystem& fs, std::string root);

  enum class Outcome { Found, Missing, Unreadable };

  struct Result {
    Outcome outcome = Outcome::Missing;
    std::string path;  // Found: the full real path of the entry
    std::string name;  // Found: its real name
    FileInfo info;     // Found: its own data (a link's or a folder's too: the caller decides)
    std::string folder;  // Unreadable: the real path of the folder that could not be read
    int error = 0;       // Unreadable: -errno of that failure
  };

  // relative: the path below the root as the other side really spells it, parts joined by "/".
  // Each part matches without regard to case; a part spelt exactly the same wins, else the first
  // in listing order. A folder on the way that cannot be listed (other than by being gone) gives
  // Unreadable: the caller must then plan nothing for the entry. Links on the way are not entered.
  Result Find(std::string_view relative);

  const std::string& Root() const { return root_; }

 private:
  struct Name {
    std::uint64_t foldHash;
    std::uint32_t offset;  // into Folder::text
    std::uint16_t length;
    EntryType type;  // as the listing reports it; Unknown when the file system does not say
  };
  // One listed folder: its names back to back in one text and an index sorted by the hash of their
  // case fold (listing order kept among equal hashes). About 16 bytes and the name per entry, so a
  // tree of 100,000 files costs a few MiB.
  struct Folder {
    int error = 0;
    std::string text;
    std::vector<Name> names;
  };
  struct FolderResolution {
    Outcome outcome = Outcome::Missing;
    std::string path;  // real path ending in "/"
    const Folder* folder = nullptr;
    std::string failedFolder;
    int error = 0;
  };

  const Folder& Listing(const std::string& path);
  const Name* Match(const Folder& folder, std::string_view part) const;
  void ResolveFolder(std::string_view relativeFolder);

  FileSystem& fs_;
  std::string root_;
  // Node-based: a Folder keeps its address while others are added.
  std::unordered_map<std::string, Folder> folders_;
  std::vector<FolderEntry> scratch_;
  // The files of one folder come one after the other: the last folder resolved is kept.
  bool memoValid_ = false;
  std::string memoRelative_;
  FolderResolution memo_;
};

}  // namespace tandrel
