#pragma once
// A simulation table and quote tables for the Trade driver tests, written
// with the statements the Select stage and the quote storage use.
#include <string>

#include "market_data/database_connection.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/number_text.h"
#include "support/engine_test_bed.h"
#include "trade_series.h"

namespace tradetest {

inline void CreateSimTable(const std::string& name) {
  SharedConnection().Execute(
      "CREATE TABLE [" + name +
      "] ([AcquireDate] DATETIME, [BoughtDate] DATETIME, [Symbol] TEXT, [Market] TEXT,[Positioning] TEXT, "
      "[AcquirePrice] MONEY, [RSI] DOUBLE, [RSIChange] DOUBLE, [MACD] DOUBLE, [PercentMA] DOUBLE, [Bought] TEXT, "
      "[Shares] INTEGER, [MaxPrice] MONEY, [MinPrice] MONEY, [TargetPrice] MONEY, [ReleaseDate] DATETIME, "
      "[ReleasePrice] MONEY, [GainLoss] DOUBLE, [Volume] INTEGER, [VolumeChange] DOUBLE, [PriceChange] DOUBLE, "
      "[BBDistance] DOUBLE, [DJ_RSI] DOUBLE, [DJ_MA] DOUBLE, [NS_RSI] DOUBLE, [NS_MA] DOUBLE,CONSTRAINT [PK] "
      "PRIMARY KEY ([AcquireDate], [Symbol], [Positioning]));");
}

// A Select winner: AcquirePrice -1, the signal day's High and Low as MaxPrice
// and MinPrice.
inline void AddCandidate(const std::string& table, const char* date, const std::string& symbol,
                         const std::string& positioning) {
  SharedConnection().Execute("INSERT INTO [" + table +
                             "] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD "
                             ",PercentMA, MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, "
                             "[DJ_RSI], [DJ_MA], [NS_RSI], [NS_MA]) VALUES ('ny', #" +
                             std::string(date) + "#, '" + db::SqlText(symbol) + "', '" + positioning +
                             "', -1, 50, 1, 0.5, 3, 10.2, 9.8, 100000, 5, 1, 0.2, 50, 1, 50, 1)");
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
      table + "] WHERE AcquireDate = #" + date + "# AND Symbol = '" + db::SqlText(symbol) +
      "' AND Positioning = '" + positioning + "'");
  TradeColumns row;
  std::string* fields[] = {&row.acquirePrice, &row.bought, &row.releasePrice, &row.releaseDate,
                           &row.boughtDate, &row.gainLoss, &row.maxPrice, &row.minPrice};
  for (int i = 0; i < 8; ++i) *fields[i] = rs.Field(i).ToText();
  return row;
}

}  // namespace tradetest
