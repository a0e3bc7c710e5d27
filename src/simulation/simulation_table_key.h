#pragma once
// The simulation table's key: one row per AcquireDate, Symbol and
// Positioning. It is a unique index of its own rather than the table's
// primary key, so that the rows lie in the order a Select run finds them,
// symbol by symbol, while the key runs by day: the run appends its winners
// and builds the key once at its end, in one sorted pass, instead of placing
// every winner among the rows of every symbol stored before it.
#include <string>

#include "platform/db/connection.h"

namespace simulation {

// How a table is keyed: by a key index of its own, by its primary key (a
// table made before the key had an index of its own), or not at all (a
// Select run is storing into it, or was killed before its end).
enum class TableKey { kNone, kOwnIndex, kPrimaryKey };
TableKey KeyOf(db::Connection& connection, const std::string& table);

// Builds the table's key index unless the table has a key. A key that rows
// share keeps its first row: the later ones are deleted first, and the text
// of the refusal is returned ("" when every row kept its place). Errors
// pass on, the table unchanged.
std::string KeyTable(db::Connection& connection, const std::string& table);
// Drops the key index, when the table has one.
void DropTableKey(db::Connection& connection, const std::string& table);

}  // namespace simulation
