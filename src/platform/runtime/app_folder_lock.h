#pragma once
// The application folder held by one running program: an exclusive advisory
// lock on "kestrovane.lock" in the folder. The kernel releases it when the
// process ends, however it ends, so a lock left by a killed program is taken
// over by the next one without asking.
#include <filesystem>
#include <string>

namespace rt {

class AppFolderLock {
 public:
  // Takes the lock on the folder when no other program holds it.
  explicit AppFolderLock(const std::filesystem::path& folder);
  ~AppFolderLock();
  AppFolderLock(const AppFolderLock&) = delete;
  AppFolderLock& operator=(const AppFolderLock&) = delete;

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
