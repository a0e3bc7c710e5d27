#include "simulation/trade_history_cache.h"

#include <algorithm>
#include <exception>

#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "market_data/run_parameters.h"
#include "platform/db/sql_text.h"

namespace {

// The statements compare with date literals written without a time of day.
rt::Date Day(rt::Date d) { return d.DateOnly(); }

rt::Date DateOf(const rt::Date& d) { return d; }
rt::Date DateOf(const trade::HeldDay& d) { return d.Date(); }

// The elements of a newest-first list dated between two days (inclusive).
template <typename T>
std::span<const T> Between(const std::vector<T>& days, rt::Date from, rt::Date to) {
  const rt::Date newest = Day(to), oldest = Day(from);
  auto first = std::partition_point(days.begin(), days.end(), [&](const T& d) { return DateOf(d) > newest; });
  auto last = std::partition_point(first, days.end(), [&](const T& d) { return DateOf(d) >= oldest; });
  return {first, last};
}

// LoadData's single blank record when no row of the window is loaded.
const trade::HeldDay kBlankDay{trade::PriceDay{}};

}  // namespace

const std::optional<clsResearch::TradeHistoryCache::History>& clsResearch::TradeHistoryCache::HistoryOf(
    const std::string& symbol) {
  auto found = symbols_.find(symbol);
  if (found != symbols_.end()) return found->second;
  std::optional<History>& history = symbols_[symbol];
  const int16_t databaseType = Parms().intDatabaseType;
  // Index symbols fill the index arrays, and the other cases below take
  // LoadData's own paths (creating a missing table, its messages).
  if (symbol.empty() || symbol[0] == '^' || !db::IsBracketSafe(symbol) || (databaseType != 1 && databaseType != 2))
    return history;
  try {
    History read;
    if (!spares_.empty()) {
      read = std::move(spares_.back());
      spares_.pop_back();
    }
    read.stored.clear();
    read.loaded.clear();
    read.failed.clear();
    // Histories are mostly alike in length: room for as many rows as the
    // last one had spares the lists their growing.
    read.stored.reserve(lastRows_);
    read.loaded.reserve(lastRows_);
    SharedConnection().ReadRows("SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, Volume From [" + symbol +
                                    "] ORDER BY DamnDate DESC",
                                [&](const db::RowReader& row) { AddRow(read, row); });
    lastRows_ = read.stored.size();
    history = std::move(read);
  } catch (const std::exception&) {
    history.reset();
  }
  ++symbolsRead_;
  return history;
}

size_t clsResearch::HistoriesHeld() const { return historyCache_ ? historyCache_->SymbolsHeld() : 0; }

void clsResearch::TradeHistoryCache::AddRow(History& history, const db::RowReader& row) {
  const rt::Date date = row.Date(kQuoteDate);
  history.stored.push_back(date);
  // Most rows are plain stored numbers: their texts are made only if a rule
  // reads their day.
  StoredPrices prices;
  switch (SortStockRow(row, prices)) {
    case StockRowKind::kNotLoaded: return;
    case StockRowKind::kLoaded: history.loaded.emplace_back(date, prices); return;
    case StockRowKind::kUnsure: break;
  }
  try {
    if (StockDayFromRow(row, day_))
      history.loaded.emplace_back(trade::PriceDay{date, day_.strClose, day_.strLow, day_.strHigh, day_.strOpen});
  } catch (const std::exception&) {
    history.failed.push_back(date);
  }
}

void clsResearch::TradeHistoryCache::Release(const std::string& symbol) {
  auto found = symbols_.find(symbol);
  if (found == symbols_.end()) return;
  // Its lists keep their room for a later symbol's rows: the memory a
  // pass's histories take is taken once, not anew for every symbol.
  if (found->second) spares_.push_back(std::move(*found->second));
  symbols_.erase(found);
}

clsResearch::TradeHistoryCache::Served clsResearch::TradeHistoryCache::Load(std::string& symbol, rt::Date& startDate,
                                                                            rt::Date& endDate, int16_t& lookBackDays) {
  if (const std::optional<History>& history = HistoryOf(symbol)) {
    rt::Date windowEnd;
    if (std::optional<Served> served = Serve(*history, startDate, endDate, lookBackDays, windowEnd)) {
      endDate = windowEnd;
      return *served;
    }
  }
  ++handedOver_;
  return {engine_.LoadData(symbol, startDate, endDate, lookBackDays), std::nullopt};
}

std::optional<clsResearch::TradeHistoryCache::Served> clsResearch::TradeHistoryCache::Serve(const History& history,
                                                                                            rt::Date requestedStart,
                                                                                            rt::Date requestedEnd,
                                                                                            int lookBackDays,
                                                                                            rt::Date& windowEnd) const {
  const RunParameters& parms = Parms();
  rt::Date windowStart;
  HistoryWindow(requestedStart, requestedEnd, lookBackDays, windowStart, windowEnd);

  // The stored span from five days before the window (a start on a weekend
  // or holiday still finds its first trading day) to its end.
  std::span<const rt::Date> span = Between(history.stored, windowStart - 5, windowEnd);
  const bool empty = span.empty();
  // A window that would consider a download may ask for the inception date,
  // which can fail; only LoadData answers that case.
  const bool wantsDownload = empty || windowStart < span.back() || span.front() < windowEnd;
  if (parms.blnUpdateData && wantsDownload && (parms.blnUseInternet || (!empty && windowStart < span.back())))
    return std::nullopt;

  db::Value newest = empty ? db::Value() : db::Value(span.front());
  db::Value oldest = empty ? db::Value() : db::Value(span.back());
  if (!SpansMoreThanLookBack(oldest, newest, parms.intWinDays)) return Served{NotEnoughData(), {}};
  if (!Between(history.failed, windowStart, requestedEnd).empty()) return std::nullopt;

  // LoadData loads the days from the window's start to the requested end;
  // the rules reach back no further than the signal day, or the newest day
  // when the signal day is not among them.
  std::span<const trade::HeldDay> loaded = Between(history.loaded, windowStart, requestedEnd);
  if (loaded.empty())
    return Served{FirstFullLookBackDate(requestedStart, kBlankDay.Date(), parms.intWinDays), std::span(&kBlankDay, 1)};
  const rt::Date signalDay = Day(requestedStart);
  auto reach = std::partition_point(loaded.begin(), loaded.end(),
                                    [&](const trade::HeldDay& d) { return d.Date() >= signalDay; });
  size_t reachable = std::max<size_t>(1, static_cast<size_t>(reach - loaded.begin()));
  return Served{FirstFullLookBackDate(requestedStart, loaded.back().Date(), parms.intWinDays), loaded.first(reachable)};
}
