#pragma once
// The simulation table's statements that the window and the engine share:
// its columns, and the INSERT of one Select winner, which the window's Winner
// handler builds and hands back to clsResearch::LogWinner.
#include <cstdint>
#include <string>

#include "market_data/cls_stock.h"
#include "platform/db/bound_statement.h"

namespace simulation {

// The simulation table's columns, as its CREATE statement lists them.
inline constexpr const char* kSimulationColumns =
    "[AcquireDate] DATETIME, [BoughtDate] DATETIME, [Symbol] TEXT, [Market] TEXT,[Positioning] TEXT, "
    "[AcquirePrice] MONEY, [RSI] DOUBLE, [RSIChange] DOUBLE, [MACD] DOUBLE, [PercentMA] DOUBLE, [Bought] TEXT, "
    "[Shares] INTEGER, [MaxPrice] MONEY, [MinPrice] MONEY, [TargetPrice] MONEY, [ReleaseDate] DATETIME, "
    "[ReleasePrice] MONEY, [GainLoss] DOUBLE, [Volume] INTEGER, [VolumeChange] DOUBLE, [PriceChange] DOUBLE, "
    "[BBDistance] DOUBLE, [DJ_RSI] DOUBLE, [DJ_MA] DOUBLE, [NS_RSI] DOUBLE, [NS_MA] DOUBLE";

// What a Select run's status says while it removes the tables of the winners
// it replaced (simulation_table's CreateSimulationTable moved them aside).
inline constexpr const char* kRemovingOldWinners = "Removing the old winners ...";

// What a Select run says when those tables cannot be removed, before the cause.
inline constexpr const char* kUnableToRemoveOldWinners = "Unable to remove the old winners of the simulation.";

// What a Select run's status says while it builds the table's key over its winners.
inline constexpr const char* kStoringWinners = "Storing winners ...";

// What a Select run says when its winners cannot be stored, before the cause.
inline constexpr const char* kUnableToStoreWinners = "Unable to store the winners in the simulation table.";

// The columns a Select winner fills, in the order of its INSERT's values.
inline constexpr const char* kWinnerColumns =
    "Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD ,PercentMA, MaxPrice, MinPrice, "
    "Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], [NS_RSI], [NS_MA]";

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
// The text of that INSERT for the table (the same for every winner).
const std::string& WinnerInsertText(const std::string& tableName);

}  // namespace simulation
