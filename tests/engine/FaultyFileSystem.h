#pragma once
// The real file system with chosen folders made unreadable: the listing of a named folder fails
// with the given error, whoever runs the test (root reads a chmod 000 folder all the same).
#include <map>
#include <string>

#include "engine/PosixFileSystem.h"

namespace tandrel::test {

class FaultyFileSystem : public PosixFileSystem {
 public:
  // folder: a full path, with or without its trailing "/"; error: -errno.
  void FailListing(std::string folder, int error) { failures_[Normal(std::move(folder))] = error; }

  int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                 bool withDetails) override {
    if (auto it = failures_.find(Normal(folder)); it != failures_.end()) {
      entries.clear();
      return it->second;
    }
    return PosixFileSystem::ListFolder(folder, entries, withDetails);
  }

 private:
  static std::string Normal(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  std::map<std::string, int> failures_;
};

}  // namespace tandrel::test
