// Columns 11 to 46 on histories small enough to work out by hand. Row 0 is
// the newest day; n is the oldest row.
#include <gtest/gtest.h>

#include <cmath>

#include "market_data/indicator_steps.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "support/synthetic_days.h"

namespace {

using indicators::CrunchOutcome;
using indicators::CrunchStock;
using testsupport::MakeCloses;
using testsupport::MakeDays;

RunParameters Defaults() { return RunParameters::DesignDefaults(); }

// A steady rise of 1 a day: C(i) = 100 - i.
DayRecords Ramp(long count) {
  return MakeCloses(count, [](long i) { return 100.0 - static_cast<double>(i); });
}

// Expects column `column` to be `value(i)` on rows first..last.
template <typename Value>
void ExpectRows(const DayRecords& days, int column, long first, long last, Value value) {
  for (long i = first; i <= last; ++i)
    EXPECT_NEAR(days[static_cast<size_t>(i)].Col(column), value(i), 1e-9) << "column " << column << " row " << i;
}

void ExpectZeroRows(const DayRecords& days, int column, long first, long last) {
  ExpectRows(days, column, first, last, [](long) { return 0.0; });
}

// With the default periods (A 20, B 30, R 14, F 12, Ls 26, G 9) and 36 rows
// every column fills exactly its rows; on a ramp each value is known.
TEST(IndicatorColumns, RampOfThirtySixRowsFillsEachColumnsRows) {
  DayRecords days = Ramp(36);
  ASSERT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kDone);

  ExpectRows(days, 11, 0, 34, [](long i) { return 99.5 - i; });
  ExpectZeroRows(days, 11, 35, 35);
  ExpectRows(days, 12, 0, 15, [](long i) { return 90.5 - i; });
  ExpectZeroRows(days, 12, 16, 35);
  ExpectRows(days, 13, 0, 5, [](long i) { return 85.5 - i; });
  ExpectZeroRows(days, 13, 6, 35);
  ExpectRows(days, 14, 0, 5, [](long) { return 1000.0; });
  ExpectZeroRows(days, 14, 6, 35);
  ExpectZeroRows(days, 15, 0, 35);  // the swing criterion's own column

  // Gains of 1 on every row but the oldest two: row 34 has no two-day
  // average the day before and row 35 no average at all.
  ExpectRows(days, 23, 0, 33, [](long) { return 1.0; });
  ExpectZeroRows(days, 23, 34, 35);
  ExpectZeroRows(days, 24, 0, 35);

  // RSI seeded at row n-23 = 12.
  ExpectRows(days, 25, 0, 12, [](long) { return 1.0; });
  ExpectZeroRows(days, 25, 13, 35);
  ExpectRows(days, 27, 0, 12, [](long) { return 100.0; });
  ExpectZeroRows(days, 27, 13, 35);

  // The EMAs are seeded at row n-27 = 8 with the mean of F (Ls) closes, which
  // on a ramp lags by (F-1)/2, the EMA's own lag: they stay that far behind.
  ExpectRows(days, 42, 0, 8, [](long i) { return 100.0 - i - 5.5; });
  ExpectZeroRows(days, 42, 9, 35);
  ExpectRows(days, 43, 0, 8, [](long i) { return 100.0 - i - 12.5; });
  ExpectRows(days, 44, 0, 8, [](long) { return 7.0; });
  ExpectZeroRows(days, 44, 9, 35);

  // The signal is seeded at row 12 over MACD values that are still 0, and
  // starts to follow the line at row 8: 7 (1 - 0.8^(9 - i)).
  ExpectZeroRows(days, 45, 9, 35);
  ExpectRows(days, 45, 0, 8, [](long i) { return 7.0 * (1 - std::pow(0.8, 9 - i)); });
  ExpectRows(days, 46, 0, 8, [](long i) { return 7.0 * std::pow(0.8, 9 - i); });

  // Flags only on rows 0 .. n-20 = 15, whatever the periods.
  ExpectZeroRows(days, 30, 0, 12);                         // RSI 100
  ExpectRows(days, 30, 13, 15, [](long) { return 1.0; });  // RSI 0 where unseeded
  ExpectRows(days, 32, 0, 15, [](long) { return 1.0; });   // the high is above the day before's average
  ExpectRows(days, 33, 0, 4, [](long i) { return 84.5 - i; });
  ExpectZeroRows(days, 33, 5, 15);  // the average of the day before is not defined there
  for (int column : {30, 32, 33, 34, 36, 37, 40, 41}) ExpectZeroRows(days, column, 16, 35);
  for (int column : {28, 29}) ExpectZeroRows(days, column, 16, 35);
  for (int column : {31, 35, 38, 39, 47, 48, 49, 50}) ExpectZeroRows(days, column, 0, 35);
}

