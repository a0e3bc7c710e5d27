#include "simulation/trade_walk_order.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace trade {

std::vector<Candidate> CandidatesInPasses(db::Connection& connection, const std::string& table) {
  std::vector<Candidate> rows;
  std::vector<size_t> passes;
  std::unordered_map<std::string, size_t> passOfSymbol;
  connection.ReadRows("SELECT [AcquireDate], [Symbol], [Positioning] from [" + table + "]",
                      [&](const db::RowReader& row) {
                        rows.push_back({row.Date(0), row.Text(1), row.Text(2)});
                        const size_t next = passOfSymbol.size() / kSymbolsPerPass;
                        passes.push_back(passOfSymbol.try_emplace(rows.back().symbol, next).first->second);
                      });
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return passes[a] < passes[b]; });
  std::vector<Candidate> walk;
  walk.reserve(rows.size());
  for (size_t i : order) walk.push_back(std::move(rows[i]));
  std::unordered_set<std::string> seen;
  for (auto row = walk.rbegin(); row != walk.rend(); ++row) row->lastOfSymbol = seen.insert(row->symbol).second;
  return walk;
}

}  // namespace trade
