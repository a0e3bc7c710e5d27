#include "market_data/market_index_steps.h"

#include "market_data/indicator_math.h"
#include "market_data/indicator_steps.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"

namespace indicators {

double IndexPercentMA(const rt::PriceText& close, double average) {
  const double c = close.Value();
  const double m = rt::Val(rt::FormatNumber(average));
  if (c == 0) rt::RaiseDivisionByZero();
  return rt::Round((c - m) / c, 2) * 100;
}

void CrunchIndexDays(DayRecords& days, const RunParameters& parms) {
  const PriceSeries prices = ReadPrices(days);
  AverageClose2(days, prices);
  MovingAverage(days, prices.close, parms.intMADays, &DayRecord::dblMA_B);
  Gain(days);
  Loss(days);
  AverageGain(days, parms.intRSIDays);
  AverageLoss(days, parms.intRSIDays);
  Rsi(days);
  for (DayRecord& day : days) day.dblIndexRSI = day.dblRSI;
  for (long i = OldestRow(days) - parms.intMADays - 1; i >= 0; --i) {
    DayRecord& day = days[static_cast<size_t>(i)];
    day.dblIndexPercentMA = IndexPercentMA(day.strClose, day.dblMA_B);
  }
}

}  // namespace indicators
