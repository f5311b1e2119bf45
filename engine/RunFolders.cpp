#include "engine/RunFolders.h"

#include "core/Platform.h"
#include "core/Text.h"
#include "engine/ExactSpelling.h"
#include "engine/TempNames.h"

namespace tandrel {

namespace {

const std::string* Match(const std::vector<std::string>& names, std::string_view part) {
  const auto chosen = PreferExactSpelling(names.begin(), names.end(), part);
  return chosen == names.end() ? nullptr : &*chosen;
}

}  // namespace

RunFolders::Listing& RunFolders::List(std::string_view folder) {
  auto [it, inserted] = folders_.try_emplace(WithoutTrailingSlashes(folder));
  if (!inserted) return it->second;
  // A folder that is not there yet lists as empty: the copy creates it.
  (void)fs_.ListFolder(it->first, scratch_, false);
  const std::string prefix = WithTrailingSlash(it->first);
  for (const auto& entry : scratch_) {
    if (IsTempCopyName(entry.name)) {
      // Left by a run that was interrupted: never a user's file, never the only copy of anything.
      (void)fs_.Unlink(prefix + entry.name);
      continue;
    }
    it->second[CaseFold(entry.name)].push_back(entry.name);
  }
  scratch_.clear();
  return it->second;
}

void RunFolders::PrepareFolder(std::string_view folder) { (void)List(folder); }

std::string RunFolders::NewFilePath(const std::string& root, std::string_view relativo,
                                    bool& exists) {
  std::string path = WithTrailingSlash(root);
  exists = false;
  while (!relativo.empty()) {
    const auto slash = relativo.find('/');
    const std::string_view part = relativo.substr(0, slash);
    relativo = slash == std::string_view::npos ? std::string_view() : relativo.substr(slash + 1);
    if (part.empty()) continue;

    const Listing& listing = List(path);
    const auto found = listing.find(CaseFold(part));
    const std::string* name = found == listing.end() ? nullptr : Match(found->second, part);
    path.append(name != nullptr ? std::string_view(*name) : part);
    if (relativo.empty()) {
      exists = name != nullptr;
    } else {
      path.push_back('/');
    }
  }
  return path;
}

void RunFolders::Record(const std::string& root, const std::string& path) {
  const std::string top = WithoutTrailingSlashes(root);
  std::size_t start = top == "/" ? 1 : top.size() + 1;
  while (start < path.size()) {
    const auto slash = path.find('/', start);
    const std::string_view folder = std::string_view(path).substr(0, start - 1);
    const std::string_view name =
        std::string_view(path).substr(start, slash == std::string::npos ? slash : slash - start);
    auto listed = folders_.find(std::string(folder.empty() ? "/" : folder));
    if (listed != folders_.end()) {
      auto& names = listed->second[CaseFold(name)];
      bool known = false;
      for (const auto& existing : names) known = known || existing == name;
      if (!known) names.emplace_back(name);
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
}

}  // namespace tandrel
