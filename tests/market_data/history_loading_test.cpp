#include <gtest/gtest.h>

#include "market_data/day_record.h"
#include "market_data/history_rows.h"
#include "platform/runtime/number_text.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"

namespace {

using testsupport::Day;
using testsupport::EngineTestBed;

class HistoryLoadingTest : public ::testing::Test {
 protected:
  void Stock(const std::string& symbol, rt::Date day, double close, double adjClose, double open, double high,
             double low, long volume = 1000) {
    bed_.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], High, Low, [Close], Adj_Close, Volume) VALUES (#" +
                 rt::FormatShortDate(day) + "#, " + rt::FormatNumber(open) + ", " + rt::FormatNumber(high) + ", " +
                 rt::FormatNumber(low) + ", " + rt::FormatNumber(close) + ", " + rt::FormatNumber(adjClose) + ", " +
                 std::to_string(volume) + ")");
  }
  // Weekdays from `from` to `to` at a constant price.
  void FlatStock(const std::string& symbol, rt::Date from, rt::Date to, double price = 10) {
    for (rt::Date d = from; d <= to; d = d + 1)
      if (d.Weekday() != 1 && d.Weekday() != 7) Stock(symbol, d, price, price, price, price, price);
  }
  void FlatIndex(const std::string& symbol, rt::Date from, rt::Date to, double price) {
    for (rt::Date d = from; d <= to; d = d + 1)
      if (d.Weekday() != 1 && d.Weekday() != 7)
        bed_.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], High, Low, [Close]) VALUES (#" +
                     rt::FormatShortDate(d) + "#, 1, 2, 0.5, " + rt::FormatNumber(price) + ")");
  }
  rt::Date Load(std::string symbol, rt::Date start, rt::Date end) {
    int16_t lookBack = Parms().intWinDays;
    return bed_.Engine().LoadData(symbol, start, end, lookBack);
  }
  EngineTestBed bed_;
};

TEST_F(HistoryLoadingTest, StockPricesFollowTheSplitRule) {
  bed_.Engine().CreateTable("ABC");
  FlatStock("ABC", Day(2004, 1, 1), Day(2004, 6, 30));
  Stock("ABC", Day(2004, 7, 1), 20.00, 10.00, 20, 22, 18);           // ratio 2: halved
  Stock("ABC", Day(2004, 7, 2), 9, 10, 9, 9, 9);                     // 0.9: rescaled
  Stock("ABC", Day(2004, 7, 6), 11, 10, 22, 22, 22);                 // 1.1: rescaled
  Stock("ABC", Day(2004, 7, 7), 10.5, 10, 10.5, 11, 10);             // 1.05: as stored
  Stock("ABC", Day(2004, 7, 8), 123.4567, 123.4567, 130, 130, 120);  // cut to 123.45 first
  Load("ABC", Day(2004, 7, 8), Day(2004, 7, 8));
  ASSERT_GE(udtStockDays.size(), 5u);
  EXPECT_EQ(udtStockDays[0].strClose.Text(), "123.45");
  EXPECT_EQ(udtStockDays[0].strOpen.Text(), "130   ");
  EXPECT_EQ(udtStockDays[1].strHigh.Text(), "11    ");
  EXPECT_EQ(udtStockDays[2].strHigh.Text(), "20    ");
  EXPECT_EQ(udtStockDays[3].strHigh.Text(), "10    ");
  EXPECT_EQ(udtStockDays[4].strClose.Text(), "10    ");
  EXPECT_EQ(udtStockDays[4].strOpen.Text(), "10    ");
  EXPECT_EQ(udtStockDays[4].strHigh.Text(), "11    ");
  EXPECT_EQ(udtStockDays[4].strLow.Text(), "9     ");
  EXPECT_EQ(udtStockDays[4].lngVolume, 1000);
}

