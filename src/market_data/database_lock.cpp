// The database file held by this program: two programs on one database would
// write into each other's simulation tables and quote downloads, whatever
// application folders they run on.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "market_data/calendar_and_log.h"
#include "market_data/database_connection.h"
#include "platform/db/db_error.h"
#include "platform/runtime/program_lock.h"

namespace {

std::unique_ptr<rt::ProgramLock>& Held() {
  static std::unique_ptr<rt::ProgramLock> held;
  return held;
}

[[noreturn]] void RaiseSystemError(const std::filesystem::path& file) {
  throw std::system_error(errno, std::generic_category(), file.string());
}

// The data reaches the disk before the name moves, so that a crash leaves
// the old database or the new one, never a part of it.
void SyncToDisk(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseSystemError(file);
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  if (!synced) RaiseSystemError(file);
}

}  // namespace

void HoldDatabaseFile(const std::filesystem::path& database) {
  // The lock is on the database file itself, so every name that reaches it
  // (a hard link, a symlink, "..", a bind mount) meets it. SQLite's own
  // locks are fcntl locks, which a flock neither meets nor disturbs. Closing
  // any descriptor of a file drops this process's fcntl locks on it, so the
  // held one is let go only here, once the shared connection has left it.
  std::unique_ptr<rt::ProgramLock>& held = Held();
  if (held && held->Holds(database)) return;  // this program is on it already
  held.reset();                               // this program leaves the database it was on
  auto lock = std::make_unique<rt::ProgramLock>(database, rt::ProgramLock::Missing::Fail);
  if (lock->InUse())
    throw db::LastingFailure(db::kErrProviderFailure,
                             database.string() + " is in use by another Kestrovane program. Close that program first.");
  if (!lock->Held()) {
    // A file that cannot be opened: the database's own open decides.
    LogError("The database lock on " + database.string() + " could not be taken: " + lock->Failure());
    return;
  }
  held = std::move(lock);
}

void ReplaceHeldDatabase(const std::filesystem::path& replacement, const std::filesystem::path& database) {
  SyncToDisk(replacement);
  auto lock = std::make_unique<rt::ProgramLock>(replacement, rt::ProgramLock::Missing::Fail);
  if (!lock->Held()) throw std::runtime_error(replacement.string() + ": " + lock->Failure());
  std::filesystem::rename(replacement, database);
  Held() = std::move(lock);  // the old file, without a name now, is let go
  // The database is replaced whatever follows: a folder that does not sync
  // leaves the rename to the system's own write-back.
  try {
    SyncToDisk(database.parent_path());
  } catch (const std::system_error& unsynced) {
    LogError(std::string("The folder of the compacted database was not synced: ") + unsynced.what());
  }
}
