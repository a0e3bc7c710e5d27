#include "simulation/trade_days.h"

#include "platform/runtime/error.h"

namespace trade {
namespace {

// The view in use; nullptr for udtStockDays.
const HeldDay* viewDays = nullptr;
size_t viewCount = 0;

// The index of a day in use; "Subscript out of range" for any other.
size_t Checked(int index) {
  if (index < 0 || static_cast<size_t>(index) >= DayCount()) rt::RaiseSubscript();
  return static_cast<size_t>(index);
}

}  // namespace

PriceDay HeldDay::Prices() const {
  if (const StoredPrices* stored = std::get_if<StoredPrices>(&prices_)) {
    DayRecord day;
    StockPricesFromNumbers(*stored, day);
    prices_ = Texts{day.strClose, day.strLow, day.strHigh, day.strOpen};
  }
  const Texts& made = std::get<Texts>(prices_);
  return {date_, made.close, made.low, made.high, made.open};
}

DaysInUse::DaysInUse(std::span<const HeldDay> days) : previousDays_(viewDays), previousCount_(viewCount) {
  viewDays = days.data();
  viewCount = days.size();
  // An empty view still stands for "these days", not for udtStockDays.
  static const HeldDay kNone{PriceDay{}};
  if (!viewDays) viewDays = &kNone;
}

DaysInUse::~DaysInUse() {
  viewDays = previousDays_;
  viewCount = previousCount_;
}

size_t DayCount() { return viewDays ? viewCount : udtStockDays.size(); }

PriceDay Day(int index) {
  const size_t i = Checked(index);
  if (viewDays) return viewDays[i].Prices();
  const DayRecord& day = udtStockDays[i];
  return {day.datDamnDate, day.strClose, day.strLow, day.strHigh, day.strOpen};
}

rt::Date DayDate(int index) {
  const size_t i = Checked(index);
  return viewDays ? viewDays[i].Date() : udtStockDays[i].datDamnDate;
}

}  // namespace trade
