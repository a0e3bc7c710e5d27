#pragma once
// The names the program gives tables (and indexes, which share their name
// space) of its own in the database, beside one quote table per symbol. No
// symbol may take one: its quotes would be read from the program's table, or
// its quote table made under the program's name, which breaks the program's
// use of it. Names compare without letter case, as the database compares them.
#include <string_view>

inline constexpr std::string_view kStockMasterTable = "Stock_Master";
inline constexpr std::string_view kSimStatusTable = "SimStatus";
inline constexpr std::string_view kMissingDaysTable = "Missing_Days";
inline constexpr std::string_view kSweepRecordTable = "SweepRecord";
// The scratch table of the database test, made and dropped at once.
inline constexpr std::string_view kDatabaseTestTable = "VraskEatsWeeds";

// Every simulation table's name begins so (the window adds the simulation's name).
inline constexpr std::string_view kSimulationTablePrefix = "sim_";
// SQLite's own tables.
inline constexpr std::string_view kSqliteNamePrefix = "sqlite_";
// The program's auxiliary names: the simulation tables' key indexes, tables
// set aside for removal.
inline constexpr std::string_view kAuxiliaryNamePrefix = "~";

// True when the name is one of the tables above or begins like the names
// of a kind above.
bool IsOwnTableName(std::string_view name);
