#include "simulation/trade_days.h"

#include "platform/runtime/error.h"

namespace trade {
namespace {

// The view in use; nullptr for udtStockDays.
const HeldDay* viewDays = nullptr;
size_t viewCount = 0;

// CDbl of a price text, or NaN where CDbl refuses it.
double ReadPrice(const rt::PriceText& price) {
  try {
    return rt::CDbl(price.Text());
  } catch (const rt::Error&) {
    return kNotRead;
  }
}

}  // namespace

PriceDay MakePriceDay(rt::Date date, const rt::PriceText& close, const rt::PriceText& low, const rt::PriceText& high,
                      const rt::PriceText& open) {
  return {date, close, low, high, open, ReadPrice(close), ReadPrice(low), ReadPrice(high), ReadPrice(open)};
}

const PriceDay& HeldDay::Prices() const {
  if (!made_) {
    DayRecord day;
    StockPricesFromNumbers(stored_, day);
    made_ = std::make_unique<PriceDay>(MakePriceDay(date_, day.strClose, day.strLow, day.strHigh, day.strOpen));
  }
  return *made_;
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
  return MakePriceDay(day.datDamnDate, day.strClose, day.strLow, day.strHigh, day.strOpen);
}

}  // namespace trade
