#include "simulation/set_aside_tables.h"

#include <string>

#include "market_data/own_table_names.h"
#include "platform/db/sql_text.h"
#include "simulation/simulation_table_key.h"
#include "simulation/table_steps.h"

namespace simulation {
namespace {

// No symbol or simulation can take such a name.
const std::string kSetAsidePrefix = std::string(kAuxiliaryNamePrefix) + "removed ";

// Tables and indexes share one name space, in which letter case does not count.
bool NameTaken(db::Connection& connection, const std::string& name) {
  return connection.OpenRecordset("SELECT COUNT(*) FROM sqlite_master WHERE lower(name) = lower(?)", {db::Value(name)})
             .Field(0)
             .ToInteger() > 0;
}

// "~removed sim_a", or "~removed 2 sim_a" and on while an earlier one waits to be removed.
std::string FreeSetAsideName(db::Connection& connection, const std::string& table) {
  for (int n = 1;; ++n) {
    std::string name = kSetAsidePrefix + (n == 1 ? "" : std::to_string(n) + " ") + table;
    if (!NameTaken(connection, name)) return name;
  }
}

}  // namespace

void SetAside(db::WriteGroup& group, db::Connection& connection, const std::string& table) {
  const std::string name = db::SqlName(table);
  if (!NameTaken(connection, name)) return;
  group.Row("ALTER TABLE [" + name + "] RENAME TO [" + FreeSetAsideName(connection, name) + "]", {});
  DropTableKey(connection, name);
}

std::vector<std::string> TablesSetAside(db::Connection& connection) {
  db::Recordset rows = connection.OpenRecordset(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND substr(name, 1, ?) = ? ORDER BY 1",
      {db::Value(static_cast<int64_t>(kSetAsidePrefix.size())), db::Value(kSetAsidePrefix)});
  std::vector<std::string> tables;
  for (; !rows.Eof(); rows.MoveNext()) tables.push_back(rows.Field(0).ToText());
  return tables;
}

bool RemoveTablesSetAside(db::Connection& connection, const std::function<bool()>& stopRequested) {
  for (const std::string& table : TablesSetAside(connection))
    if (!DropInSteps(connection, table, stopRequested)) return false;
  return true;
}

}  // namespace simulation
