#include "engine/FolderCache.h"

#include <algorithm>
#include <functional>

#include "core/Text.h"
#include "engine/ExactSpelling.h"
#include "engine/TempNames.h"
#include "store/FoldedIndex.h"

namespace tandrel {

namespace {

// The case fold of a name (the key CaseFold gives) into a reused buffer. Unicode case folding
// changes no ASCII character but A-Z, so a name all in ASCII needs no trip through its tables.
void FoldName(std::string_view name, std::string& out) {
  out.assign(name);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      out = CaseFold(name);
      return;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

}  // namespace

FolderCache::FolderCache(FileSystem& fs, std::string root, bool detailed)
    : fs_(fs), root_(std::move(root)), detailed_(detailed) {}

FolderCache::Folder& FolderCache::Listing(const std::string& path) {
  auto [it, added] = folders_.try_emplace(path);
  Folder& folder = it->second;
  if (!added) return folder;

  folder.error = fs_.ListFolder(path, scratch_, detailed_);
  if (folder.error != 0) return folder;
  folder.entries.reserve(scratch_.size());
  if (detailed_) folder.details.reserve(scratch_.size());
  for (const FolderEntry& item : scratch_) {
    // A copy's temporary file is the run's, never a user's file.
    if (IsTempCopyName(item.name)) continue;
    FoldName(item.name, fold_);
    const FileInfo& info = item.info;
    folder.entries.push_back({FoldedNameHash(fold_), static_cast<std::uint32_t>(folder.text.size()),
                              static_cast<std::uint16_t>(item.name.size()), info.type, false});
    if (detailed_) {
      folder.details.push_back({info.size, info.modified.sec, info.accessed.sec,
                                info.hasBirthTime ? info.born.sec : info.modified.sec,
                                static_cast<std::uint16_t>(info.mode)});
    }
    if (info.type != EntryType::Folder) ++folder.untaken;
    folder.text += item.name;
  }
  folder.byFold.resize(folder.entries.size());
  for (std::uint32_t i = 0; i < folder.byFold.size(); ++i) folder.byFold[i] = i;
  std::stable_sort(folder.byFold.begin(), folder.byFold.end(), [&](std::uint32_t a, std::uint32_t b) {
    return folder.entries[a].foldHash < folder.entries[b].foldHash;
  });
  folder.text.shrink_to_fit();
  return folder;
}

FileInfo FolderCache::InfoOf(const Folder& folder, const Entry& entry) const {
  const Detail& detail = folder.details[static_cast<std::size_t>(&entry - folder.entries.data())];
  FileInfo info;
  info.type = entry.type;
  info.size = detail.size;
  info.mode = detail.mode;
  info.modified = {detail.modified, 0};
  info.accessed = {detail.accessed, 0};
  info.born = {detail.created, 0};
  info.hasBirthTime = true;  // created already holds the last-write time where there is none
  return info;
}

void FolderCache::Take(Entry* entry) {
  if (entry->taken) return;
  entry->taken = true;
  const std::less<const Entry*> before;
  for (Place& place : memoPlaces_) {
    Folder* folder = place.folder;
    if (before(entry, folder->entries.data()) ||
        !before(entry, folder->entries.data() + folder->entries.size())) {
      continue;
    }
    if (entry->type != EntryType::Folder && --folder->untaken == 0) {
      folder->details.clear();
      folder->details.shrink_to_fit();
    }
    return;
  }
}

void FolderCache::MatchAll(Folder& folder, std::string_view part, std::vector<Entry*>& out) {
  out.clear();
  FoldName(part, fold_);
  const std::uint32_t hash = FoldedNameHash(fold_);
  auto it = std::lower_bound(
      folder.byFold.begin(), folder.byFold.end(), hash,
      [&](std::uint32_t i, std::uint32_t h) { return folder.entries[i].foldHash < h; });
  for (; it != folder.byFold.end() && folder.entries[*it].foldHash == hash; ++it) {
    Entry& candidate = folder.entries[*it];
    const std::string_view name = folder.Name(candidate);
    // Equal hashes of different folds are possible: check the fold itself.
    if (name != part) FoldName(name, candidateFold_);
    if (name == part || candidateFold_ == fold_) out.push_back(&candidate);
  }
  // Equal folds have equal hashes, and the stable sort kept those in listing order.
  const auto chosen = PreferExactSpelling(out.begin(), out.end(), part,
                                          [&](const Entry* e) { return folder.Name(*e); });
  if (chosen != out.end()) std::rotate(out.begin(), chosen, chosen + 1);
}

FolderCache::Entry* FolderCache::Match(Folder& folder, std::string_view part) {
  MatchAll(folder, part, candidates_);
  return candidates_.empty() ? nullptr : candidates_.front();
}

void FolderCache::ResolveFolder(std::string_view relativeFolder) {
  if (memoValid_ && memoRelative_ == relativeFolder) return;
  memoValid_ = true;
  memoRelative_.assign(relativeFolder);
  memoOutcome_ = Outcome::Missing;
  memoPlaces_.clear();

  // Level by level, every folder whose name matches the part: as a rule exactly one.
  level_.assign(1, root_);
  std::string_view rest = relativeFolder;
  for (;;) {
    for (const std::string& path : level_) {
      const Folder& folder = Listing(path);
      if (folder.error != 0 && !MeansAbsent(folder.error)) {
        memoOutcome_ = Outcome::Unreadable;
        memoFailedFolder_ = path;
        memoError_ = folder.error;
        return;
      }
    }
    if (rest.empty()) break;
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);

    nextLevel_.clear();
    std::string notAFolder;
    for (const std::string& path : level_) {
      Folder& folder = Listing(path);
      if (folder.error != 0) continue;  // gone: holds nothing
      MatchAll(folder, part, candidates_);
      for (const Entry* entry : candidates_) {
        const std::string_view real = folder.Name(*entry);
        EntryType type = entry->type;
        if (type == EntryType::Unknown) {
          FileInfo info;
          if (fs_.Stat(path + std::string(real), info) == 0) type = info.type;
        }
        if (type == EntryType::Folder) {
          nextLevel_.push_back(path + std::string(real) + "/");
        } else if (type != EntryType::Unknown && notAFolder.empty()) {
          notAFolder = path + std::string(real);
        }
      }
    }
    if (nextLevel_.empty()) {
      // A link to a folder is never entered; whatever stands in a folder's place may have taken
      // the folder's files elsewhere, and they must not look deleted.
      if (!notAFolder.empty()) {
        memoOutcome_ = Outcome::NotAFolder;
        memoFailedFolder_ = std::move(notAFolder);
        memoError_ = 0;
      }
      return;
    }
    level_.swap(nextLevel_);
  }
  for (const std::string& path : level_) {
    Folder& folder = Listing(path);
    if (folder.error == 0) memoPlaces_.push_back({&folder, path, RealPath::Folder(path)});
  }
  if (!memoPlaces_.empty()) memoOutcome_ = Outcome::Found;
}

FolderCache::Result FolderCache::Find(std::string_view folderPart, std::string_view filePart) {
  Result result;
  ResolveFolder(folderPart);
  if (memoOutcome_ == Outcome::Unreadable || memoOutcome_ == Outcome::NotAFolder) {
    result.outcome = memoOutcome_;
    result.folder = memoFailedFolder_;
    result.error = memoError_;
    return result;
  }
  if (memoOutcome_ == Outcome::Missing) return result;

  Entry* entry = nullptr;
  const Place* place = nullptr;
  for (const Place& candidate : memoPlaces_) {
    Entry* found = Match(*candidate.folder, filePart);
    // In a detailed listing Unknown means gone; otherwise only that the listing did not say.
    if (found == nullptr || (detailed_ && found->type == EntryType::Unknown)) continue;
    if (entry != nullptr) {
      result.outcome = Outcome::Twin;
      result.twins[0] = place->path + std::string(place->folder->Name(*entry));
      result.twins[1] = candidate.path + std::string(candidate.folder->Name(*found));
      return result;
    }
    entry = found;
    place = &candidate;
  }
  if (entry == nullptr) return result;
  Folder& folder = *place->folder;
  result.name = folder.Name(*entry);
  if (!folder.details.empty()) {
    result.info = InfoOf(folder, *entry);
  } else if (const int error = fs_.Stat(place->path + std::string(result.name), result.info);
             error != 0) {
    if (!MeansAbsent(error)) {
      result.outcome = Outcome::Unreadable;
      result.folder = place->path;
      result.error = error;
    }
    return result;
  }
  result.path = RealPath(place->shared, result.name);
  result.outcome = Outcome::Found;
  result.entry = entry;
  return result;
}

}  // namespace tandrel
