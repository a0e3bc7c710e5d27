#pragma once
// Every row of a table, each as "type:exact value" cells in column order,
// sorted: two tables hold the same rows exactly when these lists are equal.
#include <string>
#include <vector>

#include "platform/db/connection.h"

namespace testsupport {

std::vector<std::string> TableCells(db::Connection& connection, const std::string& table);

}  // namespace testsupport
