#pragma once
// The days the Trade rules read for the position being traded, newest
// first: the loaded udtStockDays, or while a DaysInUse lives the view it
// names (the Trade stage's cache hands each row a view of the symbol's held
// days, copying nothing). A day outside them raises "Subscript out of
// range" and a price text that is no number raises "Type mismatch", so
// either ends the row instead of reading past the data.
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <span>

#include "market_data/day_record.h"
#include "market_data/history_rows.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

namespace trade {

// What the order and exit rules read of a day: the price texts, and the
// numbers they read as (CDbl), each read once when the day is made. NaN
// stands for a text not read or no number, which raises as CDbl does when a
// rule reads it.
inline constexpr double kNotRead = std::numeric_limits<double>::quiet_NaN();
struct PriceDay {
  rt::Date datDamnDate;
  rt::PriceText strClose;
  rt::PriceText strLow;
  rt::PriceText strHigh;
  rt::PriceText strOpen;
  double dblClose = kNotRead;
  double dblLow = kNotRead;
  double dblHigh = kNotRead;
  double dblOpen = kNotRead;
};

PriceDay MakePriceDay(rt::Date date, const rt::PriceText& close, const rt::PriceText& low, const rt::PriceText& high,
                      const rt::PriceText& open);

// A day of a stored history that the Trade stage holds: its stored prices,
// made into the day the rules read when a rule first reads it, so that only
// the days a walk reaches are ever made; a day whose row is not plain stored
// numbers is held made.
class HeldDay {
 public:
  HeldDay(rt::Date date, const StoredPrices& stored) : date_(date), stored_(stored) {}
  explicit HeldDay(const PriceDay& made) : date_(made.datDamnDate), made_(std::make_unique<PriceDay>(made)) {}

  rt::Date Date() const { return date_; }
  const PriceDay& Prices() const;

 private:
  rt::Date date_;
  StoredPrices stored_{};
  mutable std::unique_ptr<PriceDay> made_;  // apart: most days are never made
};

// The rules read these days while the object lives.
class DaysInUse {
 public:
  explicit DaysInUse(std::span<const HeldDay> days);
  ~DaysInUse();
  DaysInUse(const DaysInUse&) = delete;
  DaysInUse& operator=(const DaysInUse&) = delete;

 private:
  const HeldDay* previousDays_;
  size_t previousCount_;
};

size_t DayCount();
PriceDay Day(int index);

// A price of a day as read when the day was made; a text that is no number
// raises here.
inline double Price(int index, double PriceDay::*read, rt::PriceText PriceDay::*text) {
  const PriceDay day = Day(index);
  return std::isnan(day.*read) ? rt::CDbl((day.*text).Text()) : day.*read;
}

inline double Open(int index) { return Price(index, &PriceDay::dblOpen, &PriceDay::strOpen); }
inline double High(int index) { return Price(index, &PriceDay::dblHigh, &PriceDay::strHigh); }
inline double Low(int index) { return Price(index, &PriceDay::dblLow, &PriceDay::strLow); }
inline double Close(int index) { return Price(index, &PriceDay::dblClose, &PriceDay::strClose); }

}  // namespace trade
