// Compact and Repair: the database file checked and compacted on a connection
// no other shares, serving the window between the steps of its statements.
#include <filesystem>
#include <string>
#include <system_error>

#include "market_data/database_connection.h"
#include "market_data/schema.h"
#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/user/user_services.h"
#include "simulation/set_aside_tables.h"

namespace {

// Written beside the file, so that one rename puts it in the file's place.
std::filesystem::path CompactCopyOf(const std::filesystem::path& file) { return file.string() + ".compacting"; }

// A journal beside the file (there is none once the last connection has
// closed cleanly) would be replayed into the compact copy put in its place.
bool JournalLeftBeside(const std::filesystem::path& file) {
  for (const char* suffix : {"-wal", "-journal"}) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file.string() + suffix, ec);
    if (!ec && size > 0) return true;
  }
  return false;
}

// A file reached by more than one name (a hard link) is compacted in place:
// a copy renamed over one name would leave the others on the old file.
bool HardLinked(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::hard_link_count(file, ec) > 1 && !ec;
}

// Checks the file and writes its compact copy, which is whole once this
// returns; without a copy, compacts it in place.
void CheckAndCompact(const std::filesystem::path& file, const std::filesystem::path* copy) {
  db::Connection cn;
  cn.OpenExclusive(file);
  // Both statements read the whole file: seconds on a large one.
  cn.SetYieldHook(user::DoEvents);
  // A damaged file is left alone rather than compacted further.
  db::Recordset check = cn.OpenRecordset("PRAGMA integrity_check");
  if (check.Eof() || check.Field(0).ToText() != "ok")
    db::Raise(db::kErrProviderFailure, "The database file is damaged.");
  // Old winners that a stopped or killed Select left aside (as large as a
  // simulation) are removed rather than copied.
  simulation::RemoveTablesSetAside(cn);
  // Into a new file, not in place: SQLite writes an in-place result back
  // over the file in one step that cannot yield (seconds on a large file),
  // and the copy takes a third of the time.
  cn.Execute(copy ? "VACUUM INTO '" + db::SqlText(copy->string()) + "'" : std::string("VACUUM"));
  cn.Close();
}

}  // namespace

void RepairDatabase(const std::string& strPath) {
  std::filesystem::path copy;
  try {
    const std::filesystem::path path = ResolveDatabasePath(strPath);
    HoldDatabaseFile(path);
    // The file a link names is the one replaced, not the link.
    std::error_code unresolved;
    std::filesystem::path file = std::filesystem::weakly_canonical(path, unresolved);
    if (unresolved) file = path;
    std::filesystem::remove(CompactCopyOf(file));  // a copy that a killed compact left
    if (HardLinked(file)) return CheckAndCompact(file, nullptr);
    copy = CompactCopyOf(file);
    CheckAndCompact(file, &copy);
    if (JournalLeftBeside(file))
      db::Raise(db::kErrProviderFailure, "The database file's journal could not be emptied into it.");
    std::filesystem::permissions(copy, std::filesystem::status(file).permissions());
    ReplaceHeldDatabase(copy, file);
  } catch (const std::exception& failed) {
    std::error_code ignored;
    if (!copy.empty()) std::filesystem::remove(copy, ignored);
    // The database's own words say why: another program holding the file, a damaged file.
    user::MsgBox(std::string("An error occurred while repairing the database.\r\n") + failed.what(), user::kCritical,
                 user::kApplicationTitle);
  }
}
