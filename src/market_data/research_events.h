#pragma once
// The engine's 14 events. The main window implements this listener (its
// handlers objResearch_Winner and siblings); tests record the calls.
// Every event is raised synchronously and a handler may change any argument.
#include <cstdint>
#include <string>

#include "market_data/cls_stock.h"
#include "platform/runtime/date.h"

class ResearchEvents {
 public:
  virtual ~ResearchEvents() = default;

  virtual void Winner(clsStock& stock, bool& store) {}
  // The Trade stage's result for one simulation-table row, named by the row's
  // key: the table is read in no fixed order, so a running count would not
  // find the row in the winners list. With it the price the row now holds
  // (-1 when the stage left it reset), which the list shows as the row's
  // close, as it does for a row read back from the table.
  virtual void UpdateWinnerView(rt::Date& acquireDate, std::string& symbol, std::string& positioning, double& gainLoss,
                                double& acquirePrice) {}
  virtual void TotalStocks(int16_t& count) {}
  // symbol, total, index, a flag the window does not read, and whether the
  // label shows only "index of total". A total of 0 carries a status text in
  // place of the symbol (a long step of a run: "Storing winners ...").
  virtual void StockCount(std::string& symbol, int32_t& total, int32_t& index, bool& flag, bool& countOnly) {}
  // After each stored page of a download: the days back from the range's end
  // that the pages have reached (all of them once the download is done), the
  // days of the range, and the pages fetched so far.
  virtual void UpdateProgress(int32_t& daysReached, int32_t& daysInRange, int32_t& pages) {}
  virtual void Progress(int32_t& count, int32_t& total) {}
  virtual void Progress2(int32_t& day, int32_t& total) {}
  virtual void Results(double& averageReturn, double& averageHold, int16_t& shorts, int16_t& longs, int16_t& winners,
                       int16_t& losers, double& balance, int32_t& startBalance) {}
  virtual void Swing(std::string& stage, rt::Date& day, std::string& symbol) {}
  virtual void Interneting(bool& busy, std::string& symbol) {}
  virtual void BuySellResults(double& average, int32_t& shorts, int32_t& longs, int32_t& winners, int32_t& losers,
                              double& a, double& b) {}
  virtual void MarketConditions(int16_t& djiMA, int16_t& djiRSI, int16_t& nasdaqMA, int16_t& nasdaqRSI) {}
  virtual void ImportSymbols() {}  // never raised
  virtual void UpdateDisplay(clsStock& stock, bool& done) {}
};
