#include "simulation/trade_walk_order.h"

#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace trade {

std::vector<Candidate> CandidatesInPasses(db::Connection& connection, const std::string& table) {
  // Each row goes to its symbol's pass as it is read, so that every pass
  // keeps the table's order and no row is held twice.
  std::vector<std::vector<Candidate>> passes;
  std::unordered_map<std::string, size_t> passOfSymbol;
  connection.ReadRows("SELECT [AcquireDate], [Symbol], [Positioning] from [" + table + "]",
                      [&](const db::RowReader& row) {
                        std::string symbol = row.Text(1);
                        const size_t next = passOfSymbol.size() / kSymbolsPerPass;
                        const size_t pass = passOfSymbol.try_emplace(symbol, next).first->second;
                        if (pass == passes.size()) passes.emplace_back();
                        passes[pass].push_back({row.Date(0), std::move(symbol), row.Text(2)});
                      });
  std::vector<Candidate> walk = passes.empty() ? std::vector<Candidate>() : std::move(passes.front());
  for (size_t pass = 1; pass < passes.size(); ++pass) {
    walk.insert(walk.end(), std::make_move_iterator(passes[pass].begin()), std::make_move_iterator(passes[pass].end()));
    std::vector<Candidate>().swap(passes[pass]);
  }
  std::unordered_set<std::string> seen;
  for (auto row = walk.rbegin(); row != walk.rend(); ++row) row->lastOfSymbol = seen.insert(row->symbol).second;
  return walk;
}

}  // namespace trade
