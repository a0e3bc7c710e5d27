#include "support/table_cells.h"

namespace testsupport {

std::vector<std::string> TableCells(db::Connection& connection, const std::string& table) {
  db::Recordset columns = connection.OpenRecordset("SELECT name FROM pragma_table_info('" + table + "')");
  std::string cells;
  for (; !columns.Eof(); columns.MoveNext()) {
    std::string c = "[" + columns.Field(0).ToText() + "]";
    cells += (cells.empty() ? "" : " || ' | ' || ") + ("typeof(" + c + ") || ':' || quote(" + c + ")");
  }
  if (cells.empty()) return {};  // no such table
  db::Recordset rows = connection.OpenRecordset("SELECT " + cells + " FROM [" + table + "] ORDER BY 1");
  std::vector<std::string> out;
  for (; !rows.Eof(); rows.MoveNext()) out.push_back(rows.Field(0).ToText());
  return out;
}

}  // namespace testsupport
