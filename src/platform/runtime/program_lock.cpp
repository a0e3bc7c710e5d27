#include "platform/runtime/program_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rt {

ProgramLock::ProgramLock(const std::filesystem::path& lockFile) {
  // Not inherited by the programs this one starts (a report's viewer), so
  // they cannot keep the file locked after it ends.
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    failure_ = std::strerror(errno);
    return;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    inUse_ = errno == EWOULDBLOCK;
    if (!inUse_) failure_ = std::strerror(errno);
    ::close(fd);
    return;
  }
  fd_ = fd;
}

ProgramLock::~ProgramLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace rt
