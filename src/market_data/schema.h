#pragma once
// The database file's creation and maintenance (the tables themselves are
// created by clsResearch::CreateTable and CreateTable_Master).
#include <array>
#include <cstdint>
#include <string>

// The columns of SimStatus in order: the key, then the 24 pause slots that
// the sweeps store and read by position.
inline constexpr std::array<const char*, 25> kSimStatusColumns = {
    "SimTable",    "TradePause0", "TradePause1",  "TradePause2", "TradePause3", "TradePause4", "TradePause6",
    "TradePause7", "TradePause9", "TradeCount",   "PortPause0",  "PortPause1",  "PortPause2",  "PortPause3",
    "PortPause4",  "PortPause5",  "PortPause6",   "PortPause7",  "PortPause8",  "PortPause9",  "PortPause10",
    "PortPause11", "PortPause12", "PortPauseRev", "PortCount"};

// The statement that creates SimStatus in the dialect of the database kind
// (1 Jet, 2 SQL Server); "" for any other kind.
std::string SimStatusStatement(int16_t databaseType);

// Creates an empty database file at exactly the given location (resolved as
// the configured location is) unless a file of that name exists. Nothing is
// shown: the reason a file could not be made is returned ("" otherwise) for
// the connection that follows to report.
std::string CreateDatabase(const std::string& strPath);

// Checks the database file, removes the old winners a Select left aside,
// and puts a compact copy in its place, serving the window between the
// steps of its statements (the caller keeps the commands that would reach
// the database away meanwhile). The shared connection must be closed first:
// on a file another connection holds, or any other failure, shows "An error
// occurred while repairing the database." with the database's cause and
// leaves the file as it was.
void RepairDatabase(const std::string& strPath);
