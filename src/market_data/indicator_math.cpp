#include "market_data/indicator_math.h"

#include "platform/runtime/error.h"

namespace indicators {

PriceSeries ReadPrices(const DayRecords& days) {
  PriceSeries prices;
  prices.close.reserve(days.size());
  prices.high.reserve(days.size());
  prices.low.reserve(days.size());
  for (const DayRecord& day : days) {
    prices.close.push_back(day.strClose.Value());
    prices.high.push_back(day.strHigh.Value());
    prices.low.push_back(day.strLow.Value());
  }
  return prices;
}

void CheckWindow(long first, long count, long oldest) {
  if (first < 0 || count < 0 || first + count - 1 > oldest) rt::RaiseSubscript();
}

void CheckPeriod(long period) {
  if (period < 1) rt::RaiseDivisionByZero();
}

std::vector<double> WindowMeans(const std::vector<double>& values, int period) {
  CheckPeriod(period);
  std::vector<double> means(values.size(), 0.0);
  // Rows 0 .. lastFull have a full window that stops short of the oldest row.
  const long lastFull = static_cast<long>(values.size()) - 1 - period;
  // Each row's total is its own sequence of single-precision additions, so
  // the sums cannot slide; eight rows at a time keeps the additions
  // independent of one another, which lets the compiler overlap them.
  constexpr long kBlock = 8;
  long i = 0;
  for (; i + kBlock - 1 <= lastFull; i += kBlock) {
    float totals[kBlock] = {};
    for (long j = 0; j < period; ++j)
      for (long r = 0; r < kBlock; ++r) totals[r] = AddSingle(totals[r], values[static_cast<size_t>(i + r + j)]);
    for (long r = 0; r < kBlock; ++r) means[static_cast<size_t>(i + r)] = SingleMean(totals[r], period);
  }
  for (; i <= lastFull; ++i) {
    float total = 0;
    for (long j = 0; j < period; ++j) total = AddSingle(total, values[static_cast<size_t>(i + j)]);
    means[static_cast<size_t>(i)] = SingleMean(total, period);
  }
  return means;
}

double SeedMean(const std::vector<double>& values, long first, int period) {
  CheckPeriod(period);
  CheckWindow(first, period, static_cast<long>(values.size()) - 1);
  float total = 0;
  for (long j = first; j < first + period; ++j) total = AddSingle(total, values[static_cast<size_t>(j)]);
  return SingleMean(total, period);
}

std::vector<double> ReadColumn(const DayRecords& days, double DayRecord::*column) {
  std::vector<double> values;
  values.reserve(days.size());
  for (const DayRecord& day : days) values.push_back(day.*column);
  return values;
}

void WriteColumn(DayRecords& days, double DayRecord::*column, const std::vector<double>& values) {
  const size_t count = values.size() < days.size() ? values.size() : days.size();
  for (size_t i = 0; i < count; ++i) days[i].*column = values[i];
}

}  // namespace indicators
