#pragma once
// The days the Trade rules read for the position being traded, newest
// first: the loaded udtStockDays, or while a DaysInUse lives the view it
// names (the Trade stage's cache hands each row a view of the symbol's
// stored days, copying nothing). A day outside them raises "Subscript out of
// range" and a price text that is no number raises "Type mismatch", so
// either ends the row instead of reading past the data.
#include <cstddef>
#include <span>

#include "market_data/day_record.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

namespace trade {

// What the order and exit rules read of a day.
struct PriceDay {
  rt::Date datDamnDate;
  rt::PriceText strClose;
  rt::PriceText strLow;
  rt::PriceText strHigh;
  rt::PriceText strOpen;
};

// The rules read these days while the object lives.
class DaysInUse {
 public:
  explicit DaysInUse(std::span<const PriceDay> days);
  ~DaysInUse();
  DaysInUse(const DaysInUse&) = delete;
  DaysInUse& operator=(const DaysInUse&) = delete;

 private:
  const PriceDay* previousDays_;
  size_t previousCount_;
};

size_t DayCount();
PriceDay Day(int index);

inline double Price(const rt::PriceText& text) { return rt::CDbl(text.Text()); }

inline double Open(int index) { return Price(Day(index).strOpen); }
inline double High(int index) { return Price(Day(index).strHigh); }
inline double Low(int index) { return Price(Day(index).strLow); }
inline double Close(int index) { return Price(Day(index).strClose); }

}  // namespace trade
