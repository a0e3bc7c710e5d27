#pragma once
// Rows of a simulation table as the Trade stage leaves them, written in SQL
// so that each row reads like the table would show it.
#include <string>

#include "market_data/database_connection.h"
#include "platform/runtime/number_text.h"

namespace simtest {

// One candidate row. Texts are SQL literals: dates as #m/d/yyyy#, NULL where
// the Trade stage leaves nothing.
struct Row {
  std::string acquireDate;
  std::string symbol;
  std::string market;
  std::string positioning;
  double acquirePrice = -1;
  double percentMA = 0;
  long volume = 1000000;
  std::string bought = "NULL";
  std::string boughtDate = "NULL";
  std::string releaseDate = "NULL";
  std::string releasePrice = "NULL";
  std::string gainLoss = "NULL";
  double djMA = 0;
  double nsMA = 0;
};

inline void Insert(const std::string& table, const Row& r) {
  auto n = [](double v) { return rt::FormatNumber(v); };
  SharedConnection().Execute(
      "INSERT INTO [" + table +
      "] (AcquireDate, BoughtDate, Symbol, Market, Positioning, AcquirePrice, RSI, "
      "RSIChange, MACD, PercentMA, Bought, MaxPrice, MinPrice, ReleaseDate, ReleasePrice, GainLoss, Volume, "
      "VolumeChange, PriceChange, BBDistance, DJ_RSI, DJ_MA, NS_RSI, NS_MA) VALUES (" +
      r.acquireDate + ", " + r.boughtDate + ", '" + r.symbol + "', '" + r.market + "', '" + r.positioning + "', " +
      n(r.acquirePrice) + ", 55, 1, 0.125, " + n(r.percentMA) + ", " + r.bought + ", 0, 0, " + r.releaseDate + ", " +
      r.releasePrice + ", " + r.gainLoss + ", " + std::to_string(r.volume) + ", 1.5, -0.25, 0.5, 50, " + n(r.djMA) +
      ", 50, " + n(r.nsMA) + ")");
}

}  // namespace simtest
