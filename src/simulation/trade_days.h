#pragma once
// The days the Trade rules read for the position being traded, newest
// first: the loaded udtStockDays, or while a DaysInUse lives the view it
// names (the Trade stage's cache hands each row a view of the symbol's held
// days, copying nothing). A day outside them raises "Subscript out of
// range" and a price text that is no number raises "Type mismatch", so
// either ends the row instead of reading past the data.
#include <cstddef>
#include <span>
#include <variant>

#include "market_data/day_record.h"
#include "market_data/history_rows.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

namespace trade {

// What the order and exit rules read of a day: its date and price texts.
struct PriceDay {
  rt::Date datDamnDate;
  rt::PriceText strClose;
  rt::PriceText strLow;
  rt::PriceText strHigh;
  rt::PriceText strOpen;
};

// A day of a stored history that the Trade stage holds: its stored prices,
// made into the texts the rules read when a rule first reads the day, so
// that only the days a walk reaches are ever made; a day whose row is not
// plain stored numbers is held made. Nothing of it lives apart, so a
// released history is dropped without visiting its days.
class HeldDay {
 public:
  HeldDay(rt::Date date, const StoredPrices& stored) : date_(date), prices_(stored) {}
  explicit HeldDay(const PriceDay& made)
      : date_(made.datDamnDate), prices_(Texts{made.strClose, made.strLow, made.strHigh, made.strOpen}) {}

  rt::Date Date() const { return date_; }
  PriceDay Prices() const;

 private:
  struct Texts {
    rt::PriceText close, low, high, open;
  };
  rt::Date date_;
  mutable std::variant<StoredPrices, Texts> prices_;  // the texts once made
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
// A day's date, read without making its prices.
rt::Date DayDate(int index);

// A price of a day: the number its text reads as; a text that is no number
// raises here.
inline double Price(int index, rt::PriceText PriceDay::*text) { return rt::CDbl((Day(index).*text).Text()); }

inline double Open(int index) { return Price(index, &PriceDay::strOpen); }
inline double High(int index) { return Price(index, &PriceDay::strHigh); }
inline double Low(int index) { return Price(index, &PriceDay::strLow); }
inline double Close(int index) { return Price(index, &PriceDay::strClose); }

}  // namespace trade
