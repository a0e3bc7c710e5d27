#include "market_data/own_table_names.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

bool IsOwnTableName(std::string_view name) {
  for (std::string_view table :
       {kStockMasterTable, kSimStatusTable, kMissingDaysTable, kSweepRecordTable, kDatabaseTestTable})
    if (SameLetters(name, table)) return true;
  for (std::string_view prefix : {kSimulationTablePrefix, kSqliteNamePrefix, kAuxiliaryNamePrefix})
    if (SameLetters(name.substr(0, prefix.size()), prefix)) return true;
  return false;
}
