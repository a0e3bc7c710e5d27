// Stocks whose stored history ends before the period does while no download
// brings the rest: a run over them ends normally with fewer days than asked
// for, so the run says so once, at its end.
#include <algorithm>

#include "market_data/cls_research.h"

namespace {

bool IsIndexSymbol(const std::string& symbol) { return !symbol.empty() && symbol[0] == '^'; }

}  // namespace

void clsResearch::NoteStaleHistory(const std::string& symbol, rt::Date lastStored, rt::Date periodEnd) {
  // The indices only qualify the stocks' days; the user picked the stocks.
  if (IsIndexSymbol(symbol) || lastStored.IsZero() || !(lastStored < periodEnd)) return;
  staleHistory_[symbol] = lastStored;
  datStalePeriodEnd_ = std::max(datStalePeriodEnd_, periodEnd);
}

std::string clsResearch::StaleHistorySummary() const {
  if (staleHistory_.empty()) return "";
  rt::Date first = staleHistory_.begin()->second, last = first;
  for (const auto& [symbol, day] : staleHistory_) {
    first = std::min(first, day);
    last = std::max(last, day);
  }
  const size_t count = staleHistory_.size();
  const std::string days = first == last
                               ? "on " + rt::FormatShortDate(first)
                               : "between " + rt::FormatShortDate(first) + " and " + rt::FormatShortDate(last);
  return "the stored history of " + std::to_string(count) + (count == 1 ? " symbol ends " : " symbols ends ") + days;
}

std::string clsResearch::StaleHistoryReport() const {
  const std::string summary = StaleHistorySummary();
  if (summary.empty()) return "";
  return "The period runs to " + rt::FormatShortDate(datStalePeriodEnd_) + ", but " + summary +
         " and no later days were downloaded: the results hold none of the days after it.\r\n"
         "Tick \"Update Data (Internet Required)\", with the Internet connection on, to download them.";
}
