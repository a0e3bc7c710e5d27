#include "market_data/missing_days_table.h"

#include <algorithm>

#include "market_data/calendar_and_log.h"
#include "market_data/own_table_names.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"

namespace {

const std::string kTable = "[" + std::string(kMissingDaysTable) + "]";
const std::string kCreate =
    "CREATE TABLE " + kTable + " ([Symbol] TEXT, [DamnDate] DATETIME, PRIMARY KEY ([Symbol], [DamnDate]))";

bool TableIsMissing(const rt::Error& e) { return e.Number() == db::kErrTableMissing; }

// An older version let a symbol take the table's name for its quotes: the
// table then has no Symbol column. A probe that fails itself says nothing.
bool HoldsQuotesInstead(db::Connection& connection) {
  try {
    return connection
               .OpenRecordset("SELECT COUNT(*) FROM pragma_table_info('" + std::string(kMissingDaysTable) +
                              "') WHERE lower(name) = 'symbol'")
               .Field(0)
               .ToInteger() == 0;
  } catch (const rt::Error&) {
    return false;
  }
}

// Called from a handler of e: a statement that failed because a symbol's
// quotes hold the table names the table and what to do instead of its bare
// text; any other failure passes on as it was raised, its kind kept (a
// lasting one ends the run).
[[noreturn]] void Rethrow(db::Connection& connection, const rt::Error& e) {
  if (e.Number() == db::kErrStatementFailed && HoldsQuotesInstead(connection))
    throw rt::Error(e.Number(), "The table " + std::string(kMissingDaysTable) +
                                    " holds the quotes of a symbol of that name, which an older version let a "
                                    "symbol take, not the days left out of downloads. Rename or remove that table "
                                    "with a database tool; the program then makes its own.");
  throw;
}

// Runs a statement that removes records: with no table there are none.
void RemoveRecords(db::Connection& connection, const std::string& sql, const std::vector<db::Value>& parameters) {
  try {
    connection.Execute(sql, parameters);
  } catch (const rt::Error& e) {
    if (!TableIsMissing(e)) Rethrow(connection, e);
  }
}

}  // namespace

void SettleMissingDays(db::Connection& connection, const std::string& symbol, rt::Date firstStored, rt::Date lastStored,
                       std::vector<rt::Date> leftOut) {
  const db::Value name(symbol);
  // A record goes only once its day is stored: a page that leaves the day
  // out altogether says nothing of it.
  RemoveRecords(connection,
                "DELETE FROM " + kTable + " WHERE [Symbol] = ? AND EXISTS (SELECT 1 FROM [" + db::SqlName(symbol) +
                    "] WHERE DamnDate = " + kTable + ".[DamnDate])",
                {name});
  std::sort(leftOut.begin(), leftOut.end());
  leftOut.erase(std::unique(leftOut.begin(), leftOut.end()), leftOut.end());
  // A day the table holds was stored by an earlier download: it is no hole.
  const std::string record = "INSERT INTO " + kTable +
                             " ([Symbol], [DamnDate]) SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM [" +
                             db::SqlName(symbol) + "] WHERE DamnDate = ?)";
  for (rt::Date day : leftOut) {
    day = day.DateOnly();
    if (!(firstStored.DateOnly() < day && day < lastStored.DateOnly()) || !HoldsTradingDay(day, day)) continue;
    const std::vector<db::Value> values = {name, db::Value(day), db::Value(day)};
    try {
      connection.Execute(record, values);
    } catch (const rt::Error& e) {
      if (!TableIsMissing(e)) Rethrow(connection, e);
      connection.Execute(kCreate);
      connection.Execute(record, values);
    }
  }
}

RecordedMissingDays MissingDays(db::Connection& connection, const std::string& symbol, rt::Date from, rt::Date to) {
  RecordedMissingDays recorded;
  db::Recordset rows;
  try {
    rows = connection.OpenRecordset("SELECT [DamnDate] FROM " + kTable + " WHERE [Symbol] = ? ORDER BY [DamnDate]",
                                    {db::Value(symbol)});
  } catch (const rt::Error& e) {
    if (!TableIsMissing(e)) Rethrow(connection, e);
    return recorded;
  }
  for (; !rows.Eof(); rows.MoveNext()) {
    const db::Value& stored = rows.Field(0);
    // Only a day as the table stores it matches the stored quotes it is checked against.
    if (stored.GetKind() != db::Value::Kind::Date || stored.ToDate() != stored.ToDate().DateOnly()) {
      recorded.unreadable.push_back(stored.ToText());
      continue;
    }
    const rt::Date day = stored.ToDate();
    if (from.DateOnly() <= day && day <= to.DateOnly()) recorded.days.push_back(day);
  }
  return recorded;
}

void ForgetMissingDays(db::Connection& connection, const std::string& symbol) {
  RemoveRecords(connection, "DELETE FROM " + kTable + " WHERE [Symbol] = ?", {db::Value(symbol)});
}
