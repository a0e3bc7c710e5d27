#include "simulation/winner_table_watch.h"

#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"

namespace simulation {
namespace {

int64_t DataVersion(db::Connection& connection) {
  return connection.OpenRecordset("PRAGMA data_version").Field(0).ToInteger();
}

}  // namespace

WinnerTableWatch::WinnerTableWatch(db::Connection& connection, const std::string& table)
    : connection_(connection), table_(db::SqlName(table)) {
  dataVersion_ = DataVersion(connection_);
  try {
    tableRows_ = Count();
  } catch (const rt::Error& failed) {
    // Every row of the run would fail on it.
    if (failed.Number() == db::kErrTableMissing) throw db::LastingFailure(failed.Number(), failed.Description());
    throw;
  }
}

int64_t WinnerTableWatch::Count() {
  return connection_.OpenRecordset("SELECT COUNT(*) FROM [" + table_ + "]").Field(0).ToInteger();
}

void WinnerTableWatch::CheckBeforeCommit(int64_t pending) {
  // Only another connection's commits move the data version.
  const int64_t version = DataVersion(connection_);
  if (version == dataVersion_) return;
  const int64_t rows = Count() - pending;
  if (rows != tableRows_) {
    throw db::LastingFailure(db::kErrProviderFailure,
                             "The simulation table '" + table_ + "' was replaced or changed by another program " +
                                 "during the run: it holds " + std::to_string(rows) + " rows where this run left " +
                                 std::to_string(tableRows_) + ".");
  }
  dataVersion_ = version;
}

}  // namespace simulation
