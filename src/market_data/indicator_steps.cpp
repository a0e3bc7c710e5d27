#include "market_data/indicator_steps.h"

#include <cmath>
#include <exception>

#include "market_data/adx_steps.h"
#include "platform/runtime/error.h"
#include "platform/runtime/rounding.h"

namespace indicators {
namespace {

double AsSingle(double value) { return static_cast<double>(rt::ToSingle(value)); }

size_t At(long row) { return static_cast<size_t>(row); }

// Rows 0 .. last of every per-row column that compares a row with the day
// before it: every row but the oldest.
long LastRowWithDayBefore(const DayRecords& days) { return OldestRow(days) - 1; }

// Wilder's average of `input` into `output`: the mean of `period` values from
// the seed row n-23 towards older rows, then one step per newer row.
void WilderAverage(DayRecords& days, double DayRecord::*input, double DayRecord::*output, int period) {
  CheckPeriod(period);
  const long seed = OldestRow(days) - kRsiSeedBack;
  if (seed < 0) return;  // too short to seed: nothing is written
  const std::vector<double> values = ReadColumn(days, input);
  days[At(seed)].*output = SeedMean(values, seed, period);
  for (long i = seed - 1; i >= 0; --i) days[At(i)].*output = WilderStep(days[At(i + 1)].*output, values[At(i)], period);
}

// An exponential average of `values` into `output`, seeded at `seed` with the
// mean of `period` values towards older rows.
void ExponentialAverage(DayRecords& days, const std::vector<double>& values, long seed, int period,
                        double DayRecord::*output) {
  CheckPeriod(period);
  if (seed < 0) return;  // too short to seed: nothing is written
  days[At(seed)].*output = SeedMean(values, seed, period);
  // k keeps the 16-bit period + 1 of the stored results.
  const double k = 2.0 / static_cast<double>(static_cast<int16_t>(period + 1));
  for (long i = seed - 1; i >= 0; --i) days[At(i)].*output = EmaStep(days[At(i + 1)].*output, values[At(i)], k);
}

// A 1/0 flag for rows 0 .. n-20, whatever the periods.
template <typename Test>
void FlagRows(DayRecords& days, double DayRecord::*output, Test test) {
  for (long i = OldestRow(days) - kFlagRowsBack; i >= 0; --i) days[At(i)].*output = test(i) ? 1.0 : 0.0;
}

}  // namespace

void AverageClose2(DayRecords& days, const PriceSeries& prices) {
  for (long i = LastRowWithDayBefore(days); i >= 0; --i)
    days[At(i)].dblAvgClose2 = (AsSingle(prices.close[At(i)]) + AsSingle(prices.close[At(i + 1)])) / 2;
}

void MovingAverage(DayRecords& days, const std::vector<double>& values, int period, double DayRecord::*column) {
  WriteColumn(days, column, WindowMeans(values, period));
}

std::vector<double> Volumes(const DayRecords& days) {
  std::vector<double> volumes;
  volumes.reserve(days.size());
  for (const DayRecord& day : days) volumes.push_back(static_cast<double>(day.lngVolume));
  return volumes;
}

void Deviation(DayRecords& days, const PriceSeries& prices) {
  for (size_t i = 0; i < days.size(); ++i) days[i].dblDevA = days[i].dblMA_A - prices.close[i];
}

void DeviationSquared(DayRecords& days) {
  for (DayRecord& day : days) day.dblDevA2 = day.dblDevA * day.dblDevA;
}

void Sigma(DayRecords& days, int bollDays) {
  // Each day's own deviation from its own average enters the mean.
  std::vector<double> means = WindowMeans(ReadColumn(days, &DayRecord::dblDevA2), bollDays);
  for (size_t i = 0; i < days.size(); ++i) days[i].dblSigmaA = std::sqrt(means[i]);
}

void BandUpper(DayRecords& days) {
  for (DayRecord& day : days) day.dblBandUpper = day.dblMA_A + 2 * day.dblSigmaA;
}

void BandUpperSlope(DayRecords& days) {
  for (long i = LastRowWithDayBefore(days); i >= 0; --i)
    days[At(i)].dblBandUpperSlope = AsSingle(days[At(i)].dblBandUpper) - AsSingle(days[At(i + 1)].dblBandUpper);
}

void BandLower(DayRecords& days) {
  for (DayRecord& day : days) day.dblBandLower = day.dblMA_A - 2 * day.dblSigmaA;
}

void BandLowerSlope(DayRecords& days) {
  for (long i = LastRowWithDayBefore(days); i >= 0; --i)
    days[At(i)].dblBandLowerSlope =
        rt::Round(AsSingle(days[At(i)].dblBandLower) - AsSingle(days[At(i + 1)].dblBandLower), 4);
}

// The oldest row with a two-day average (n-1) has none on the day before it;
// measured against that missing day its whole price would count as a gain,
// so it has neither gain nor loss.
void Gain(DayRecords& days) {
  const long last = LastRowWithDayBefore(days);
  for (long i = last; i >= 0; --i) {
    const double today = days[At(i)].dblAvgClose2;
    const double before = days[At(i + 1)].dblAvgClose2;
    days[At(i)].dblGain = (i < last && today > before) ? AsSingle(today) - AsSingle(before) : 0.0;
  }
}

void Loss(DayRecords& days) {
  const long last = LastRowWithDayBefore(days);
  for (long i = last; i >= 0; --i) {
    const double today = days[At(i)].dblAvgClose2;
    const double before = days[At(i + 1)].dblAvgClose2;
    days[At(i)].dblLoss = (i < last && today < before) ? AsSingle(before) - AsSingle(today) : 0.0;
  }
}

void AverageGain(DayRecords& days, int rsiDays) {
  WilderAverage(days, &DayRecord::dblGain, &DayRecord::dblAvgGain, rsiDays);
}

void AverageLoss(DayRecords& days, int rsiDays) {
  WilderAverage(days, &DayRecord::dblLoss, &DayRecord::dblAvgLoss, rsiDays);
}

void Rsi(DayRecords& days) {
  const long oldest = OldestRow(days);
  for (long i = oldest; i >= 0; --i) {
    DayRecord& day = days[At(i)];
    const double sum = day.dblAvgGain + day.dblAvgLoss;
    day.dblRSI = (oldest > i + kRsiSeedBack - 1 && sum != 0) ? 100 * day.dblAvgGain / sum : 0.0;
  }
}

void BandsWidening(DayRecords& days, int bollDays) {
  for (long i = OldestRow(days) - bollDays; i >= 0; --i) {
    const DayRecord& day = days[At(i)];
    days[At(i)].dblBandsWidening = (day.dblBandUpperSlope > 0 && day.dblBandLowerSlope < 0) ? 1.0 : 0.0;
  }
}

void BollSignal(DayRecords& days, int bollDays, int stableDays, int divergeDays) {
  const long first = OldestRow(days) - bollDays;  // the oldest row written
  if (first < 0) return;
  // The pattern of the oldest row reaches stableDays + divergeDays - 1 rows older.
  if (stableDays < 0 || divergeDays < 0) rt::RaiseSubscript();
  CheckWindow(first, static_cast<long>(stableDays) + divergeDays, OldestRow(days));
  for (long i = first; i >= 0; --i) {
    bool signal = true;
    for (long k = stableDays; signal && k < stableDays + divergeDays; ++k)
      signal = days[At(i + k)].dblBandsWidening == 1;
    for (long k = 0; signal && k < stableDays; ++k) signal = days[At(i + k)].dblBandsWidening == 0;
    days[At(i)].dblBollSignal = signal ? 1.0 : 0.0;
  }
}

void RsiBelowLow(DayRecords& days, double rsiLow) {
  FlagRows(days, &DayRecord::dblRSIBelowLow, [&](long i) { return days[At(i)].dblRSI <= rsiLow; });
}

void RsiAboveHigh(DayRecords& days, double rsiHigh) {
  FlagRows(days, &DayRecord::dblRSIAboveHigh, [&](long i) { return days[At(i)].dblRSI >= rsiHigh; });
}

void RsiUpCross(DayRecords& days, double rsiLow) {
  FlagRows(days, &DayRecord::dblRSIUpCross,
           [&](long i) { return days[At(i + 1)].dblRSI < rsiLow && days[At(i)].dblRSI >= rsiLow; });
}

void RsiDownCross(DayRecords& days, double rsiHigh) {
  FlagRows(days, &DayRecord::dblRSIDownCross,
           [&](long i) { return days[At(i + 1)].dblRSI > rsiHigh && days[At(i)].dblRSI <= rsiHigh; });
}

void HighAboveMA(DayRecords& days, const PriceSeries& prices) {
  FlagRows(days, &DayRecord::dblHighAboveMA, [&](long i) { return prices.high[At(i)] >= days[At(i + 1)].dblMA_B; });
}

void HighAboveMAPrice(DayRecords& days) {
  for (long i = OldestRow(days) - kFlagRowsBack; i >= 0; --i)
    days[At(i)].dblHighAboveMAPrice = days[At(i)].dblHighAboveMA == 1 ? days[At(i + 1)].dblMA_B : 0.0;
}

void LowBelowMA(DayRecords& days, const PriceSeries& prices) {
  FlagRows(days, &DayRecord::dblLowBelowMA, [&](long i) { return prices.low[At(i)] <= days[At(i + 1)].dblMA_B; });
}

void LowBelowMAPrice(DayRecords& days) {
  for (long i = OldestRow(days) - kFlagRowsBack; i >= 0; --i)
    days[At(i)].dblLowBelowMAPrice = days[At(i)].dblLowBelowMA == 1 ? days[At(i + 1)].dblMA_B : 0.0;
}

void Ema(DayRecords& days, const PriceSeries& prices, int period, double DayRecord::*column) {
  ExponentialAverage(days, prices.close, OldestRow(days) - kEmaSeedBack, period, column);
}

void MacdLine(DayRecords& days) {
  for (DayRecord& day : days) day.dblMACD = day.dblEMAFast - day.dblEMASlow;
}

void MacdSignal(DayRecords& days, int comboDays) {
  ExponentialAverage(days, ReadColumn(days, &DayRecord::dblMACD), OldestRow(days) - kRsiSeedBack, comboDays,
                     &DayRecord::dblMACDSignal);
}

void MacdHistogram(DayRecords& days) {
  for (DayRecord& day : days) day.dblMACDHist = day.dblMACD - day.dblMACDSignal;
}

void CrunchStockColumns(DayRecords& days, const RunParameters& parms) {
  const PriceSeries prices = ReadPrices(days);
  AverageClose2(days, prices);
  MovingAverage(days, prices.close, parms.intBollDays, &DayRecord::dblMA_A);
  MovingAverage(days, prices.close, parms.intMADays, &DayRecord::dblMA_B);
  MovingAverage(days, Volumes(days), parms.intMADays, &DayRecord::dblAvgVolume);
  Deviation(days, prices);
  DeviationSquared(days);
  Sigma(days, parms.intBollDays);
  BandUpper(days);
  BandUpperSlope(days);
  BandLower(days);
  BandLowerSlope(days);
  Gain(days);
  Loss(days);
  AverageGain(days, parms.intRSIDays);
  AverageLoss(days, parms.intRSIDays);
  Rsi(days);
  Ema(days, prices, parms.intMACDShort, &DayRecord::dblEMAFast);
  Ema(days, prices, parms.intMACDLong, &DayRecord::dblEMASlow);
  MacdLine(days);
  MacdSignal(days, parms.intMACDCombo);
  MacdHistogram(days);
  BandsWidening(days, parms.intBollDays);
  BollSignal(days, parms.intBollDays, parms.intBollStableDays, parms.intBollDivergeDays);
  RsiBelowLow(days, parms.dblRSILow);
  HighAboveMA(days, prices);
  HighAboveMAPrice(days);
  RsiAboveHigh(days, parms.dblRSIHigh);
  LowBelowMA(days, prices);
  LowBelowMAPrice(days);
  RsiUpCross(days, parms.dblRSILow);
  RsiDownCross(days, parms.dblRSIHigh);
  CalculateAdx(days, prices, parms.lngADXDays);
}

CrunchOutcome CrunchStock(DayRecords& days, const RunParameters& parms) {
  if (static_cast<long>(days.size()) < kMinimumRows) return CrunchOutcome::kTooFewRows;
  try {
    CrunchStockColumns(days, parms);
  } catch (const std::exception&) {
    return CrunchOutcome::kStepFailed;
  }
  return CrunchOutcome::kDone;
}

}  // namespace indicators