// Each day's deviation is taken against its own average, so where the
// averages run out (rows 20 and older) the whole close counts as deviation:
// on a constant 10 the band width of row i is sqrt(100 i / 20).
TEST(IndicatorColumns, ConstantSeriesMeasuresEachDayAgainstItsOwnAverage) {
  DayRecords days = MakeCloses(40, [](long) { return 10.0; });
  ASSERT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kDone);

  ExpectRows(days, 12, 0, 19, [](long) { return 10.0; });
  ExpectZeroRows(days, 16, 0, 19);
  ExpectRows(days, 16, 20, 39, [](long) { return -10.0; });
  ExpectRows(days, 17, 20, 39, [](long) { return 100.0; });
  ExpectRows(days, 18, 0, 19, [](long i) { return std::sqrt(5.0 * i); });
  ExpectZeroRows(days, 18, 20, 39);
  ExpectRows(days, 19, 0, 19, [](long i) { return 10 + 2 * std::sqrt(5.0 * i); });
  ExpectRows(days, 21, 0, 19, [](long i) { return 10 - 2 * std::sqrt(5.0 * i); });

  // No gains and no losses: every RSI is 0, which sits below the low level.
  ExpectZeroRows(days, 23, 0, 39);
  ExpectZeroRows(days, 27, 0, 39);
  ExpectRows(days, 30, 0, 19, [](long) { return 1.0; });
  ExpectZeroRows(days, 40, 0, 39);

  ExpectRows(days, 42, 0, 12, [](long) { return 10.0; });
  ExpectRows(days, 43, 0, 12, [](long) { return 10.0; });
  ExpectZeroRows(days, 44, 0, 39);
  ExpectZeroRows(days, 45, 0, 39);
  // The bands narrow towards the newest day; only row 19, whose day before
  // has no bands, counts as widening, too alone to make a signal.
  ExpectZeroRows(days, 28, 0, 18);
  EXPECT_EQ(days[19].dblBandsWidening, 1);
  ExpectZeroRows(days, 29, 0, 39);
}

// A close that jumps from 10 to 20 on row 4 of 40.
TEST(IndicatorColumns, SingleJumpRaisesTheRsiAndCrossesTheLowLevelOnce) {
  DayRecords days = MakeCloses(40, [](long i) { return i <= 4 ? 20.0 : 10.0; });
  ASSERT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kDone);

  EXPECT_EQ(days[4].dblAvgClose2, 15);
  EXPECT_EQ(days[3].dblAvgClose2, 20);
  EXPECT_EQ(days[12].dblAvgClose2, 10);
  // The two-day average rises 5 on rows 4 and 3 and nowhere else.
  for (long i = 0; i < 40; ++i) {
    EXPECT_EQ(days[static_cast<size_t>(i)].dblGain, (i == 3 || i == 4) ? 5.0 : 0.0) << i;
    EXPECT_EQ(days[static_cast<size_t>(i)].dblLoss, 0.0) << i;
  }
  EXPECT_DOUBLE_EQ(days[4].dblAvgGain, 5.0 / 14);
  EXPECT_DOUBLE_EQ(days[3].dblAvgGain, (5.0 / 14 * 13 + 5) / 14);
  EXPECT_DOUBLE_EQ(days[0].dblAvgGain, days[3].dblAvgGain * 13 / 14 * 13 / 14 * 13 / 14);
  ExpectRows(days, 27, 0, 4, [](long) { return 100.0; });
  ExpectZeroRows(days, 27, 5, 39);

  EXPECT_EQ(days[0].dblMA_A, 12.5);               // five days of 20, fifteen of 10
  EXPECT_DOUBLE_EQ(days[0].dblMA_B, 350.0 / 30);  // five of 20, twenty-five of 10

  ExpectRows(days, 34, 0, 4, [](long) { return 1.0; });  // RSI 100 >= 80
  ExpectZeroRows(days, 34, 5, 19);
  ExpectZeroRows(days, 30, 0, 4);
  ExpectRows(days, 30, 5, 19, [](long) { return 1.0; });
  for (long i = 0; i < 40; ++i) {
    EXPECT_EQ(days[static_cast<size_t>(i)].dblRSIUpCross, i == 4 ? 1.0 : 0.0) << i;
    EXPECT_EQ(days[static_cast<size_t>(i)].dblRSIDownCross, 0.0) << i;
  }

  // The day's high of 10 equals the average of the day before (10): both
  // the high and the low tests hold, and the price is that average.
  EXPECT_EQ(days[5].dblHighAboveMA, 1);
  EXPECT_EQ(days[5].dblHighAboveMAPrice, 10);
  EXPECT_EQ(days[5].dblLowBelowMA, 1);
  EXPECT_EQ(days[5].dblLowBelowMAPrice, 10);
  EXPECT_EQ(days[4].dblLowBelowMA, 0);  // 20 is above the average of 10
  EXPECT_EQ(days[4].dblLowBelowMAPrice, 0);
  EXPECT_EQ(days[4].dblHighAboveMAPrice, 10);
}

