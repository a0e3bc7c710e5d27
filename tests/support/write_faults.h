#pragma once
// The lasting write failures a run can meet, made on the shared connection
// of a test: a full disk (the database may not grow by a page), a read-only
// database, another connection holding the write lock past a short busy
// timeout, and a damaged table (Missing_Days, which the database must not
// hold yet, made so that every statement on it finds the wrong kind of
// page). Apply() makes every later write that needs it fail; the object
// undoes the fault when it ends.
#include <linux/capability.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "platform/db/connection.h"

namespace testsupport {

enum class WriteFault { kDiskFull, kReadOnly, kLockHeld, kDamagedTable };

class InjectedWriteFault {
 public:
  // A full disk leaves room for sparePages more pages of the database.
  explicit InjectedWriteFault(WriteFault fault, int sparePages = 0) : fault_(fault), sparePages_(sparePages) {}
  ~InjectedWriteFault();
  InjectedWriteFault(const InjectedWriteFault&) = delete;
  InjectedWriteFault& operator=(const InjectedWriteFault&) = delete;

  // Call while the shared connection has no write transaction open (a held
  // lock would otherwise wait for it).
  void Apply();
  // The database works again (the lock is released, the disk has room).
  void Undo();
  // Words that a message about this fault names it by.
  const char* Cause() const;
  // A name for test traces.
  const char* Name() const;

 private:
  WriteFault fault_;
  int sparePages_;
  bool applied_ = false;
  std::unique_ptr<db::Connection> lockHolder_;
};

// A full disk for this process while the object lives: no file may grow past
// `bytes`, and a write beyond fails with "File too large".
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();

 private:
  rlimit previous_{};
};

// File permissions hold for this process while the object lives, also when
// it runs as root (which otherwise writes into a read-only folder).
class PermissionsEnforced {
 public:
  PermissionsEnforced();
  ~PermissionsEnforced();

 private:
  __user_cap_data_struct saved_[2] = {};
  bool lowered_ = false;
};

}  // namespace testsupport
