#pragma once
// A Trade run reads each symbol's quote table once and answers every row's
// history from what it read, exactly as LoadData would: the same result, the
// same end date, and of LoadData's day records the ones the row's order and
// exit rules can reach (from the signal day to the newest day), handed over
// as a view instead of a copy. Whatever the cache cannot answer the same way
// (a missing or unreadable table, an index symbol, a row that fails to
// convert, a window that would consider a download) is handed to LoadData
// itself, which fills udtStockDays.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "platform/db/row_reader.h"
#include "platform/runtime/date.h"
#include "simulation/trade_days.h"

class clsResearch::TradeHistoryCache {
 public:
  explicit TradeHistoryCache(clsResearch& engine) : engine_(engine) {}

  struct Served {
    rt::Date result;  // LoadData's result
    // The days the row's rules read, newest first; nullopt when LoadData
    // answered and the days are in udtStockDays.
    std::optional<std::span<const trade::HeldDay>> days;
  };
  // Same arguments and result as LoadData.
  Served Load(std::string& symbol, rt::Date& startDate, rt::Date& endDate, int16_t& lookBackDays);

  // Drops the symbol's history: its rows are traded.
  void Release(const std::string& symbol);

  // Symbols read from their tables, those still held, and rows LoadData had
  // to answer.
  size_t SymbolsRead() const { return symbolsRead_; }
  size_t SymbolsHeld() const { return symbols_.size(); }
  int64_t RowsHandedToLoadData() const { return handedOver_; }

 private:
  // A symbol's stored rows, each list newest first like the row query's answer.
  struct History {
    std::vector<rt::Date> stored;        // every row
    std::vector<trade::HeldDay> loaded;  // the rows LoadData keeps (a close that is not zero)
    std::vector<rt::Date> failed;        // rows that raise on conversion
  };

  // nullopt when the table could not be read here.
  const std::optional<History>& HistoryOf(const std::string& symbol);
  // A stored row: its date, and its day unless LoadData leaves it out or
  // fails on it.
  void AddRow(History& history, const db::RowReader& row);
  // The row's answer, or nullopt when LoadData has to give it.
  std::optional<Served> Serve(const History& history, rt::Date requestedStart, rt::Date requestedEnd, int lookBackDays,
                              rt::Date& windowEnd) const;

  clsResearch& engine_;
  std::map<std::string, std::optional<History>> symbols_;
  std::vector<History> spares_;  // the lists of released histories, reused
  size_t lastRows_ = 0;          // rows of the last history read
  DayRecord day_;                // one row's record while a history is read
  size_t symbolsRead_ = 0;
  int64_t handedOver_ = 0;
};
