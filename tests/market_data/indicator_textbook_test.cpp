// The EMAs, the MACD, Wilder's RSI and the ADX are textbook indicators with
// the system's own seeds. Once the seeds have faded they must agree with the
// textbook computation on a real history: a slip in a step shows here
// without restating the steps.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "market_data/indicator_steps.h"
#include "market_data/run_parameters.h"
#include "support/history_csv.h"

namespace {

// Rows compared: the seeds sit within 30 rows of the oldest day; 250 more
// rows let them fade far below the tolerances.
constexpr long kBurnIn = 280;

// Textbook series are built oldest first; out[k] belongs to row n - k.
std::vector<double> OldestFirst(const std::vector<double>& newestFirst) {
  return std::vector<double>(newestFirst.rbegin(), newestFirst.rend());
}

std::vector<double> TextbookEma(const std::vector<double>& values, size_t start, int period) {
  std::vector<double> ema(values.size(), 0.0);
  double seed = 0;
  for (size_t k = start; k < start + static_cast<size_t>(period); ++k) seed += values[k];
  size_t k = start + static_cast<size_t>(period) - 1;
  ema[k] = seed / period;
  const double alpha = 2.0 / (period + 1);
  for (++k; k < values.size(); ++k) ema[k] = alpha * values[k] + (1 - alpha) * ema[k - 1];
  return ema;
}

// Wilder's RSI of a series: the first average over `period` changes, then
// the mean-form smoothing.
std::vector<double> TextbookRsi(const std::vector<double>& values, int period) {
  std::vector<double> rsi(values.size(), 0.0);
  double gain = 0, loss = 0;
  for (size_t k = 1; k < values.size(); ++k) {
    const double change = values[k] - values[k - 1];
    const double up = change > 0 ? change : 0, down = change < 0 ? -change : 0;
    if (k <= static_cast<size_t>(period)) {
      gain += up / period;
      loss += down / period;
    } else {
      gain = (gain * (period - 1) + up) / period;
      loss = (loss * (period - 1) + down) / period;
    }
    if (k >= static_cast<size_t>(period)) rsi[k] = 100 * gain / (gain + loss);
  }
  return rsi;
}

// Wilder's ADX: sums of N +DM, -DM and true ranges smoothed in sum form, DX
// averaged over N days and then smoothed in mean form.
std::vector<double> TextbookAdx(const std::vector<double>& high, const std::vector<double>& low,
                                const std::vector<double>& close, int period) {
  std::vector<double> adx(close.size(), 0.0);
  double plus = 0, minus = 0, range = 0, average = 0;
  int days = 0, dxDays = 0;
  for (size_t k = 1; k < close.size(); ++k) {
    const double up = high[k] - high[k - 1], down = low[k - 1] - low[k];
    const double plusDM = (up > down && up > 0) ? up : 0, minusDM = (down > up && down > 0) ? down : 0;
    const double tr = std::max({high[k] - low[k], std::fabs(high[k] - close[k - 1]), std::fabs(low[k] - close[k - 1])});
    if (++days <= period) {
      plus += plusDM;
      minus += minusDM;
      range += tr;
      if (days < period) continue;
    } else {
      plus = plus - plus / period + plusDM;
      minus = minus - minus / period + minusDM;
      range = range - range / period + tr;
    }
    const double plusDI = 100 * plus / range, minusDI = 100 * minus / range;
    const double dx = 100 * std::fabs(plusDI - minusDI) / (plusDI + minusDI);
    if (++dxDays <= period) {
      average += dx / period;
      if (dxDays < period) continue;
    } else {
      average = (average * (period - 1) + dx) / period;
    }
    adx[k] = average;
  }
  return adx;
}

class TextbookIndicators : public ::testing::Test {
 protected:
  void SetUp() override {
    days_ = testsupport::LoadHistoryCsv(testsupport::FixturePath("AAPL_2018_2020.csv"), "AAPL");
    ASSERT_GT(days_.size(), 2u * kBurnIn);
    parms_ = RunParameters::DesignDefaults();
    ASSERT_EQ(indicators::CrunchStock(days_, parms_), indicators::CrunchOutcome::kDone);
    prices_ = indicators::ReadPrices(days_);
    n_ = static_cast<long>(days_.size()) - 1;
  }

  // Compares column `column` of rows 0 .. n - kBurnIn with textbook[n - i].
  void ExpectConverged(int column, const std::vector<double>& textbook, double tolerance) {
    for (long i = 0; i <= n_ - kBurnIn; ++i) {
      const double expected = textbook[static_cast<size_t>(n_ - i)];
      ASSERT_NEAR(days_[static_cast<size_t>(i)].Col(column), expected, tolerance * std::max(1.0, std::fabs(expected)))
          << "column " << column << " row " << i;
    }
  }

  DayRecords days_;
  RunParameters parms_;
  indicators::PriceSeries prices_;
  long n_ = 0;
};

TEST_F(TextbookIndicators, EmasAndMacdConverge) {
  const std::vector<double> close = OldestFirst(prices_.close);
  const std::vector<double> fast = TextbookEma(close, 0, parms_.intMACDShort);
  const std::vector<double> slow = TextbookEma(close, 0, parms_.intMACDLong);
  ExpectConverged(42, fast, 1e-6);
  ExpectConverged(43, slow, 1e-6);

  std::vector<double> macd(close.size());
  for (size_t k = 0; k < close.size(); ++k) macd[k] = fast[k] - slow[k];
  ExpectConverged(44, macd, 1e-6);
  ExpectConverged(45, TextbookEma(macd, static_cast<size_t>(parms_.intMACDLong) - 1, parms_.intMACDCombo), 1e-6);
}

// The system's RSI works on the two-day average close.
TEST_F(TextbookIndicators, RsiConvergesOnTheTwoDayAverage) {
  std::vector<double> average(prices_.close.size() - 1);
  for (size_t i = 0; i + 1 < prices_.close.size(); ++i) average[i] = (prices_.close[i] + prices_.close[i + 1]) / 2;
  std::vector<double> rsi = TextbookRsi(OldestFirst(average), parms_.intRSIDays);
  rsi.insert(rsi.begin(), 0.0);  // the oldest row has no two-day average
  // The closes enter as single values: agreement to about 1e-4 of a point.
  ExpectConverged(27, rsi, 1e-4);
}

TEST_F(TextbookIndicators, AdxConverges) {
  const std::vector<double> adx =
      TextbookAdx(OldestFirst(prices_.high), OldestFirst(prices_.low), OldestFirst(prices_.close), parms_.lngADXDays);
  ExpectConverged(67, adx, 1e-6);
}

}  // namespace
