#pragma once
// A file held by one running program: an exclusive advisory lock (flock) on
// the file. The kernel releases it when the process ends, however it ends,
// so a lock left by a killed program is taken over by the next one without
// asking. A flock belongs to the file, not to the name it was reached by: a
// link, a bind mount or another spelling of the path finds the same lock.
// The application folder is held through a lock file in it, the database
// through its own file.
#include <filesystem>
#include <string>

namespace rt {

class ProgramLock {
 public:
  enum class Missing { Make, Fail };
  // Takes the lock on the file when no other program holds it; a missing
  // file is made, or fails the lock.
  explicit ProgramLock(const std::filesystem::path& file, Missing missing = Missing::Make);
  ~ProgramLock();
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // Not held because another program holds it.
  bool InUse() const { return inUse_; }
  // Not held for another reason: the system's words for it.
  const std::string& Failure() const { return failure_; }
  // The held file is the one at path, by whatever name.
  bool Holds(const std::filesystem::path& path) const;

 private:
  int fd_ = -1;
  bool inUse_ = false;
  std::string failure_;
};

}  // namespace rt
