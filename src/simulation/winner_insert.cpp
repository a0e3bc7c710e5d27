// The INSERT of one Select winner: built by the window's Winner handler and
// run by clsResearch::LogWinner, one row of the simulation table per winner.
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "simulation/simulation_table.h"

namespace simulation {

IndexValuesShown ShownIndexValues(const clsStock& stock) {
  IndexValuesShown shown{stock.DJ_RSI, stock.DJ_MA, stock.NS_RSI, stock.NS_MA};
  if (stock.Positioning == "SHORT") {
    shown.DJ_RSI = rt::CInt(100.0 - stock.DJ_RSI);
    shown.DJ_MA = rt::CInt(-static_cast<double>(stock.DJ_MA));
    shown.NS_RSI = rt::CInt(100.0 - stock.NS_RSI);
    shown.NS_MA = rt::CInt(-static_cast<double>(stock.NS_MA));
  }
  return shown;
}

const std::string& WinnerInsertText(const std::string& tableName) {
  // Built once per table: a run stores tens of thousands of winners into one table.
  static std::string table, text;
  if (text.empty() || table != tableName) {
    text = "INSERT INTO [" + db::SqlName(tableName) + "] (" + kWinnerColumns +
           ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    table = tableName;
  }
  return text;
}

db::BoundStatement WinnerInsertStatement(const clsStock& stock, const std::string& tableName, int databaseType) {
  if (databaseType != 1 && databaseType != 2) return {};
  IndexValuesShown index = ShownIndexValues(stock);
  double acquirePrice = stock.Simulation == 0 ? rt::Round(stock.ClosePrice, 2) : stock.PurchasePrice;

  db::BoundStatement insert;
  insert.sql = WinnerInsertText(tableName);
  // The acquire date is a date literal in the Jet dialect and a quoted
  // short-date text in the SQL-Server one.
  db::Value acquireDate =
      databaseType == 1 ? db::Value(stock.AcquireDate.DateOnly()) : db::Value(rt::FormatShortDate(stock.AcquireDate));
  // Built in place: a run builds one per winner, and a list would copy every value.
  std::vector<db::Value>& values = insert.parameters;
  values.reserve(19);
  auto whole = [&](int64_t value) { values.emplace_back(value); };
  values.emplace_back(stock.Market);
  values.push_back(std::move(acquireDate));
  values.emplace_back(stock.Symbol);
  values.emplace_back(stock.Positioning);
  values.push_back(db::PastedNumber(acquirePrice));
  whole(stock.RSI);
  values.push_back(db::PastedSingle(stock.RSIChange));
  values.push_back(db::PastedNumber(stock.MACDFastLine));
  whole(stock.PercentMA);
  values.push_back(db::PastedNumber(stock.High));
  values.push_back(db::PastedNumber(stock.Low));
  whole(stock.Volume);
  values.push_back(db::PastedNumber(stock.VolumeChange));
  values.push_back(db::PastedNumber(stock.PriceChange));
  values.push_back(db::PastedSingle(stock.BBDistance));
  whole(index.DJ_RSI);
  whole(index.DJ_MA);
  whole(index.NS_RSI);
  whole(index.NS_MA);
  return insert;
}

}  // namespace simulation
