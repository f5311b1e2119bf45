#pragma once
// One Tandrel at a time per database: an advisory lock (flock) on the database file itself, held
// from connection to shutdown, compaction included. On the file itself, so that nothing is left
// beside it on the stick and a write-protected folder can be locked too. flock is kept apart from
// the byte-range locks SQLite takes on the same file, so neither disturbs the other.
#include <string>

namespace tandrel {

class DatabaseLock {
 public:
  DatabaseLock() = default;
  ~DatabaseLock() { Unlock(); }
  DatabaseLock(const DatabaseLock&) = delete;
  DatabaseLock& operator=(const DatabaseLock&) = delete;

  enum class Result { Locked, InUse, NotLocked };
  // Takes the lock without waiting. InUse when another Tandrel holds it; NotLocked when the file
  // cannot be opened (the connection then says why) or its file system keeps no such locks.
  [[nodiscard]] Result Lock(const std::string& path);
  // Must come after every SQLite connection to the file is closed: closing a descriptor of a file
  // drops the byte-range locks this process holds on it.
  void Unlock();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace tandrel
