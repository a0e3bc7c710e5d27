#include "platform/runtime/program_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rt {

namespace {

int OpenToLock(const std::filesystem::path& file, ProgramLock::Missing missing) {
  // Not inherited by the programs this one starts (a report's viewer), so
  // they cannot keep the file locked after it ends.
  const int made = missing == ProgramLock::Missing::Make ? O_CREAT : 0;
  int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | made, 0644);
  // A flock needs no write access: a read-only file is held as well.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  return fd;
}

}  // namespace

ProgramLock::ProgramLock(const std::filesystem::path& file, Missing missing) {
  const int fd = OpenToLock(file, missing);
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

bool ProgramLock::Holds(const std::filesystem::path& path) const {
  struct stat held = {};
  struct stat other = {};
  return fd_ >= 0 && ::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &other) == 0 && held.st_dev == other.st_dev &&
         held.st_ino == other.st_ino;
}

}  // namespace rt
