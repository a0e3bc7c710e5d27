#pragma once
// The days a download left out inside the range it stored, kept with their
// symbol in a table of the program's own, Missing_Days, so that a later run
// knows of them after a restart: the indicators of the days after such a day
// are computed across it. The table is made with its first row; a database
// without it (one made by an older version, or with no day ever left out)
// has no missing day.
#include <string>
#include <vector>

#include "platform/db/connection.h"
#include "platform/runtime/date.h"

// After a download stored its rows from firstStored to lastStored: the
// symbol's records of days its quote table now holds go (a record stays until
// its day is stored, also when a page leaves the day out altogether); the
// days the download left out (leftOut, in any order, repeats allowed) are
// recorded when they are trading days strictly inside the range that the
// table does not hold.
// Runs in the caller's transaction; a database failure passes to the caller.
void SettleMissingDays(db::Connection& connection, const std::string& symbol, rt::Date firstStored, rt::Date lastStored,
                       std::vector<rt::Date> leftOut);

// The symbol's records as a run uses them.
struct RecordedMissingDays {
  std::vector<rt::Date> days;           // from `from` to `to` (both included), oldest first
  std::vector<std::string> unreadable;  // every record whose DamnDate is no day, as it is stored
};
// A record whose date cannot be read (a damaged or hand-edited database) is
// no day a run can place: it is handed back apart, whatever its text, for
// the run to name, and left in the table for the user to correct.
RecordedMissingDays MissingDays(db::Connection& connection, const std::string& symbol, rt::Date from, rt::Date to);

// Drops the symbol's records (its quote table was made anew, empty).
void ForgetMissingDays(db::Connection& connection, const std::string& symbol);
