// The market-index RSI and percent distance from the moving average.
#include <gtest/gtest.h>

#include "market_data/indicator_steps.h"
#include "market_data/market_index_steps.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "support/history_csv.h"
#include "support/synthetic_days.h"

namespace {

using indicators::CrunchIndexDays;
using indicators::IndexPercentMA;
using testsupport::MakeCloses;

RunParameters Defaults() { return RunParameters::DesignDefaults(); }

TEST(MarketIndicators, PercentIsTheRoundedFractionOfTheClose) {
  // 348 / 10000 = 0.0348 rounds to 0.03.
  EXPECT_DOUBLE_EQ(IndexPercentMA(rt::PriceText(10000.0), 9652), 3);
  // -348 / 9652 = -0.0361 rounds to -0.04.
  EXPECT_DOUBLE_EQ(IndexPercentMA(rt::PriceText(9652.0), 10000), -4);
  // Ties go to the even hundredth: 0.125 -> 0.12, 0.375 -> 0.38.
  EXPECT_DOUBLE_EQ(IndexPercentMA(rt::PriceText(8.0), 7), 12);
  EXPECT_DOUBLE_EQ(IndexPercentMA(rt::PriceText(8.0), 5), 38);
  // The close as its six-character text: 12345.67 reads as 12345.
  EXPECT_DOUBLE_EQ(IndexPercentMA(rt::PriceText(12345.67), 12345), 0);
  EXPECT_THROW(IndexPercentMA(rt::PriceText(), 100), rt::Error);
}

// 36 rows with B = 30: column 13 reaches row 5, the percent field only the
// rows with i + B < n, 0 .. 4.
TEST(MarketIndicators, PercentRowsOfThirtySixDays) {
  DayRecords days = MakeCloses(36, [](long i) { return 100.0 - static_cast<double>(i); });
  CrunchIndexDays(days, Defaults());
  EXPECT_DOUBLE_EQ(days[5].dblMA_B, 80.5);
  // (100 - 85.5) / 100 = 0.145 -> 0.14.
  EXPECT_DOUBLE_EQ(days[0].dblIndexPercentMA, 14);
  for (size_t i = 0; i <= 4; ++i) EXPECT_NE(days[i].dblIndexPercentMA, 0) << i;
  for (size_t i = 5; i < days.size(); ++i) EXPECT_EQ(days[i].dblIndexPercentMA, 0) << i;

  // The RSI as for a stock, seeded at row 12, copied into the index field.
  for (size_t i = 0; i <= 12; ++i) EXPECT_EQ(days[i].dblIndexRSI, 100) << i;
  for (size_t i = 13; i < days.size(); ++i) EXPECT_EQ(days[i].dblIndexRSI, 0) << i;
}

TEST(MarketIndicators, IndexColumnsMatchTheStockSteps) {
  DayRecords index = testsupport::LoadHistoryCsv(testsupport::FixturePath("AAPL_2018_2020.csv"), "^AAPL");
  DayRecords stock = index;
  CrunchIndexDays(index, Defaults());
  ASSERT_EQ(indicators::CrunchStock(stock, Defaults()), indicators::CrunchOutcome::kDone);
  for (size_t i = 0; i < index.size(); ++i) {
    for (int column : {11, 13, 23, 24, 25, 26, 27}) ASSERT_EQ(index[i].Col(column), stock[i].Col(column)) << i;
    ASSERT_EQ(index[i].dblIndexRSI, stock[i].dblRSI);
    for (int column : {12, 14, 16, 42, 44, 67}) ASSERT_EQ(index[i].Col(column), 0) << column;
  }
}

TEST(MarketIndicators, FlatIndexHasNoRsiAndShortIndexNeedsNoMinimum) {
  DayRecords flat = MakeCloses(60, [](long) { return 5000.0; });
  CrunchIndexDays(flat, Defaults());
  for (const DayRecord& day : flat) {
    EXPECT_EQ(day.dblIndexRSI, 0);
    EXPECT_EQ(day.dblIndexPercentMA, 0);
  }

  for (long count = 0; count <= 23; ++count) {
    DayRecords days = MakeCloses(count, [](long i) { return 5000.0 + 10 * static_cast<double>(i % 4); });
    EXPECT_NO_THROW(CrunchIndexDays(days, Defaults())) << count;
    for (const DayRecord& day : days) {
      EXPECT_EQ(day.dblIndexRSI, 0) << count;
      EXPECT_EQ(day.dblIndexPercentMA, 0) << count;
    }
  }
}

TEST(MarketIndicators, ErrorsPassToTheCaller) {
  RunParameters parms = Defaults();
  parms.intRSIDays = 25;
  DayRecords days = MakeCloses(60, [](long i) { return 5000.0 + static_cast<double>(i); });
  EXPECT_THROW(CrunchIndexDays(days, parms), rt::Error);
  EXPECT_NE(days[0].dblMA_B, 0);  // written before the RSI step failed

  // A skipped day (blank record) inside the percent rows.
  days = MakeCloses(60, [](long i) { return 5000.0 + static_cast<double>(i); });
  days[3] = DayRecord{};
  EXPECT_THROW(CrunchIndexDays(days, Defaults()), rt::Error);
}

}  // namespace
