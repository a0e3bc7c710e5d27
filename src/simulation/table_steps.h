#pragma once
// A statement over every row of a simulation table (its reset, the removal
// of its rows), run a step of rows at a time. One statement over millions
// of rows holds the window while its commit copies every page it changed
// into the database; in steps, each committed on its own, the window is
// served between them.
#include <functional>
#include <string>

#include "platform/db/connection.h"

namespace simulation {

// Runs `statement` ("UPDATE [t] SET ..." or "DELETE FROM [t]", without a
// condition) over the table's rows in steps of rows that lie together,
// yielding to the window system after each. A table keyed by its primary
// key (made before the key had an index of its own) has no such order, and
// runs the statement at once. Before each step `stopRequested` (when given)
// may end the run: false then, the steps before staying done. Errors pass
// on; the steps before stay done.
bool RunInSteps(db::Connection& connection, const std::string& table, const std::string& statement,
                const std::function<bool()>& stopRequested = {});

// Drops the table. Dropping a table reads every page of it in one step that
// does not yield, which for a table of millions of rows holds the window for
// seconds: its key and rows go first, in steps, then the empty table. False
// when `stopRequested` ended it between two steps (the table stays, emptied
// in part).
bool DropInSteps(db::Connection& connection, const std::string& table, const std::function<bool()>& stopRequested);

}  // namespace simulation
