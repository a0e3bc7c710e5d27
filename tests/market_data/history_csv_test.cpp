// The test reader must fill day records as LoadData does, or every indicator
// test built on it checks the wrong numbers.
#include "support/history_csv.h"

#include <gtest/gtest.h>

#include "support/temp_app_folder.h"

namespace {

using testsupport::FixturePath;
using testsupport::LoadHistoryCsv;

TEST(HistoryCsv, StockRowsFollowTheLoaderRules) {
  const DayRecords days = LoadHistoryCsv(FixturePath("loader_rules.csv"), "RULES");
  ASSERT_EQ(days.size(), 5u);  // zero closes leave no record, and no gap

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

  // Ratio 2.0: open, high and low halved, volume kept; the zero-close day
  // before it in the file leaves no blank record between them.
  EXPECT_EQ(rt::FormatIso(days[4].datDamnDate), "2020-01-03");
  EXPECT_EQ(days[4].strClose.Text(), "10    ");
  EXPECT_EQ(days[4].strOpen.Text(), "20    ");
  EXPECT_EQ(days[4].strHigh.Text(), "22    ");
  EXPECT_EQ(days[4].strLow.Text(), "18    ");
  EXPECT_EQ(days[4].lngVolume, 100);
}

TEST(HistoryCsv, IndexRowsKeepTheirPricesAndNoVolume) {
  const DayRecords days = LoadHistoryCsv(FixturePath("loader_rules.csv"), "^DJI");
  ASSERT_EQ(days.size(), 5u);
  EXPECT_EQ(days[4].strClose.Text(), "20    ");
  EXPECT_EQ(days[4].strOpen.Text(), "40    ");
  EXPECT_EQ(days[4].lngVolume, 0);
}

TEST(HistoryCsv, LeavesOutWhatTheLoaderLeavesOut) {
  testsupport::TempAppFolder folder;
  const auto zeroAdjusted = folder.File("zero.csv");
  testsupport::WriteFileBytes(zeroAdjusted, "Date,Open,High,Low,Close,Adj Close,Volume\n2020-01-02,1,1,1,1,0,5\n");
  EXPECT_TRUE(LoadHistoryCsv(zeroAdjusted, "Z").empty());
}

TEST(HistoryCsv, VolumesBeyond32BitsLoad) {
  testsupport::TempAppFolder folder;
  const auto hugeVolume = folder.File("huge.csv");
  testsupport::WriteFileBytes(hugeVolume,
                              "Date,Open,High,Low,Close,Adj Close,Volume\n2020-01-02,1,1,1,1,1,2674463000\n");
  EXPECT_EQ(LoadHistoryCsv(hugeVolume, "C").at(0).lngVolume, 2674463000);
}

}  // namespace
