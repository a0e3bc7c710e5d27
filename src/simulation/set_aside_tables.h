#pragma once
// Simulation tables on their way out. A table that a Select replaces is
// moved aside in the statement that frees its name, under a name beginning
// with "~removed " (which neither a symbol nor a simulation can take), and
// its rows are removed in steps afterwards: a kill at any moment leaves the
// old table whole under its name or the new one there, never a part of the
// old one, and what waits aside is never read as a simulation.
#include <functional>
#include <string>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/write_group.h"

namespace simulation {

// Moves the table aside when there is one, inside the group's transaction,
// so that the same transaction can create the new table: renamed to a free
// "~removed " name, and its key index (which keeps its name through the
// rename) dropped, so that the new table's key can take that name.
void SetAside(db::WriteGroup& group, db::Connection& connection, const std::string& table);

// The tables moved aside and not yet removed, by name.
std::vector<std::string> TablesSetAside(db::Connection& connection);

// Removes the tables moved aside, each in steps that serve the window
// (DropInSteps). False when `stopRequested` (when given) ended it between
// two steps: what is left waits aside for the next removal.
bool RemoveTablesSetAside(db::Connection& connection, const std::function<bool()>& stopRequested = {});

}  // namespace simulation
