#include <gtest/gtest.h>

#include "platform/runtime/error.h"
#include "simulation/portfolio_replay.h"

namespace {

using namespace simulation;

rt::Date Day(int d) { return rt::DateSerial(2004, 3, d); }

PortfolioSlot Traded(double gainLoss) {
  PortfolioSlot s;
  s.datAcquireDate = Day(9);
  s.datBoughtDate = Day(10);
  s.datReleaseDate = Day(15);
  s.dblGainLoss = gainLoss;
  s.dblAmount = 5000;
  s.dblAcquirePrice = 40;
  s.strBought = "B";
  s.strPositioning = "LONG";
  return s;
}

TEST(ReleaseTest, RealisedTheDayAfterTheReleaseDateLessTwoCommissions) {
  PortfolioSlot s = Traded(10);
  double balance = 15000;
  EXPECT_FALSE(ReleaseIfDue(s, Day(15), 13, balance));
  EXPECT_EQ(balance, 15000);
  EXPECT_TRUE(ReleaseIfDue(s, Day(16), 13, balance));
  EXPECT_EQ(balance, 15474);  // 500 gained, 26 in commissions
  EXPECT_EQ(s.strBought, "S");
  EXPECT_EQ(s.intDaysHeld, 6);
  EXPECT_FALSE(ReleaseIfDue(s, Day(17), 13, balance));  // released once only
  EXPECT_EQ(balance, 15474);
}

TEST(ReleaseTest, RowWithoutTradeFreesItsSlotWithNoMoney) {
  PortfolioSlot s = Traded(0);
  s.datReleaseDate = rt::Date();
  s.strBought = "3/12/2004";
  double balance = 15000;
  EXPECT_FALSE(ReleaseIfDue(s, Day(12), 13, balance));
  EXPECT_TRUE(ReleaseIfDue(s, Day(13), 13, balance));
  EXPECT_EQ(balance, 15000);
  EXPECT_EQ(s.intDaysHeld, 0);
  EXPECT_EQ(s.strBought, "S");
}

TEST(ReleaseTest, OpenPositionsAndTheNoDateMarkersStayHeld) {
  double balance = 15000;
  PortfolioSlot open = Traded(5);
  open.datReleaseDate = rt::Date();
  EXPECT_FALSE(ReleaseIfDue(open, Day(30), 13, balance));
  PortfolioSlot marker = Traded(5);
  marker.datReleaseDate = rt::DateSerial(1900, 1, 1);
  EXPECT_FALSE(ReleaseIfDue(marker, Day(30), 13, balance));
  marker.strBought = "X";
  EXPECT_FALSE(ReleaseIfDue(marker, Day(30), 13, balance));
  EXPECT_EQ(balance, 15000);

  PortfolioSlot garbled = Traded(0);
  garbled.datReleaseDate = rt::Date();
  garbled.strBought = "soon";
  EXPECT_THROW(ReleaseIfDue(garbled, Day(30), 13, balance), rt::Error);
}

TEST(DisplayTest, RecordCarriesRoundedFiguresAndKeepsOtherFields) {
  PortfolioSlot s = Traded(-2.25);
  s.strSymbol = "IBM";
  s.strMarket = "ny";
  s.dblAmount = 5000.5;
  s.dblAcquirePrice = 33.335;
  s.dblPercentMA = -3.5;
  s.lngVolume = 420000;
  clsStock r;
  r.RSI = 61;
  FillDisplayRecord(r, s, Day(12));
  EXPECT_EQ(r.CurrentDate, Day(12));
  EXPECT_EQ(r.Symbol, "IBM");
  EXPECT_EQ(r.AmountPurchased, 5000);
  EXPECT_EQ(r.SharesPurchased, 150);  // 150.007...
  EXPECT_EQ(r.PercentMA, -4);         // -3.5 to the even neighbour
  EXPECT_EQ(r.GainLoss, -2.2);
  EXPECT_EQ(r.Volume, 420000);
  EXPECT_EQ(r.ReleaseDate, Day(15));
  EXPECT_EQ(r.RSI, 61);

  s.dblAcquirePrice = 0;  // an order that never filled bought no shares
  FillDisplayRecord(r, s, Day(12));
  EXPECT_EQ(r.SharesPurchased, 0);
}

TEST(TallyTest, AveragesOverReleasedAndOverAllBought) {
  ReplayTally tally;
  PortfolioSlot win = Traded(10);
  win.strBought = "S", win.intDaysHeld = 6;
  PortfolioSlot loss = Traded(-4);
  loss.strBought = "S", loss.intDaysHeld = 3, loss.strPositioning = "SHORT";
  PortfolioSlot unfilled = Traded(0);
  unfilled.strBought = "S";
  PortfolioSlot held = Traded(7);  // still open: not counted
  for (const PortfolioSlot* s : {&win, &loss, &unfilled, &held}) tally.Add(*s);
  ReplayResults r = tally.Results(4);
  EXPECT_DOUBLE_EQ(r.averageReturn, 2);   // (10 - 4 + 0) / 3
  EXPECT_DOUBLE_EQ(r.averageHold, 2.25);  // 9 days over 4 bought
  EXPECT_EQ(r.shorts, 1);
  EXPECT_EQ(r.longs, 2);
  EXPECT_EQ(r.winners, 1);
  EXPECT_EQ(r.losers, 2);
  EXPECT_EQ(ReplayTally().Results(1).averageReturn, 0);
}

}  // namespace
