#pragma once
// Day records straight from a history file in the shipped layout
// (Date,Open,High,Low,Close,Adj Close,Volume; oldest first), filled by the
// history loader's own row rules, so that indicator tests and benchmarks need
// no database. (The loader reads prices back from a table where downloads
// stored them as six-character texts; this reader keeps the file's digits.)
#include <filesystem>
#include <string>

#include "market_data/day_record.h"

namespace testsupport {

// The whole file as day records, newest first. A symbol beginning with "^"
// is read as an index (close, open, high, low as stored, no volume); any
// other as a stock: the close is the adjusted close, open, high and low are
// divided by close / adjusted close when that ratio shows a split (>= 1.1 or
// <= 0.9). A day whose close or adjusted close is 0 is left out. Raises
// rt::Error on a malformed line.
DayRecords LoadHistoryCsv(const std::filesystem::path& file, const std::string& symbol);

// The symbol a history file holds: its name without ".csv".
std::string SymbolOfHistoryFile(const std::filesystem::path& file);

// The path of a fixture under tests/fixtures.
std::filesystem::path FixturePath(const std::string& name);

}  // namespace testsupport
