#include "market_data/adx_steps.h"

#include <cmath>

namespace indicators {
namespace {

size_t At(long row) { return static_cast<size_t>(row); }

// Visits every row that has a day before it, oldest first.
template <typename Body>
void RowsWithDayBefore(const DayRecords& days, Body body) {
  for (long i = OldestRow(days) - 1; i >= 0; --i) body(At(i));
}

enum class SmoothForm { kSum, kMean };

// Sums `period` rows of `input` from `windowStart` towards newer rows, stores
// the seed at the newest row of that window and steps on to row 0. Nothing
// is written when the window would reach past row 0.
void Smooth(DayRecords& days, double DayRecord::*input, double DayRecord::*output, long windowStart, int32_t period,
            SmoothForm form) {
  CheckPeriod(period);
  if (windowStart <= period) return;
  const long seedRow = windowStart - period + 1;
  double sum = 0;
  for (long i = windowStart; i >= seedRow; --i) sum += days[At(i)].*input;
  days[At(seedRow)].*output = form == SmoothForm::kSum ? sum : sum / period;
  for (long i = seedRow - 1; i >= 0; --i) {
    const double previous = days[At(i + 1)].*output;
    const double value = days[At(i)].*input;
    days[At(i)].*output =
        form == SmoothForm::kSum ? previous - previous / period + value : WilderStep(previous, value, period);
  }
}

double Percent(double part, double whole) { return whole == 0 ? 0.0 : 100 * part / whole; }

}  // namespace

void RawPlusDM(DayRecords& days, const PriceSeries& prices) {
  RowsWithDayBefore(days, [&](size_t i) {
    const double rise = prices.high[i] - prices.high[i + 1];
    days[i].dblRawPlusDM = rise > 0 ? rise : 0.0;
  });
}

void RawMinusDM(DayRecords& days, const PriceSeries& prices) {
  RowsWithDayBefore(days, [&](size_t i) {
    days[i].dblRawMinusDM = prices.low[i] - prices.low[i + 1] < 0 ? prices.low[i + 1] - prices.low[i] : 0.0;
  });
}

void PlusDM(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) {
    days[i].dblPlusDM = days[i].dblRawPlusDM > days[i].dblRawMinusDM ? days[i].dblRawPlusDM : 0.0;
  });
}

void MinusDM(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) {
    days[i].dblMinusDM = days[i].dblRawMinusDM > days[i].dblRawPlusDM ? days[i].dblRawMinusDM : 0.0;
  });
}

void SmoothPlusDM(DayRecords& days, int32_t period) {
  Smooth(days, &DayRecord::dblPlusDM, &DayRecord::dblSmoothPlusDM, OldestRow(days) - 1, period, SmoothForm::kSum);
}

void SmoothMinusDM(DayRecords& days, int32_t period) {
  Smooth(days, &DayRecord::dblMinusDM, &DayRecord::dblSmoothMinusDM, OldestRow(days), period, SmoothForm::kSum);
}

void RangeHighLow(DayRecords& days, const PriceSeries& prices) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblTR1 = std::fabs(prices.high[i] - prices.low[i]); });
}

void RangeHighClose(DayRecords& days, const PriceSeries& prices) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblTR2 = std::fabs(prices.high[i] - prices.close[i + 1]); });
}

void RangeLowClose(DayRecords& days, const PriceSeries& prices) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblTR3 = std::fabs(prices.low[i] - prices.close[i + 1]); });
}

void TrueRange(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) {
    double largest = days[i].dblTR1;
    if (days[i].dblTR2 > largest) largest = days[i].dblTR2;
    if (days[i].dblTR3 > largest) largest = days[i].dblTR3;
    days[i].dblTR = largest;
  });
}

void SmoothTrueRange(DayRecords& days, int32_t period) {
  Smooth(days, &DayRecord::dblTR, &DayRecord::dblSmoothTR, OldestRow(days), period, SmoothForm::kSum);
}

void PlusDI(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblPlusDI = Percent(days[i].dblSmoothPlusDM, days[i].dblSmoothTR); });
}

void MinusDI(DayRecords& days) {
  RowsWithDayBefore(days,
                    [&](size_t i) { days[i].dblMinusDI = Percent(days[i].dblSmoothMinusDM, days[i].dblSmoothTR); });
}

void DIDifference(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblDIDiff = std::fabs(days[i].dblPlusDI - days[i].dblMinusDI); });
}

void DISum(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblDISum = days[i].dblPlusDI + days[i].dblMinusDI; });
}

void DX(DayRecords& days) {
  RowsWithDayBefore(days, [&](size_t i) { days[i].dblDX = Percent(days[i].dblDIDiff, days[i].dblDISum); });
}

void ADX(DayRecords& days, int32_t period) {
  Smooth(days, &DayRecord::dblDX, &DayRecord::dblADX, OldestRow(days), period, SmoothForm::kMean);
}

void CalculateAdx(DayRecords& days, const PriceSeries& prices, int32_t period) {
  RawPlusDM(days, prices);
  RawMinusDM(days, prices);
  PlusDM(days);
  MinusDM(days);
  SmoothPlusDM(days, period);
  SmoothMinusDM(days, period);
  RangeHighLow(days, prices);
  RangeHighClose(days, prices);
  RangeLowClose(days, prices);
  TrueRange(days);
  SmoothTrueRange(days, period);
  PlusDI(days);
  MinusDI(days);
  DIDifference(days);
  DISum(days);
  DX(days);
  ADX(days, period);
}

}  // namespace indicators
