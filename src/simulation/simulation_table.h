#pragma once
// The simulation table's statements that the window and the engine share:
// the INSERT of one Select winner, which the window's Winner handler builds
// and hands back to clsResearch::LogWinner.
#include <cstdint>
#include <string>

#include "market_data/cls_stock.h"
#include "platform/db/bound_statement.h"

namespace simulation {

// The four market-index values of a winner as the winners list shows them and
// the table stores them: for a "SHORT" winner the RSIs become 100 - RSI and
// the distances change sign, in 16-bit arithmetic ("Overflow" outside it).
struct IndexValuesShown {
  int16_t DJ_RSI = 0;
  int16_t DJ_MA = 0;
  int16_t NS_RSI = 0;
  int16_t NS_MA = 0;
};
IndexValuesShown ShownIndexValues(const clsStock& stock);

// The INSERT of one winner into the simulation table tableName, its values
// bound: the acquire date as a date (database kind 1) or as its short-date
// text (kind 2, which the table refuses); no statement for any other kind.
// The acquire price is the close rounded to 2 places when the stock's
// Simulation is 0, else its PurchasePrice (-1 for a Select winner). A table
// name that cannot stand between brackets raises the statement error.
db::BoundStatement WinnerInsertStatement(const clsStock& stock, const std::string& tableName, int databaseType);

}  // namespace simulation
