#pragma once
// A Trade run reads each symbol's quote table once and cuts every row's
// window of day records from what it read, giving exactly what LoadData
// would give for that row. Whatever the cache cannot answer the same way (a
// missing or unreadable table, an index symbol, a row that fails to convert,
// a window that would consider a download) is handed to LoadData itself.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

class clsResearch::TradeHistoryCache {
 public:
  explicit TradeHistoryCache(clsResearch& engine) : engine_(engine) {}

  // Same arguments, effects on udtStockDays and result as LoadData.
  rt::Date Load(std::string& symbol, rt::Date& startDate, rt::Date& endDate, int16_t& lookBackDays);

  // Symbols read from their tables, and rows LoadData had to answer.
  size_t SymbolsRead() const { return symbols_.size(); }
  int64_t RowsHandedToLoadData() const { return handedOver_; }

 private:
  // One stored row, converted once; `loaded` is false for a zero close,
  // which LoadData skips, and `failed` for a row that raises on conversion.
  struct StoredDay {
    rt::Date date;
    bool loaded = false;
    bool failed = false;
    rt::PriceText close, low, high, open;
    int32_t volume = 0;
  };
  // Newest first, like the row query's answer; nullopt when the table
  // could not be read here.
  using History = std::optional<std::vector<StoredDay>>;

  const History& HistoryOf(const std::string& symbol);
  // The row's window, or nullopt when LoadData has to answer it.
  std::optional<rt::Date> Serve(const std::vector<StoredDay>& days, rt::Date requestedStart, rt::Date requestedEnd,
                                int lookBackDays, rt::Date& windowStart, rt::Date& windowEnd);

  clsResearch& engine_;
  std::map<std::string, History> symbols_;
  int64_t handedOver_ = 0;
};