// Window sums are kept in single precision: thirty volumes of 16,777,217
// add up in steps that each lose the odd unit.
TEST(IndicatorColumns, WindowSumsAreSinglePrecision) {
  DayRecords days = MakeDays(36, [](long) { return testsupport::SyntheticDay{10, 10, 10, 16777217}; });
  ASSERT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kDone);
  ExpectRows(days, 14, 0, 5, [](long) { return 16777216.0; });

  RunParameters parms = Defaults();
  parms.intSwingVolDays = 10;
  indicators::MovingAverage(days, indicators::Volumes(days), parms.intSwingVolDays, &DayRecord::dblAvgVolumeSwing);
  ExpectRows(days, 15, 0, 25, [](long) { return 16777216.0; });
  ExpectZeroRows(days, 15, 26, 35);
}

TEST(IndicatorColumns, FlagsHoldExactlyAtTheirLevels) {
  DayRecords days = Ramp(25);  // flags on rows 0 .. 4
  const double rsi[] = {20, 19.99, 80, 80.01, 20, 20};
  for (size_t i = 0; i < 6; ++i) days[i].dblRSI = rsi[i];

  indicators::RsiBelowLow(days, 20);
  indicators::RsiUpCross(days, 20);
  indicators::RsiAboveHigh(days, 80);
  indicators::RsiDownCross(days, 80);
  EXPECT_EQ(days[0].dblRSIBelowLow, 1);  // 20 <= 20
  EXPECT_EQ(days[0].dblRSIUpCross, 1);   // from 19.99 to 20
  EXPECT_EQ(days[4].dblRSIUpCross, 0);   // from 20 to 20 is no cross
  EXPECT_EQ(days[2].dblRSIBelowLow, 0);
  EXPECT_EQ(days[2].dblRSIAboveHigh, 1);  // 80 >= 80
  EXPECT_EQ(days[2].dblRSIDownCross, 1);  // from 80.01 to 80
  EXPECT_EQ(days[3].dblRSIDownCross, 0);
  EXPECT_EQ(days[5].dblRSIBelowLow, 0);  // row 5 is older than n-20

  days[1].dblRSI = 20.000001;
  indicators::RsiBelowLow(days, 20);
  EXPECT_EQ(days[1].dblRSIBelowLow, 0);
}

// Column 29: D widening days, then T days without widening, ending at the row.
TEST(IndicatorColumns, BollingerSignalNeedsWideningThenStability) {
  DayRecords days = Ramp(30);  // rows 0 .. n-A = 9 written with A = 20
  for (long row : {2, 3, 7, 8, 9, 10, 12, 13}) days[static_cast<size_t>(row)].dblBandsWidening = 1;

  indicators::BollSignal(days, 20, 2, 2);
  EXPECT_EQ(days[0].dblBollSignal, 1);   // 2, 3 widening; 0, 1 stable
  EXPECT_EQ(days[1].dblBollSignal, 0);   // row 4 did not widen
  EXPECT_EQ(days[5].dblBollSignal, 1);   // 7, 8 widening; 5, 6 stable
  EXPECT_EQ(days[6].dblBollSignal, 0);   // row 7 widened inside the stable run
  EXPECT_EQ(days[10].dblBollSignal, 0);  // older than n-A: not written
}

TEST(IndicatorColumns, BollingerPatternLongerThanItsPeriodFails) {
  DayRecords days = Ramp(30);
  // A = 2 reaches rows up to n - 2 + T + D - 1 = n + 1.
  EXPECT_THROW(indicators::BollSignal(days, 2, 2, 2), rt::Error);
  ExpectZeroRows(days, 29, 0, 29);
  EXPECT_NO_THROW(indicators::BollSignal(days, 3, 2, 2));
}

TEST(IndicatorColumns, BandSlopesCompareSingleValuesAndOnlyTheLowerIsRounded) {
  DayRecords days = Ramp(3);
  days[0].dblBandUpper = days[0].dblBandLower = 1.23456789;
  days[1].dblBandUpper = days[1].dblBandLower = 0.5;
  indicators::BandUpperSlope(days);
  indicators::BandLowerSlope(days);
  EXPECT_EQ(days[0].dblBandUpperSlope, static_cast<double>(1.23456789f) - 0.5);
  EXPECT_EQ(days[0].dblBandLowerSlope, 0.7346);
  EXPECT_EQ(days[2].dblBandUpperSlope, 0);
  EXPECT_EQ(days[2].dblBandLowerSlope, 0);
}

