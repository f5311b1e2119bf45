#pragma once
// The destination folders of one run: a file new on one side is created on the other under the
// real names already there (matched without regard to case), each folder is listed at most once,
// and the temporary files an interrupted run left in a folder go before the run first writes there.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Platform.h"  // ParentFolder, which callers pass to PrepareFolder
#include "engine/FileSystem.h"

namespace tandrel {

class RunFolders {
 public:
  explicit RunFolders(FileSystem& fs) : fs_(fs) {}

  // The real path a new file gets on the side that lacks it. root: that side's task folder as a
  // real path ending in "/"; relativo: the file's real path below the source side's root, parts
  // joined by "/". Each part takes the name of an entry already there that matches it without
  // regard to case (one spelt exactly alike wins), else the source's own spelling: a folder "docs"
  // receives the stick's "Docs/Plan.txt" as "docs/Plan.txt". `exists` tells whether the last part
  // matched an entry already there (of any kind).
  std::string NewFilePath(const std::string& root, std::string_view relativo, bool& exists);

  // Lists folder (a real path, with or without a trailing "/") unless this run did so already,
  // removing the temporary copies left there by an interrupted run. Call it before the first copy
  // into a folder.
  void PrepareFolder(std::string_view folder);

  // The run made path (below root): later look-ups in its folders see it.
  void Record(const std::string& root, const std::string& path);

 private:
  // One folder's names, by case fold; each key keeps its names in listing order.
  using Listing = std::unordered_map<std::string, std::vector<std::string>>;

  Listing& List(std::string_view folder);

  FileSystem& fs_;
  std::unordered_map<std::string, Listing> folders_;  // key: real path without trailing "/"
  std::vector<FolderEntry> scratch_;
};


}  // namespace tandrel
