#pragma once
// The order the Trade stage trades the rows of the simulation table in:
// passes over the table, each taking the rows of the next few symbols (in
// the order they first appear) in the table's own order. The stage then
// holds the stored histories of no more symbols than a pass has, however
// many the table has, and each pass writes its results through the table
// in key order; a table of few symbols is one pass in the table's order.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/db/connection.h"
#include "platform/runtime/date.h"

namespace trade {

inline constexpr size_t kSymbolsPerPass = 64;

// A row of the simulation table to trade.
struct Candidate {
  rt::Date acquireDate;
  std::string symbol, positioning;
  bool lastOfSymbol = false;  // the last row of its symbol: its history can go once it is traded
};

// The rows of the table (a name safe in brackets), in passes.
std::vector<Candidate> CandidatesInPasses(db::Connection& connection, const std::string& table);

}  // namespace trade
