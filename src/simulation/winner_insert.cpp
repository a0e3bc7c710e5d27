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

std::string WinnerInsertStatement(const clsStock& stock, const std::string& tableName, int databaseType) {
  std::string dateOpen, dateClose;
  if (databaseType == 1) {
    dateOpen = "', #";
    dateClose = "#, '";
  } else if (databaseType == 2) {
    dateOpen = "', '";
    dateClose = "', '";
  } else {
    return "";
  }
  IndexValuesShown index = ShownIndexValues(stock);
  double acquirePrice = stock.Simulation == 0 ? rt::Round(stock.ClosePrice, 2) : stock.PurchasePrice;

  std::string sql = "INSERT INTO [" + db::SqlName(tableName) +
                    "] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD ,PercentMA, "
                    "MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], "
                    "[NS_RSI], [NS_MA]) ";
  sql += "VALUES ('" + db::SqlText(stock.Market) + dateOpen + rt::FormatShortDate(stock.AcquireDate) + dateClose;
  sql += db::SqlText(stock.Symbol) + "', '" + db::SqlText(stock.Positioning) + "', ";
  const std::string numbers[] = {
      rt::FormatNumber(acquirePrice),     rt::FormatNumber(stock.RSI),
      rt::FormatSingle(stock.RSIChange),  rt::FormatNumber(stock.MACDFastLine),
      rt::FormatNumber(stock.PercentMA),  rt::FormatNumber(stock.High),
      rt::FormatNumber(stock.Low),        rt::FormatNumber(stock.Volume),
      rt::FormatNumber(stock.VolumeChange), rt::FormatNumber(stock.PriceChange),
      rt::FormatSingle(stock.BBDistance), rt::FormatNumber(index.DJ_RSI),
      rt::FormatNumber(index.DJ_MA),      rt::FormatNumber(index.NS_RSI),
      rt::FormatNumber(index.NS_MA),
  };
  for (size_t k = 0; k < std::size(numbers); ++k) sql += (k ? ", " : "") + numbers[k];
  return sql + ")";
}

}  // namespace simulation
