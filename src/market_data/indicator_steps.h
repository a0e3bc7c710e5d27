#pragma once
// The indicator columns 11 to 46 of a loaded history, one function per
// column, each working in place on the whole array (row 0 the newest day).
// clsResearch's steps call these on udtStockDays with the run parameters of
// the moment; the market-index members reuse the ones they share.
//
// A step raises rt::Error when its window or seed would read past the oldest
// row or its period is below 1; the columns written before keep their values.
#include <string>
#include <vector>

#include "market_data/day_record.h"
#include "market_data/indicator_math.h"
#include "market_data/run_parameters.h"

namespace indicators {

// Rows counted back from the oldest row n: the RSI averages and the MACD
// signal are seeded at row n-23, the two EMAs at row n-27, and the flag
// columns 30 to 41 are written for rows 0 .. n-20.
inline constexpr long kRsiSeedBack = 23;
inline constexpr long kEmaSeedBack = 27;
inline constexpr long kFlagRowsBack = 20;
// The fewest rows the stock columns are computed for.
inline constexpr long kMinimumRows = 35;

// 11: the mean of the day's and the day before's close, each read as single.
void AverageClose2(DayRecords& days, const PriceSeries& prices);
// 12, 13, 14, 15: the window mean of `values` over `period` rows into `column`.
void MovingAverage(DayRecords& days, const std::vector<double>& values, int period, double DayRecord::*column);
std::vector<double> Volumes(const DayRecords& days);
// 16: column 12 minus the close; 17: its square.
void Deviation(DayRecords& days, const PriceSeries& prices);
void DeviationSquared(DayRecords& days);
// 18: the root of the window mean of column 17 over the Bollinger period.
void Sigma(DayRecords& days, int bollDays);
// 19, 21: the bands; 20, 22: their day-to-day change.
void BandUpper(DayRecords& days);
void BandUpperSlope(DayRecords& days);
void BandLower(DayRecords& days);
void BandLowerSlope(DayRecords& days);
// 23, 24: rise and fall of column 11 from the day before.
void Gain(DayRecords& days);
void Loss(DayRecords& days);
// 25, 26: Wilder averages of columns 23 and 24, seeded at row n-23.
void AverageGain(DayRecords& days, int rsiDays);
void AverageLoss(DayRecords& days, int rsiDays);
// 27: the RSI from columns 25 and 26.
void Rsi(DayRecords& days);
// 28: bands widening; 29: the widening-then-stable pattern.
void BandsWidening(DayRecords& days, int bollDays);
void BollSignal(DayRecords& days, int bollDays, int stableDays, int divergeDays);
// 30, 34, 40, 41: RSI against its levels.
void RsiBelowLow(DayRecords& days, double rsiLow);
void RsiAboveHigh(DayRecords& days, double rsiHigh);
void RsiUpCross(DayRecords& days, double rsiLow);
void RsiDownCross(DayRecords& days, double rsiHigh);
// 32, 33, 36, 37: the day's high and low against the day before's column 13.
void HighAboveMA(DayRecords& days, const PriceSeries& prices);
void HighAboveMAPrice(DayRecords& days);
void LowBelowMA(DayRecords& days, const PriceSeries& prices);
void LowBelowMAPrice(DayRecords& days);
// 42, 43: exponential averages of the close seeded at row n-27.
void Ema(DayRecords& days, const PriceSeries& prices, int period, double DayRecord::*column);
// 44: the MACD line; 45: its signal, seeded at row n-23; 46: the histogram.
void MacdLine(DayRecords& days);
void MacdSignal(DayRecords& days, int comboDays);
void MacdHistogram(DayRecords& days);

// Every stock column 11 to 46 (15 aside, which the swing criterion computes
// itself) and the ADX columns 51 to 67, in the order that each column's
// inputs require. Raises on a failing step; the array needs kMinimumRows.
void CrunchStockColumns(DayRecords& days, const RunParameters& parms);

enum class CrunchOutcome { kDone, kTooFewRows, kStepFailed };
// CrunchStockColumns with its failures told apart: too few rows computes
// nothing; a failing step leaves the columns before it written.
CrunchOutcome CrunchStock(DayRecords& days, const RunParameters& parms);

}  // namespace indicators