TEST(IndicatorColumns, FewerThanThirtyFiveRowsComputeNothing) {
  DayRecords days = Ramp(34);
  EXPECT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kTooFewRows);
  for (const DayRecord& day : days)
    for (int column = DayRecord::kFirstColumn; column <= DayRecord::kLastColumn; ++column)
      ASSERT_EQ(day.Col(column), 0) << column;

  days = Ramp(35);
  EXPECT_EQ(CrunchStock(days, Defaults()), CrunchOutcome::kDone);
  EXPECT_EQ(days[7].dblEMAFast, 100.0 - 7 - 5.5);  // seeded at row n-27 = 7
  EXPECT_EQ(days[8].dblEMAFast, 0);
}

// An RSI period of 25 reaches past the oldest row: the run of steps stops
// there, and the columns before it keep what they were given.
TEST(IndicatorColumns, RsiPeriodPastTheOldestRowFailsAtItsStep) {
  RunParameters parms = Defaults();
  parms.intRSIDays = 25;
  DayRecords days = Ramp(40);
  EXPECT_EQ(CrunchStock(days, parms), CrunchOutcome::kStepFailed);
  EXPECT_EQ(days[0].dblAvgClose2, 99.5);
  EXPECT_EQ(days[0].dblGain, 1);
  for (int column : {25, 26, 27, 42, 44, 67}) ExpectZeroRows(days, column, 0, 39);
}

// With R = 23 the seed window reaches row n-1, whose day before has no
// two-day average: it counts as no gain, not as a gain of the whole price.
TEST(IndicatorColumns, OldestGainDoesNotCountTheWholePrice) {
  RunParameters parms = Defaults();
  parms.intRSIDays = 23;
  DayRecords days = Ramp(36);
  ASSERT_EQ(CrunchStock(days, parms), CrunchOutcome::kDone);
  EXPECT_DOUBLE_EQ(days[12].dblAvgGain, 22.0 / 23);
  parms.intRSIDays = 24;
  ASSERT_EQ(CrunchStock(days, parms), CrunchOutcome::kDone);
  EXPECT_DOUBLE_EQ(days[12].dblAvgGain, 22.0 / 24);
}

// Histories of every short length, with blank records where a zero close was
// skipped, and periods far longer than the history: no step reads outside
// the array.
TEST(IndicatorColumns, ShortAndOddHistoriesStayInsideTheArray) {
  RunParameters longPeriods = Defaults();
  longPeriods.intBollDays = 500;
  longPeriods.intMADays = 500;
  for (long count = 0; count <= 40; ++count) {
    for (const RunParameters& parms : {Defaults(), longPeriods}) {
      DayRecords days = MakeCloses(count, [](long i) { return 50.0 + (i % 7) - (i % 3); });
      for (size_t i = 3; i < days.size(); i += 11) days[i] = DayRecord{};  // a skipped day
      const CrunchOutcome outcome = CrunchStock(days, parms);
      EXPECT_EQ(outcome, count < 35 ? CrunchOutcome::kTooFewRows : CrunchOutcome::kDone) << count;

      const indicators::PriceSeries prices = indicators::ReadPrices(days);
      EXPECT_NO_THROW({
        indicators::AverageClose2(days, prices);
        indicators::MovingAverage(days, prices.close, parms.intBollDays, &DayRecord::dblMA_A);
        indicators::Sigma(days, parms.intBollDays);
        indicators::BandUpperSlope(days);
        indicators::Gain(days);
        indicators::AverageGain(days, parms.intRSIDays);
        indicators::Rsi(days);
        indicators::Ema(days, prices, parms.intMACDLong, &DayRecord::dblEMASlow);
        indicators::MacdSignal(days, parms.intMACDCombo);
        indicators::BandsWidening(days, parms.intBollDays);
        indicators::BollSignal(days, parms.intBollDays, parms.intBollStableDays, parms.intBollDivergeDays);
        indicators::RsiUpCross(days, parms.dblRSILow);
        indicators::HighAboveMAPrice(days);
      }) << count;
    }
  }
}

TEST(IndicatorColumns, PeriodOfZeroFails) {
  RunParameters parms = Defaults();
  parms.intMADays = 0;
  DayRecords days = Ramp(40);
  EXPECT_EQ(CrunchStock(days, parms), CrunchOutcome::kStepFailed);
  EXPECT_EQ(days[0].dblMA_A, 90.5);  // column 12 came before
}

}  // namespace
