#pragma once
// A statement over every row of a simulation table (its reset, the removal
// of its rows), run a step of rows at a time. One statement over millions
// of rows holds the window while its commit copies every page it changed
// into the database; in steps, each committed on its own, the window is
// served between them.
#include <string>

#include "platform/db/connection.h"

namespace simulation {

// Runs `statement` ("UPDATE [t] SET ..." or "DELETE FROM [t]", without a
// condition) over the table's rows in steps of rows that lie together,
// yielding to the window system after each. A table keyed by its primary
// key (made before the key had an index of its own) has no such order, and
// runs the statement at once. Errors pass on; the steps before stay done.
void RunInSteps(db::Connection& connection, const std::string& table, const std::string& statement);

}  // namespace simulation
