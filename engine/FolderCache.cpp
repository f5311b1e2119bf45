#include "engine/FolderCache.h"

#include <algorithm>
#include <cerrno>
#include <functional>

#include "core/Text.h"
#include "engine/TempNames.h"

namespace tandrel {

namespace {

std::uint64_t HashOfFold(std::string_view fold) { return std::hash<std::string_view>{}(fold); }

// A folder that is simply not there (or is a file) makes everything below it missing; any other
// failure means we cannot tell, and nothing below it may be planned.
bool MeansAbsent(int error) { return error == -ENOENT || error == -ENOTDIR; }

}  // namespace

FolderCache::FolderCache(FileSystem& fs, std::string root) : fs_(fs), root_(std::move(root)) {}

const FolderCache::Folder& FolderCache::Listing(const std::string& path) {
  auto [it, added] = folders_.try_emplace(path);
  Folder& folder = it->second;
  if (!added) return folder;

  folder.error = fs_.ListFolder(path, scratch_, false);
  if (folder.error != 0) return folder;
  folder.names.reserve(scratch_.size());
  for (const FolderEntry& entry : scratch_) {
    // A copy's temporary file is the run's, never a user's file.
    if (IsTempCopyName(entry.name)) continue;
    folder.names.push_back({HashOfFold(CaseFold(entry.name)),
                            static_cast<std::uint32_t>(folder.text.size()),
                            static_cast<std::uint16_t>(entry.name.size()), entry.info.type});
    folder.text += entry.name;
  }
  std::stable_sort(folder.names.begin(), folder.names.end(),
                   [](const Name& a, const Name& b) { return a.foldHash < b.foldHash; });
  folder.text.shrink_to_fit();
  return folder;
}

const FolderCache::Name* FolderCache::Match(const Folder& folder, std::string_view part) const {
  const std::string fold = CaseFold(part);
  const std::uint64_t hash = HashOfFold(fold);
  auto it = std::lower_bound(folder.names.begin(), folder.names.end(), hash,
                             [](const Name& name, std::uint64_t h) { return name.foldHash < h; });
  const Name* first = nullptr;
  for (; it != folder.names.end() && it->foldHash == hash; ++it) {
    std::string_view candidate(folder.text.data() + it->offset, it->length);
    if (candidate == part) return &*it;
    // Equal hashes of different folds are possible: check the fold itself.
    if (first == nullptr && CaseFold(candidate) == fold) first = &*it;
  }
  return first;
}

void FolderCache::ResolveFolder(std::string_view relativeFolder) {
  if (memoValid_ && memoRelative_ == relativeFolder) return;
  memoValid_ = true;
  memoRelative_.assign(relativeFolder);
  memo_ = FolderResolution{};

  std::string path = root_;
  std::string_view rest = relativeFolder;
  for (;;) {
    const Folder& folder = Listing(path);
    if (folder.error != 0) {
      if (MeansAbsent(folder.error)) return;  // Missing
      memo_.outcome = Outcome::Unreadable;
      memo_.failedFolder = path;
      memo_.error = folder.error;
      return;
    }
    if (rest.empty()) {
      memo_.outcome = Outcome::Found;
      memo_.path = std::move(path);
      memo_.folder = &folder;
      return;
    }
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);

    const Name* name = Match(folder, part);
    if (name == nullptr) return;
    const std::string_view real(folder.text.data() + name->offset, name->length);
    EntryType type = name->type;
    if (type == EntryType::Unknown) {
      FileInfo info;
      if (fs_.Stat(path + std::string(real), info) == 0) type = info.type;
    }
    // A link to a folder is never entered, and a file where a folder should be hides nothing.
    if (type != EntryType::Folder) return;
    path.append(real).push_back('/');
  }
}

FolderCache::Result FolderCache::Find(std::string_view relative) {
  Result result;
  const std::size_t slash = relative.rfind('/');
  const std::string_view folderPart =
      slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash);
  const std::string_view filePart =
      slash == std::string_view::npos ? relative : relative.substr(slash + 1);

  ResolveFolder(folderPart);
  if (memo_.outcome == Outcome::Unreadable) {
    result.outcome = Outcome::Unreadable;
    result.folder = memo_.failedFolder;
    result.error = memo_.error;
    return result;
  }
  if (memo_.outcome == Outcome::Missing) return result;

  const Name* name = Match(*memo_.folder, filePart);
  if (name == nullptr) return result;
  result.name.assign(memo_.folder->text.data() + name->offset, name->length);
  result.path = memo_.path + result.name;
  const int error = fs_.Stat(result.path, result.info);
  if (error != 0) {
    if (!MeansAbsent(error)) {
      result.outcome = Outcome::Unreadable;
      result.folder = memo_.path;
      result.error = error;
    }
    result.path.clear();
    result.name.clear();
    return result;
  }
  result.outcome = Outcome::Found;
  return result;
}

}  // namespace tandrel
