#include "simulation/winner_staging.h"

#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/write_group.h"
#include "platform/runtime/error.h"
#include "simulation/simulation_table.h"

namespace simulation {
namespace {

// A TEMP table: only this connection sees it. The name is one no symbol or
// simulation table is given, so that it hides no table of the database.
constexpr const char* kStaging = "temp.[~staged winners]";

// Inside a catch block: passes the failure on, as a lasting one when its
// table is gone (a table gone from under the run fails every row after it).
[[noreturn]] void RaiseLastingIfTableGone(const rt::Error& failed) {
  if (failed.Number() == db::kErrTableMissing && !db::IsLastingFailure(failed))
    throw db::LastingFailure(failed.Number(), failed.Description());
  throw;
}

// The staging table has the simulation table's checks, so its rows passed
// them once already: the move need not evaluate them again (a tenth of its
// cost). Only for as long as the move runs.
class StagedRowsAreChecked {
 public:
  explicit StagedRowsAreChecked(db::Connection& connection) : connection_(connection) {
    connection_.Execute("PRAGMA ignore_check_constraints = ON");
  }
  ~StagedRowsAreChecked() {
    try {
      connection_.Execute("PRAGMA ignore_check_constraints = OFF");
    } catch (const rt::Error&) {
      // Setting a flag of the connection does not fail while it is open.
    }
  }
  StagedRowsAreChecked(const StagedRowsAreChecked&) = delete;
  StagedRowsAreChecked& operator=(const StagedRowsAreChecked&) = delete;

 private:
  db::Connection& connection_;
};

}  // namespace

WinnerStaging::WinnerStaging(db::Connection& connection, const std::string& table)
    : connection_(connection), table_(db::SqlName(table)), windowInsert_(WinnerInsertText(table)) {
  // A staging table that an earlier run could not drop holds nothing of this run.
  connection_.Execute(std::string("DROP TABLE IF EXISTS ") + kStaging);
  // The simulation table's own columns, so that a staged row is refused for
  // exactly what the table would refuse it for, save its key.
  connection_.Execute(std::string("CREATE TEMP TABLE [~staged winners] (") + kSimulationColumns + ")");
  stagingInsert_ = std::string("INSERT INTO ") + kStaging + " (" + kWinnerColumns +
                   ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  try {
    dataVersion_ = connection_.OpenRecordset("PRAGMA data_version", {}).Field(0).ToInteger();
    tableRows_ = connection_.OpenRecordset("SELECT COUNT(*) FROM [" + table_ + "]", {}).Field(0).ToInteger();
  } catch (const rt::Error& failed) {
    RaiseLastingIfTableGone(failed);
  }
}

WinnerStaging::~WinnerStaging() {
  try {
    connection_.Execute(std::string("DROP TABLE IF EXISTS ") + kStaging);
  } catch (const rt::Error&) {
    // Left for the next run to drop; the connection's end removes it too.
  }
}

bool WinnerStaging::Stages(const db::BoundStatement& row) const { return row.sql == windowInsert_; }

int64_t WinnerStaging::StagedRows() {
  // Rows are only appended and all moved together, so the last rowid counts them.
  const std::string count = std::string("SELECT COALESCE(MAX(rowid), 0) FROM ") + kStaging;
  return connection_.OpenRecordset(count, {}).Field(0).ToInteger();
}

bool WinnerStaging::MoveDue() {
  int64_t staged = StagedRows();
  return staged > 0 && staged >= tableRows_;
}

void WinnerStaging::CheckTableIsOurs() {
  // Only another connection can have changed the table, and only its
  // commits move the data version.
  int64_t version = connection_.OpenRecordset("PRAGMA data_version", {}).Field(0).ToInteger();
  if (version == dataVersion_) return;
  int64_t rows = connection_.OpenRecordset("SELECT COUNT(*) FROM [" + table_ + "]", {}).Field(0).ToInteger();
  if (rows != tableRows_) {
    throw db::LastingFailure(db::kErrProviderFailure,
                             "The simulation table '" + table_ + "' was replaced or changed by another program " +
                                 "during the run: it holds " + std::to_string(rows) + " rows where this run left " +
                                 std::to_string(tableRows_) + ".");
  }
  dataVersion_ = version;
}

std::string WinnerStaging::MoveIntoTable() {
  const std::string select = std::string(") SELECT ") + kWinnerColumns + " FROM " + kStaging +
                             " ORDER BY [AcquireDate], [Symbol], [Positioning], rowid";
  const std::string columns = "[" + table_ + "] (" + kWinnerColumns;
  std::string refused;
  try {
    CheckTableIsOurs();
    StagedRowsAreChecked checked(connection_);
    db::WriteGroup move(connection_);
    int64_t moved = 0;
    try {
      moved = move.Row("INSERT INTO " + columns + select, {});
    } catch (const rt::Error& failed) {
      // A key stored already (or staged twice): the first row stays, as it
      // did when each winner was stored on its own. Rare, so tried only now.
      if (failed.Number() != db::kErrProviderFailure || db::IsLastingFailure(failed)) throw;
      refused = failed.Description();
      moved = move.Row("INSERT OR IGNORE INTO " + columns + select, {});
    }
    move.Row(std::string("DELETE FROM ") + kStaging, {});
    move.Commit();
    tableRows_ += moved;
  } catch (const rt::Error& failed) {
    RaiseLastingIfTableGone(failed);
  }
  return refused;
}

}  // namespace simulation
