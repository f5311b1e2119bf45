#include "store/DatabaseLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tandrel {

DatabaseLock::Result DatabaseLock::Lock(const std::string& path) {
  Unlock();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Result::NotLocked;
  int rc = 0;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const bool inUse = errno == EWOULDBLOCK;
    ::close(fd);
    return inUse ? Result::InUse : Result::NotLocked;
  }
  fd_ = fd;
  return Result::Locked;
}

void DatabaseLock::Unlock() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace tandrel
