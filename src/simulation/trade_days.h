#pragma once
// Reading the loaded day records of the position's symbol for the Trade
// stage: a day outside the loaded records raises "Subscript out of range" and
// a price text that is no number raises "Type mismatch", so either ends the
// row instead of reading past the data.
#include "market_data/day_record.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"

namespace trade {

inline const DayRecord& Day(int index) {
  if (index < 0 || static_cast<size_t>(index) >= udtStockDays.size()) rt::RaiseSubscript();
  return udtStockDays[static_cast<size_t>(index)];
}

inline double Price(const rt::PriceText& text) { return rt::CDbl(text.Text()); }

inline double Open(int index) { return Price(Day(index).strOpen); }
inline double High(int index) { return Price(Day(index).strHigh); }
inline double Low(int index) { return Price(Day(index).strLow); }
inline double Close(int index) { return Price(Day(index).strClose); }

}  // namespace trade
