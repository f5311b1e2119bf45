#pragma once
// Helpers shared by the fault suites: a small tmpfs mounted for one test (a full disk, a read-only
// file system, a second device below a task folder), an immutable file, the check that a tree
// holds only whole versions of its files, and SQLite's own verdict on a database file.
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tandrel::test {

using Names = std::map<std::string, std::string>;

// A tmpfs of `size` ("1m") mounted over `where` (an existing folder) until the object goes. Needs
// root, or a user namespace that allows it; Error() tells why it is not mounted.
class TmpfsMount {
 public:
  TmpfsMount(std::string where, const char* size);
  ~TmpfsMount() { Unmount(); }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Error() const { return error_; }
  // Read-only or writable again; "" or the reason it failed.
  std::string Remount(bool readOnly);
  void Unmount();

 private:
  std::string where_;
  bool mounted_ = false;
  std::string error_;
};

// Sets or clears the immutable flag (chattr +i / -i); "" or why it cannot be done here.
std::string SetImmutable(const std::string& path, bool on);

// Every file of tree is its version in before or in after (a temporary copy is left out), and
// every file that is in both before and after is still there. side names the tree in messages.
void ExpectWhole(const Names& tree, const Names& before, const Names& after, const char* side);

// The first line of PRAGMA integrity_check ("ok" for a sound database), or the open error.
std::string IntegrityCheck(const std::string& databasePath);

}  // namespace tandrel::test
