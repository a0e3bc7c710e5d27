#pragma once
// A simulation table and quote tables for the Trade driver tests, written
// with the statements the Select stage and the quote storage use.
#include <string>

#include "market_data/database_connection.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/number_text.h"
#include "simulation/simulation_table.h"
#include "support/engine_test_bed.h"
#include "trade_series.h"

namespace tradetest {

// A Select winner, stored as the Select stage stores it: AcquirePrice -1,
// the signal day's High and Low as MaxPrice and MinPrice.
inline void AddCandidate(clsResearch& engine, const std::string& table, const char* date, const std::string& symbol,
                         const std::string& positioning) {
  clsStock stock;
  stock.Market = "ny";
  stock.AcquireDate = rt::CDate(date);
  stock.Symbol = symbol;
  stock.Positioning = positioning;
  stock.Simulation = 1;
  stock.PurchasePrice = -1;
  stock.High = 10.2;
  stock.Low = 9.8;
  stock.Volume = 100000;
  engine.LogWinner(simulation::WinnerInsertStatement(stock, table, Parms().intDatabaseType));
}

// The quote table of a stock holding the bars, adjusted close = close.
inline void StoreQuotes(clsResearch& engine, const std::string& symbol, const Bars& bars) {
  engine.CreateTable(symbol);
  db::Connection& cn = SharedConnection();
  cn.BeginTrans();
  for (const Bar& bar : bars)
    cn.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], [High], [Low], [Close], Adj_Close, Volume) VALUES (#" +
               bar.date + "#, " + rt::FormatNumber(bar.open) + ", " + rt::FormatNumber(bar.high) + ", " +
               rt::FormatNumber(bar.low) + ", " + rt::FormatNumber(bar.close) + ", " + rt::FormatNumber(bar.close) +
               ", 100000)");
  cn.CommitTrans();
}

// The trade columns of one row as texts ("" for Null).
struct TradeColumns {
  std::string acquirePrice, bought, releasePrice, releaseDate, boughtDate, gainLoss, maxPrice, minPrice;
};

inline TradeColumns ReadRow(const std::string& table, const char* date, const std::string& symbol,
                            const std::string& positioning) {
  db::Recordset rs = SharedConnection().OpenRecordset(
      "SELECT AcquirePrice, Bought, ReleasePrice, ReleaseDate, BoughtDate, GainLoss, MaxPrice, MinPrice FROM [" +
      table + "] WHERE AcquireDate = #" + date + "# AND Symbol = '" + db::SqlText(symbol) + "' AND Positioning = '" +
      positioning + "'");
  TradeColumns row;
  std::string* fields[] = {&row.acquirePrice, &row.bought,   &row.releasePrice, &row.releaseDate,
                           &row.boughtDate,   &row.gainLoss, &row.maxPrice,     &row.minPrice};
  for (int i = 0; i < 8; ++i) *fields[i] = rs.Field(i).ToText();
  return row;
}

}  // namespace tradetest
