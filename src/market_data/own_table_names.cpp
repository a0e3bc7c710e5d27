#include "market_data/own_table_names.h"

#include "platform/runtime/same_letters.h"

bool IsOwnTableName(std::string_view name) {
  for (std::string_view table :
       {kStockMasterTable, kSimStatusTable, kMissingDaysTable, kSweepRecordTable, kDatabaseTestTable})
    if (rt::SameLetters(name, table)) return true;
  for (std::string_view prefix : {kSimulationTablePrefix, kSqliteNamePrefix, kAuxiliaryNamePrefix})
    if (rt::SameLetters(name.substr(0, prefix.size()), prefix)) return true;
  return false;
}
