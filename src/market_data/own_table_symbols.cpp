// Symbols named like one of the program's own tables: their quote table
// would be the program's, so a run leaves them out and names them once, at
// its end. (The import refuses them; an older version's import stored them.)
#include <algorithm>

#include "market_data/cls_research.h"
#include "market_data/own_table_names.h"
#include "platform/runtime/named_list.h"

void clsResearch::LeaveOutOwnTableSymbols(std::vector<std::string>& symbols, std::vector<std::string>& markets) {
  const bool withMarkets = markets.size() == symbols.size();
  std::vector<std::string> keptSymbols, keptMarkets;
  for (size_t k = 0; k < symbols.size(); ++k) {
    if (IsOwnTableName(symbols[k])) {
      NoteOwnTableSymbol(symbols[k]);
      continue;
    }
    keptSymbols.push_back(std::move(symbols[k]));
    if (withMarkets) keptMarkets.push_back(std::move(markets[k]));
  }
  symbols = std::move(keptSymbols);
  if (withMarkets) markets = std::move(keptMarkets);
}

void clsResearch::NoteOwnTableSymbol(const std::string& symbol) {
  if (std::find(ownTableSymbols_.begin(), ownTableSymbols_.end(), symbol) == ownTableSymbols_.end())
    ownTableSymbols_.push_back(symbol);
}

std::string clsResearch::OwnTableSymbolsReport() const {
  if (ownTableSymbols_.empty()) return "";
  if (ownTableSymbols_.size() == 1)
    return "The symbol " + ownTableSymbols_.front() +
           " is left out: it is the name of one of the program's own tables, which cannot hold its quotes.";
  return "The symbols " + rt::FirstNamedAndMore(ownTableSymbols_, rt::kListedSymbols) +
         " are left out: each is the name of one of the program's own tables, which cannot hold their quotes.";
}