TEST_F(HistoryLoadingTest, TheResultIsTheFirstDateWithAFullLookBack) {
  bed_.Engine().CreateTable("ABC");
  FlatStock("ABC", Day(2004, 1, 5), Day(2004, 12, 31));
  // Plenty of history before the start: the start itself.
  EXPECT_EQ(Load("ABC", Day(2004, 9, 1), Day(2004, 12, 31)), Day(2004, 9, 1));
  // A start 20 days after the oldest row loaded: the oldest row + 105 days.
  EXPECT_EQ(Load("ABC", Day(2004, 1, 26), Day(2004, 12, 31)), Day(2004, 1, 5) + 105);
  EXPECT_EQ(udtStockDays.front().datDamnDate, Day(2004, 12, 31));
  EXPECT_EQ(udtStockDays.back().datDamnDate, Day(2004, 1, 5));
}

TEST_F(HistoryLoadingTest, TooShortAHistoryIsNotEnoughData) {
  bed_.Engine().CreateTable("ABC");
  // Stored days spanning exactly the look-back: not enough.
  Stock("ABC", Day(2004, 1, 1), 10, 10, 10, 10, 10);
  Stock("ABC", Day(2004, 1, 1) + 105, 10, 10, 10, 10, 10);
  // (The look-back window of 20 April starts 6 January; the range query
  // looks five days further back.)
  EXPECT_EQ(Load("ABC", Day(2004, 4, 20), Day(2004, 6, 1)), NotEnoughData());
  Stock("ABC", Day(2004, 1, 1) + 106, 10, 10, 10, 10, 10);
  EXPECT_NE(Load("ABC", Day(2004, 4, 20), Day(2004, 6, 1)), NotEnoughData());
  // No row in the window, downloads off: nothing is fetched.
  EXPECT_EQ(Load("ABC", Day(2010, 5, 1), Day(2010, 6, 1)), NotEnoughData());
  EXPECT_TRUE(bed_.Events().interneting.empty());
  ASSERT_EQ(udtStockDays.size(), 1u);
  EXPECT_TRUE(udtStockDays[0].datDamnDate.IsZero());
}

