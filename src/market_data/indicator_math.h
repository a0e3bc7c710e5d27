#pragma once
// The arithmetic shared by the indicator columns of stocks and indices.
//
// The columns keep the system's own precision rules, which the stored
// simulation results depend on: window sums run in single precision (every
// addition rounded to single), seeds sit at fixed rows counted from the oldest
// day, and rows run newest first (row 0 the newest day, row i+1 the day
// before). Nothing here may read outside the array: every window is checked
// against the oldest row before it is read.
#include <cstddef>
#include <vector>

#include "market_data/day_record.h"
#include "platform/runtime/rounding.h"

namespace indicators {

// The numbers behind a history's price texts, read once per computation so
// that a text is not parsed again on every use.
struct PriceSeries {
  std::vector<double> close;
  std::vector<double> high;
  std::vector<double> low;
};
PriceSeries ReadPrices(const DayRecords& days);

// The index of the oldest row, -1 for an empty array.
inline long OldestRow(const DayRecords& days) { return static_cast<long>(days.size()) - 1; }

// One step of a running total held in single precision: the addition is done
// in double and its result rounded to single.
inline float AddSingle(float total, double value) { return rt::ToSingle(static_cast<double>(total) + value); }

// total / period, the period taken as a single, the quotient in double.
inline double SingleMean(float total, int period) {
  return static_cast<double>(total) / static_cast<double>(static_cast<float>(period));
}

// Wilder's smoothing in its mean form.
inline double WilderStep(double previous, double value, int period) {
  return (previous * (period - 1) + value) / period;
}

// The exponential step with k = 2 / (period + 1).
inline double EmaStep(double previous, double value, double k) { return (value - previous) * k + previous; }

// Raises "Subscript out of range" unless 0 <= first and first + count - 1 <= oldest.
void CheckWindow(long first, long count, long oldest);

// Raises "Division by zero" for a period below 1 (a window of no days has no mean).
void CheckPeriod(long period);

// For every row i with i + period <= oldest row: the single-precision sum of
// values[i .. i+period-1] divided by period; every other row gets 0. The
// oldest row never enters a window.
std::vector<double> WindowMeans(const std::vector<double>& values, int period);

// The single-precision sum of values[first .. first+period-1] divided by
// period; the window must lie inside the array.
double SeedMean(const std::vector<double>& values, long first, int period);

// One column of every row gathered into a vector, and written back.
std::vector<double> ReadColumn(const DayRecords& days, double DayRecord::*column);
void WriteColumn(DayRecords& days, double DayRecord::*column, const std::vector<double>& values);

}  // namespace indicators
