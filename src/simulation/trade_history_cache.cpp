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

}  // namespace

const clsResearch::TradeHistoryCache::History& clsResearch::TradeHistoryCache::HistoryOf(const std::string& symbol) {
  auto found = symbols_.find(symbol);
  if (found != symbols_.end()) return found->second;
  History& history = symbols_[symbol];
  const int16_t databaseType = Parms().intDatabaseType;
  // Index symbols fill the index arrays, and the other cases below take
  // LoadData's own paths (creating a missing table, its messages).
  if (symbol.empty() || symbol[0] == '^' || !db::IsBracketSafe(symbol) || (databaseType != 1 && databaseType != 2))
    return history;
  try {
    db::Recordset rows = SharedConnection().OpenRecordset(
        "SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, Volume From [" + symbol +
        "] ORDER BY DamnDate DESC");
    std::vector<StoredDay> days;
    days.reserve(static_cast<size_t>(rows.RecordCount()));
    for (; !rows.Eof(); rows.MoveNext()) {
      StoredDay stored;
      stored.date = rows.Field(0).ToDate();
      StoredQuoteRow row{rows.Field(0), rows.Field(1), rows.Field(2), rows.Field(3),
                         rows.Field(4), rows.Field(5), rows.Field(6)};
      try {
        DayRecord day;
        stored.loaded = StockDayFromRow(row, day);
        stored.close = day.strClose;
        stored.low = day.strLow;
        stored.high = day.strHigh;
        stored.open = day.strOpen;
        stored.volume = day.lngVolume;
      } catch (const std::exception&) {
        stored.failed = true;
      }
      days.push_back(stored);
    }
    history = std::move(days);
  } catch (const std::exception&) {
    history.reset();
  }
  return history;
}

rt::Date clsResearch::TradeHistoryCache::Load(std::string& symbol, rt::Date& startDate, rt::Date& endDate,
                                              int16_t& lookBackDays) {
  const History& history = HistoryOf(symbol);
  if (history) {
    rt::Date windowStart, windowEnd;
    std::optional<rt::Date> result = Serve(*history, startDate, endDate, lookBackDays, windowStart, windowEnd);
    if (result) {
      endDate = windowEnd;
      return *result;
    }
  }
  ++handedOver_;
  return engine_.LoadData(symbol, startDate, endDate, lookBackDays);
}

std::optional<rt::Date> clsResearch::TradeHistoryCache::Serve(const std::vector<StoredDay>& days,
                                                              rt::Date requestedStart, rt::Date requestedEnd,
                                                              int lookBackDays, rt::Date& windowStart,
                                                              rt::Date& windowEnd) {
  const RunParameters& parms = Parms();
  HistoryWindow(requestedStart, requestedEnd, lookBackDays, windowStart, windowEnd);

  // The days between two bounds (inclusive), newest first: [first, last).
  auto between = [&](rt::Date from, rt::Date to) {
    auto first = std::partition_point(days.begin(), days.end(),
                                      [&](const StoredDay& d) { return d.date > Day(to); });
    auto last = std::partition_point(first, days.end(), [&](const StoredDay& d) { return d.date >= Day(from); });
    return std::pair{first, last};
  };

  // The stored span from five days before the window (a start on a weekend
  // or holiday still finds its first trading day) to its end.
  auto [spanFirst, spanLast] = between(windowStart - 5, windowEnd);
  const bool empty = spanFirst == spanLast;
  // A window that would consider a download may ask for the inception date,
  // which can fail; only LoadData answers that case.
  const bool wantsDownload = empty || windowStart < (spanLast - 1)->date || spanFirst->date < windowEnd;
  if (parms.blnUpdateData && wantsDownload && (parms.blnUseInternet || (!empty && windowStart < (spanLast - 1)->date)))
    return std::nullopt;

  udtStockDays.assign(1, DayRecord{});
  db::Value newest = empty ? db::Value() : db::Value(spanFirst->date);
  db::Value oldest = empty ? db::Value() : db::Value((spanLast - 1)->date);
  if (!SpansMoreThanLookBack(oldest, newest, parms.intWinDays)) return NotEnoughData();

  auto [rowsFirst, rowsLast] = between(windowStart, requestedEnd);
  if (std::any_of(rowsFirst, rowsLast, [](const StoredDay& d) { return d.failed; })) return std::nullopt;
  udtStockDays.clear();
  udtStockDays.reserve(static_cast<size_t>(rowsLast - rowsFirst));
  for (auto it = rowsFirst; it != rowsLast; ++it) {
    if (!it->loaded) continue;
    DayRecord& day = udtStockDays.emplace_back();
    day.datDamnDate = it->date;
    day.strClose = it->close;
    day.strLow = it->low;
    day.strHigh = it->high;
    day.strOpen = it->open;
    day.lngVolume = it->volume;
  }
  if (udtStockDays.empty()) udtStockDays.assign(1, DayRecord{});
  return FirstFullLookBackDate(requestedStart, udtStockDays.back().datDamnDate, parms.intWinDays);
}
