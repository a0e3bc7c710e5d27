#pragma once
// A file held by one running program: an exclusive advisory lock (flock) on
// a lock file, made when missing. The kernel releases it when the process
// ends, however it ends, so a lock left by a killed program is taken over by
// the next one without asking. The application folder and the database file
// are each held this way.
#include <filesystem>
#include <string>

namespace rt {

class ProgramLock {
 public:
  // Takes the lock on the file when no other program holds it.
  explicit ProgramLock(const std::filesystem::path& lockFile);
  ~ProgramLock();
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // Not held because another program holds it.
  bool InUse() const { return inUse_; }
  // Not held for another reason: the system's words for it.
  const std::string& Failure() const { return failure_; }

 private:
  int fd_ = -1;
  bool inUse_ = false;
  std::string failure_;
};

}  // namespace rt
