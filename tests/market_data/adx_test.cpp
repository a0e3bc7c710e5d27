// The ADX columns 51 to 67 with N = 10 on histories worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "market_data/adx_steps.h"
#include "platform/runtime/error.h"
#include "support/synthetic_days.h"

namespace {

using testsupport::MakeDays;
using testsupport::SyntheticDay;

// Prices rising 1 a day with a range of 2: C(i) = 100 - i, H = C + 1, L = C - 1.
DayRecords RisingRange(long count) {
  return MakeDays(count, [](long i) {
    const double close = 100.0 - static_cast<double>(i);
    return SyntheticDay{close, close + 1, close - 1, 1000};
  });
}

void Crunch(DayRecords& days) { indicators::CalculateAdx(days, indicators::ReadPrices(days), 10); }

// 36 rows (n = 35): +DM is seeded at row 25 over rows 34 .. 25, -DM, the
// true range and the ADX at row 26 over rows 35 .. 26, row 35 being empty.
TEST(Adx, SeedsAndRowsOfThirtySixDays) {
  DayRecords days = RisingRange(36);
  Crunch(days);

  for (long i = 0; i <= 34; ++i) {
    const DayRecord& day = days[static_cast<size_t>(i)];
    EXPECT_EQ(day.dblPlusDM, 1) << i;
    EXPECT_EQ(day.dblMinusDM, 0) << i;
    EXPECT_EQ(day.dblTR, 2) << i;  // H - L = 2 = H - C(i+1); L - C(i+1) = 0
  }
  for (long i = 0; i <= 25; ++i) EXPECT_DOUBLE_EQ(days[static_cast<size_t>(i)].dblSmoothPlusDM, 10) << i;
  for (long i = 26; i <= 35; ++i) EXPECT_EQ(days[static_cast<size_t>(i)].dblSmoothPlusDM, 0) << i;

  EXPECT_EQ(days[26].dblSmoothTR, 18);  // nine true ranges and the empty row 35
  EXPECT_DOUBLE_EQ(days[25].dblSmoothTR, 18 - 1.8 + 2);
  for (long i = 27; i <= 35; ++i) EXPECT_EQ(days[static_cast<size_t>(i)].dblSmoothTR, 0) << i;

  // Row 26: +DM not yet seeded, so no direction; row 25 on: only +DI.
  EXPECT_EQ(days[26].dblPlusDI, 0);
  EXPECT_EQ(days[26].dblDX, 0);
  EXPECT_DOUBLE_EQ(days[25].dblPlusDI, 100 * 10 / 18.2);
  EXPECT_EQ(days[25].dblMinusDI, 0);
  EXPECT_DOUBLE_EQ(days[25].dblDX, 100);

  // The ADX seed is the mean of DX over rows 35 .. 26 (all 0); from there
  // each DX of 100 closes a tenth of the gap: 100 (1 - 0.9^(26 - i)).
  EXPECT_EQ(days[26].dblADX, 0);
  for (long i = 0; i <= 25; ++i)
    EXPECT_NEAR(days[static_cast<size_t>(i)].dblADX, 100 * (1 - std::pow(0.9, 26 - i)), 1e-9) << i;

  for (int column = 51; column <= 67; ++column) EXPECT_EQ(days[35].Col(column), 0) << column;
}

// At row 26 (n-N+1) -DM is already smoothed but +DM is not: DX is 100.
TEST(Adx, FirstSmoothedRowShowsOnlyTheMinusSide) {
  DayRecords days = MakeDays(36, [](long i) {
    const double close = 50.0 + static_cast<double>(i);  // falling 1 a day
    return SyntheticDay{close, close + 1, close - 1, 1000};
  });
  Crunch(days);
  EXPECT_EQ(days[26].dblSmoothPlusDM, 0);
  EXPECT_EQ(days[26].dblSmoothMinusDM, 9);
  EXPECT_EQ(days[26].dblPlusDI, 0);
  EXPECT_EQ(days[26].dblMinusDI, 50);
  EXPECT_EQ(days[26].dblDX, 100);
  EXPECT_EQ(days[26].dblADX, 10);  // the one non-zero DX of the seed window, over N
}

TEST(Adx, EqualMovesGiveNoDirection) {
  // Row 0's high rises 2 and its low falls 2 against row 1.
  DayRecords days = MakeDays(3, [](long i) {
    return i == 0 ? SyntheticDay{10, 14, 6, 0} : SyntheticDay{10, 12, 8, 0};
  });
  Crunch(days);
  EXPECT_EQ(days[0].dblRawPlusDM, 2);
  EXPECT_EQ(days[0].dblRawMinusDM, 2);
  EXPECT_EQ(days[0].dblPlusDM, 0);
  EXPECT_EQ(days[0].dblMinusDM, 0);
}

TEST(Adx, TrueRangeTakesTheLargestPart) {
  // Row 0: equal parts (all 0); row 1: the two close parts tie above H - L;
  // row 2: a gap up makes H - C(i+1) the largest.
  const SyntheticDay rows[] = {{10, 10, 10, 0}, {10, 10, 10, 0}, {12, 12, 12, 0}, {8, 9, 7, 0}};
  DayRecords days = MakeDays(4, [&](long i) { return rows[i]; });
  days[1].strHigh = days[1].strLow = rt::PriceText(11.0);  // H = L = 11 against a close of 12 and 10
  Crunch(days);
  EXPECT_EQ(days[0].dblTR1, 0);
  EXPECT_EQ(days[0].dblTR, 0);
  EXPECT_EQ(days[1].dblTR1, 0);
  EXPECT_EQ(days[1].dblTR2, 1);
  EXPECT_EQ(days[1].dblTR3, 1);
  EXPECT_EQ(days[1].dblTR, 1);
  EXPECT_EQ(days[2].dblTR1, 0);
  EXPECT_EQ(days[2].dblTR2, 4);
  EXPECT_EQ(days[2].dblTR, 4);
}

TEST(Adx, NoRangeMeansNoDirection) {
  DayRecords days = MakeDays(36, [](long) { return SyntheticDay{10, 10, 10, 0}; });
  Crunch(days);
  for (const DayRecord& day : days) {
    EXPECT_EQ(day.dblSmoothTR, 0);
    EXPECT_EQ(day.dblPlusDI, 0);
    EXPECT_EQ(day.dblMinusDI, 0);
    EXPECT_EQ(day.dblDX, 0);
    EXPECT_EQ(day.dblADX, 0);
  }
}

TEST(Adx, ShortHistoriesWriteNoSmoothedRowAndPeriodZeroFails) {
  for (long count = 0; count <= 11; ++count) {
    DayRecords days = RisingRange(count);
    EXPECT_NO_THROW(Crunch(days)) << count;
    for (const DayRecord& day : days) EXPECT_EQ(day.dblSmoothMinusDM + day.dblSmoothTR + day.dblADX, 0);
  }
  DayRecords days = RisingRange(36);
  EXPECT_THROW(indicators::CalculateAdx(days, indicators::ReadPrices(days), 0), rt::Error);
}

}  // namespace
