#include "simulation/trade_days.h"

#include "platform/runtime/error.h"

namespace trade {
namespace {

// The view in use; nullptr for udtStockDays.
const HeldDay* viewDays = nullptr;
size_t viewCount = 0;

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
  if (index < 0 || static_cast<size_t>(index) >= DayCount()) rt::RaiseSubscript();
  if (viewDays) return viewDays[index].Prices();
  const DayRecord& day = udtStockDays[static_cast<size_t>(index)];
  return {day.datDamnDate, day.strClose, day.strLow, day.strHigh, day.strOpen};
}

}  // namespace trade
