#include "simulation/table_steps.h"

#include "platform/db/sql_text.h"
#include "platform/user/user_services.h"
#include "simulation/simulation_table_key.h"

namespace simulation {
namespace {

// Rows per step: a tenth of a second of work at most, most of it the copy
// of the step's pages into the database at its commit.
constexpr int64_t kRowsPerStep = 100000;

}  // namespace

bool RunInSteps(db::Connection& connection, const std::string& table, const std::string& statement,
                const std::function<bool()>& stopRequested) {
  auto stopped = [&stopRequested] { return stopRequested && stopRequested(); };
  if (KeyOf(connection, table) == TableKey::kPrimaryKey) {
    if (stopped()) return false;
    connection.Execute(statement);
    return true;
  }
  db::Recordset span = connection.OpenRecordset("SELECT MIN(rowid), MAX(rowid) FROM [" + db::SqlName(table) + "]");
  if (span.Field(0).IsNull()) return true;
  const int64_t last = span.Field(1).ToInteger();
  const std::string step = statement + " WHERE rowid >= ? AND rowid < ?";
  for (int64_t from = span.Field(0).ToInteger(); from <= last; from += kRowsPerStep) {
    if (stopped()) return false;
    connection.Execute(step, {db::Value(from), db::Value(from + kRowsPerStep)});
    user::DoEvents();
  }
  return true;
}

bool DropInSteps(db::Connection& connection, const std::string& table, const std::function<bool()>& stopRequested) {
  const std::string name = db::SqlName(table);
  DropTableKey(connection, name);
  if (!RunInSteps(connection, name, "DELETE FROM [" + name + "]", stopRequested)) return false;
  connection.Execute("DROP TABLE [" + name + "]");
  return true;
}

}  // namespace simulation
