#pragma once
// One candidate or position as it leaves the engine: filled by the Select
// scan, the reload of a simulation table and the portfolio replay, and read
// by the window's event handlers. A plain record: every field starts at zero,
// the empty text or the zero date.
#include <cstdint>
#include <string>

#include "platform/runtime/date.h"

struct clsStock {
  double GainLoss = 0;   // percent gain or loss (column GainLoss)
  rt::Date ReleaseDate;  // day the position was closed
  double TargetPrice = 0;
  int32_t SharesPurchased = 0;  // portfolio
  double AmountPurchased = 0;   // portfolio
  rt::Date CurrentDate;         // the replayed day the record is shown for
  float RSIChange = 0;
  float BBDistance = 0;
  double ReleasePrice = 0;   // the Select scan keeps its own computed price here
  double PurchasePrice = 0;  // -1 for a Select winner (not bought)
  int16_t Simulation = 0;
  int16_t RSI = 0;
  std::string Positioning;  // "LONG" or "SHORT"
  double Low = 0;
  double High = 0;
  double ClosePrice = 0;    // on reload: column AcquirePrice
  double MACDFastLine = 0;  // column MACD
  double PriceChange = 0;
  double VolumeChange = 0;
  std::string Swing;
  int32_t Volume = 0;  // the average volume (column 14) of the signal day
  int16_t PercentMA = 0;
  std::string Symbol;
  std::string Market;  // "ny", "ns" or "am"
  int16_t NS_RSI = 0;
  int16_t NS_MA = 0;
  int16_t DJ_RSI = 0;
  int16_t DJ_MA = 0;
  rt::Date AcquireDate;  // signal day
  rt::Date BoughtDate;   // day the position was entered
};