TEST_F(HistoryLoadingTest, AMissingTableIsCreatedEmpty) {
  EXPECT_EQ(Load("NEWCO", Day(2004, 5, 1), Day(2004, 6, 1)), NotEnoughData());
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM [NEWCO]"), "0");
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

TEST_F(HistoryLoadingTest, AZeroCloseLeavesNoGap) {
  bed_.Engine().CreateTable("ABC");
  FlatStock("ABC", Day(2004, 1, 1), Day(2004, 6, 30));
  bed_.Execute("UPDATE [ABC] SET [Close] = 0 WHERE DamnDate = #6/29/2004#");
  Load("ABC", Day(2004, 6, 30), Day(2004, 6, 30));
  EXPECT_EQ(udtStockDays[0].datDamnDate, Day(2004, 6, 30));
  EXPECT_EQ(udtStockDays[1].datDamnDate, Day(2004, 6, 28));
}

TEST_F(HistoryLoadingTest, IndexRowsGoToTheirOwnArraysAndAFailedLoadLeavesThemEmpty) {
  bed_.Engine().CreateTable("^DJI");
  bed_.Engine().CreateTable("^IXIC");
  FlatIndex("^DJI", Day(2004, 1, 1), Day(2004, 6, 30), 10123.45);
  FlatIndex("^IXIC", Day(2004, 1, 1), Day(2004, 6, 30), 2001.5);
  EXPECT_EQ(Load("^DJI", Day(2004, 6, 1), Day(2004, 6, 30)), Day(2004, 6, 1));
  EXPECT_EQ(Load("^IXIC", Day(2004, 6, 1), Day(2004, 6, 30)), Day(2004, 6, 1));
  ASSERT_EQ(udtStockDays.size(), 1u);
  ASSERT_FALSE(udtDJIDays.empty());
  EXPECT_EQ(udtDJIDays[0].strClose.Text(), "10123.");
  EXPECT_EQ(udtDJIDays[0].strLow.Text(), "0.5   ");
  EXPECT_EQ(udtDJIDays[0].datDamnDate, Day(2004, 6, 30));
  EXPECT_EQ(udtNASDAQDays[0].strClose.Text(), "2001.5");

  EXPECT_EQ(Load("^DJI", Day(2010, 6, 1), Day(2010, 6, 30)), NotEnoughData());
  EXPECT_TRUE(udtDJIDays.empty());
  EXPECT_FALSE(udtNASDAQDays.empty());
}

TEST_F(HistoryLoadingTest, AStoredZeroAdjustedCloseIsLeftOut) {
  bed_.Engine().CreateTable("ABC");
  FlatStock("ABC", Day(2004, 1, 1), Day(2004, 6, 30));
  bed_.Execute("UPDATE [ABC] SET Adj_Close = 0 WHERE DamnDate = #6/29/2004#");
  EXPECT_EQ(Load("ABC", Day(2004, 6, 30), Day(2004, 6, 30)), Day(2004, 6, 30));
  EXPECT_EQ(udtStockDays[0].datDamnDate, Day(2004, 6, 30));
  EXPECT_EQ(udtStockDays[1].datDamnDate, Day(2004, 6, 28));
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

TEST_F(HistoryLoadingTest, ASymbolThatCannotNameATableIsRefused) {
  bed_.User().AnswerMsgBox(user::kAnswerOK, "cannot be used as a table name");
  EXPECT_EQ(Load("BAD]SYM", Day(2004, 6, 30), Day(2004, 6, 30)), NotEnoughData());
}

TEST_F(HistoryLoadingTest, MissingHistoryIsDownloadedWhenTheRunAllowsIt) {
  testsupport::QuoteServiceProcess service;
  Parms().blnUpdateData = true;
  Parms().blnUseInternet = true;
  Parms().datEarliestDate = Day(2018, 1, 1);
  bed_.Engine().ImportNewStocks(std::string(KESTROVANE_DATA_DIR) + "/SymbolList");
  // AAPL split 4:1 on 31 August 2020: the day before shows the adjusted prices.
  rt::Date result = Load("AAPL", Day(2020, 6, 8), Day(2020, 11, 13));
  EXPECT_EQ(result, Day(2020, 6, 8));
  EXPECT_EQ(udtStockDays[0].datDamnDate, Day(2020, 11, 13));
  // The download reached the earliest date, not the first day the service has.
  EXPECT_TRUE(bed_.Engine().GetInceptionDate("AAPL").IsZero());
  auto byDate = [](rt::Date d) {
    for (const DayRecord& r : udtStockDays)
      if (r.datDamnDate == d) return r;
    return DayRecord{};
  };
  DayRecord before = byDate(Day(2020, 8, 28));
  EXPECT_NEAR(before.strHigh.Value() / before.strClose.Value(), 1.0, 0.05);
  // Every shipped symbol and both indices load.
  for (std::string symbol : {"ACU",  "C",    "CVR", "DOW",  "FB", "GOOGL", "IBM", "INTC", "JNJ",  "KIM",  "MNST",
                             "MSFT", "NFLX", "NKE", "ODFL", "V",  "WELL",  "XOM", "XRX",  "^DJI", "^IXIC"})
    EXPECT_EQ(Load(symbol, Day(2019, 9, 3), Day(2020, 11, 13)), Day(2019, 9, 3)) << symbol;
  // Nothing more to fetch for days before the first DOW traded (its inception
  // is known now) or before the earliest date for analysis: one page tops up
  // AAPL after its newest stored day.
  const size_t fetched = bed_.Events().interneting.size();
  EXPECT_EQ(Load("DOW", Day(2018, 6, 1), Day(2018, 12, 31)), NotEnoughData());
  EXPECT_EQ(Load("AAPL", Day(2018, 2, 1), Day(2020, 11, 13)), Day(2018, 1, 2) + 105);
  EXPECT_EQ(bed_.Events().interneting.size(), fetched + 2);
  EXPECT_EQ(bed_.Engine().DownloadReport(), "");
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

}  // namespace
