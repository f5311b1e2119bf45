#pragma once
// The single-entry lookup on one side of a task: finds a relative path whatever the case of its
// stored parts, listing each folder at most once per analysis. A lookup then costs a hash search
// per folder level and at most one stat, never a folder listing per file.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/FileSystem.h"
#include "store/RealPath.h"

namespace tandrel {

class FolderCache {
 public:
  // root: the side's task folder as a real path ending in "/". The cache keeps a reference to fs.
  // detailed: every listing also takes each entry's data (one stat per entry, relative to the open
  // folder), so that a lookup needs no stat of its own and the side's own listing can be served
  // from the cache. About 60 bytes an entry until taken; the PC side is worth it, being looked up for almost
  // every file the USB side holds.
  FolderCache(FileSystem& fs, std::string root, bool detailed);

  // One name of a listed folder.
  struct Entry {
    std::uint32_t foldHash;
    std::uint32_t offset;  // of the name in Folder::text
    std::uint16_t length;
    EntryType type;        // Unknown: gone before it could be looked at
    bool taken;            // an entry of the analysis holds this file (see Take)
  };
  // The data of an entry when the cache is detailed (times in whole seconds: their texts drop the
  // fractions).
  struct Detail {
    std::uint64_t size;
    std::int64_t modified, accessed, created;
    std::uint16_t mode;
  };
  struct Folder {
    int error = 0;                      // -errno of the listing, or 0
    std::string text;                   // the names back to back
    std::vector<Entry> entries;         // in listing order
    std::vector<Detail> details;        // beside entries; emptied once every file is taken
    std::vector<std::uint32_t> byFold;  // positions in entries, ordered by foldHash
    std::uint32_t untaken = 0;          // entries other than folders not yet taken
    std::string_view Name(const Entry& entry) const {
      return {text.data() + entry.offset, entry.length};
    }
  };

  // NotAFolder: a part of the folder is a link or a file (a folder moved away, a link left in its
  // place); like Unreadable, nothing below it can be told apart from deleted. Twin: folders whose
  // names differ only in case are one folder for the keys, and two of them hold the name.
  enum class Outcome { Found, Missing, Unreadable, NotAFolder, Twin };
  struct Result {
    Outcome outcome = Outcome::Missing;
    RealPath path;          // Found: the full real path of the entry
    std::string_view name;  // Found: its real name (valid while the cache lives)
    FileInfo info;          // Found: its own data (a link's or a folder's too: the caller decides)
    Entry* entry = nullptr;  // Found: the cached entry, for Take
    std::string folder;     // Unreadable, NotAFolder: the real path of the folder that could not
                            // be read, or of the entry that stands where a folder was
    int error = 0;          // Unreadable: -errno of that failure
    std::string twins[2];   // Twin: the real paths of two files of that name
  };

  // relativeFolder: the folder below the root as the other side really spells it, parts joined and
  // ended by "/" ("" for the root); name: the file's name there. Each part matches without regard to case, in every folder whose name differs only in case
  // from the part; of names of one folder, one spelt exactly the same wins, else the first in
  // listing order. A folder on the way that cannot be listed (other than by being gone) gives
  // Unreadable, a link or file on the way NotAFolder: the caller must then plan nothing for the
  // entry. Links on the way are never entered.
  Result Find(std::string_view relativeFolder, std::string_view name);

  // The listing of a folder of this side (a real path ending in "/"), made on first use.
  Folder& Listing(const std::string& path);
  // The data of an entry not taken, from a detailed listing.
  FileInfo InfoOf(const Folder& folder, const Entry& entry) const;
  // Marks the entry of the last Find as held by an entry of the analysis. Once every file of its
  // folder is held, the folder's data is let go: only the names and the marks are looked at again.
  void Take(Entry* entry);

  const std::string& Root() const { return root_; }

 private:
  // A folder that a relative folder names (more than one where names differ only in case).
  struct Place {
    Folder* folder;
    std::string path;         // its real path, ending in "/"
    RealPath::Folder shared;  // path, shared by the paths found in it
  };

  Entry* Match(Folder& folder, std::string_view part);
  // Every entry of folder that matches part, in listing order but for the one PreferExactSpelling
  // chooses, which comes first.
  void MatchAll(Folder& folder, std::string_view part, std::vector<Entry*>& out);
  void ResolveFolder(std::string_view relativeFolder);

  FileSystem& fs_;
  std::string root_;
  bool detailed_;
  // Node-based: a Folder keeps its address while others are added.
  std::unordered_map<std::string, Folder> folders_;
  std::vector<FolderEntry> scratch_;
  std::string fold_;
  std::string candidateFold_;
  // The files of one folder come one after the other: the last folder resolved is kept.
  bool memoValid_ = false;
  std::string memoRelative_;
  Outcome memoOutcome_ = Outcome::Missing;
  std::vector<Place> memoPlaces_;  // Found: the folders of memoRelative_
  std::vector<std::string> level_, nextLevel_;
  std::vector<Entry*> candidates_;
  std::string memoFailedFolder_;
  int memoError_ = 0;
};

}  // namespace tandrel
