// The test reader must fill day records as LoadData does, or every indicator
// test built on it checks the wrong numbers.
#include "support/history_csv.h"

#include <gtest/gtest.h>

#include "platform/runtime/error.h"
#include "support/temp_app_folder.h"

namespace {

using testsupport::FixturePath;
using testsupport::LoadHistoryCsv;

TEST(HistoryCsv, StockRowsFollowTheLoaderRules) {
  const DayRecords days = LoadHistoryCsv(FixturePath("loader_rules.csv"), "RULES");
  ASSERT_EQ(days.size(), 6u);  // the zero close at the oldest end leaves no record

  // Newest first; an adjusted close longer than six characters is cut, and
  // the ratio is taken against the cut text (123.4567 / 123.45 is no split).
  EXPECT_EQ(days[0].strClose.Text(), "123.45");
  EXPECT_EQ(days[0].strOpen.Text(), "130   ");
  EXPECT_EQ(days[0].lngVolume, 500);
  EXPECT_EQ(rt::FormatIso(days[0].datDamnDate), "2020-01-10");

  // Ratios of exactly 0.9 and 1.1 rescale.
  EXPECT_EQ(days[1].strHigh.Text(), "10    ");
  EXPECT_EQ(days[2].strHigh.Text(), "20    ");

  // A dividend-sized ratio (1.05) leaves the prices as stored.
  EXPECT_EQ(days[3].strClose.Text(), "10    ");
  EXPECT_EQ(days[3].strOpen.Text(), "10.5  ");
  EXPECT_EQ(days[3].strHigh.Text(), "11    ");

  // A zero close in the middle keeps its slot, blank.
  EXPECT_TRUE(days[4].strClose.IsBlank());
  EXPECT_TRUE(days[4].datDamnDate.IsZero());

  // Ratio 2.0: open, high and low halved, volume kept.
  EXPECT_EQ(days[5].strClose.Text(), "10    ");
  EXPECT_EQ(days[5].strOpen.Text(), "20    ");
  EXPECT_EQ(days[5].strHigh.Text(), "22    ");
  EXPECT_EQ(days[5].strLow.Text(), "18    ");
  EXPECT_EQ(days[5].lngVolume, 100);
}

TEST(HistoryCsv, IndexRowsKeepTheirPricesAndNoVolume) {
  const DayRecords days = LoadHistoryCsv(FixturePath("loader_rules.csv"), "^DJI");
  ASSERT_EQ(days.size(), 6u);
  EXPECT_EQ(days[5].strClose.Text(), "20    ");
  EXPECT_EQ(days[5].strOpen.Text(), "40    ");
  EXPECT_EQ(days[5].lngVolume, 0);
}

TEST(HistoryCsv, FailsWhereTheLoaderFails) {
  testsupport::TempAppFolder folder;
  const auto zeroAdjusted = folder.File("zero.csv");
  testsupport::WriteFileBytes(zeroAdjusted, "Date,Open,High,Low,Close,Adj Close,Volume\n2020-01-02,1,1,1,1,0,5\n");
  EXPECT_THROW(LoadHistoryCsv(zeroAdjusted, "Z"), rt::Error);

  const auto hugeVolume = folder.File("huge.csv");
  testsupport::WriteFileBytes(hugeVolume,
                              "Date,Open,High,Low,Close,Adj Close,Volume\n2020-01-02,1,1,1,1,1,2674463000\n");
  EXPECT_THROW(LoadHistoryCsv(hugeVolume, "C"), rt::Error);
}

}  // namespace
