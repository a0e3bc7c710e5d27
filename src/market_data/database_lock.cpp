// The database file held by this program: two programs on one database would
// write into each other's simulation tables and quote downloads, whatever
// application folders they run on.
#include <memory>

#include "market_data/calendar_and_log.h"
#include "market_data/database_connection.h"
#include "platform/db/db_error.h"
#include "platform/runtime/program_lock.h"

namespace {

struct HeldDatabase {
  std::filesystem::path lockFile;
  std::unique_ptr<rt::ProgramLock> lock;
};

HeldDatabase& Held() {
  static HeldDatabase held;
  return held;
}

}  // namespace

void HoldDatabaseFile(const std::filesystem::path& database) {
  // One file reached by two paths (a link, "..") is one lock.
  std::error_code unresolved;
  std::filesystem::path lockFile = std::filesystem::weakly_canonical(database, unresolved);
  if (unresolved) lockFile = database;
  lockFile += ".lock";

  HeldDatabase& held = Held();
  if (held.lock && held.lockFile == lockFile) return;  // this program is on it already
  held = {};                                           // this program leaves the database it was on
  auto lock = std::make_unique<rt::ProgramLock>(lockFile);
  if (lock->InUse())
    throw db::LastingFailure(db::kErrProviderFailure,
                             database.string() + " is in use by another Kestrovane program. Close that program first.");
  if (!lock->Held()) {
    // A folder where no lock file can be made: the database's own open decides.
    LogError("The database lock " + lockFile.string() + " could not be taken: " + lock->Failure());
    return;
  }
  held = {lockFile, std::move(lock)};
}
