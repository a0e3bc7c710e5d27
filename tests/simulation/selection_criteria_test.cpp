#include <gtest/gtest.h>

#include "platform/runtime/error.h"
#include "select_fixture.h"

using CriteriaTest = SelectRulesTest;

TEST_F(CriteriaTest, MovingAverageDistanceIsAWholePercentRoundedBeforeTheThreshold) {
  FillSelectDays(3);
  DayRecord& day = udtStockDays[0];
  Parms().intMADiff = 0;
  day.dblMA_B = 20;  // close exactly on the average
  EXPECT_EQ(engine.WinMA(0), "X");
  day.dblMA_B = 19.92;  // 0.4 % rounds to 0.00
  EXPECT_EQ(engine.WinMA(0), "X");
  day.dblMA_B = 19.88;  // 0.6 % rounds to 0.01, i.e. 1 % above: a short
  EXPECT_EQ(engine.WinMA(0), "SHORT");
  Parms().intMADiff = 1;
  EXPECT_EQ(engine.WinMA(0), "SHORT");
  Parms().intMADiff = 2;
  EXPECT_EQ(engine.WinMA(0), "X");

  day.dblMA_B = 21;  // 5 % below
  Parms().intMADiff = 5;
  EXPECT_EQ(engine.WinMA(0), "LONG");
  Parms().intMADiff = 6;
  EXPECT_EQ(engine.WinMA(0), "X");

  // 0.29 x 100 is 28.999999999999996 in binary; the distance is still 29 %.
  day.strClose.Assign("100");
  day.dblMA_B = 71;
  Parms().intMADiff = 29;
  EXPECT_EQ(engine.WinMA(0), "SHORT");

  day.strClose.Assign("0");
  EXPECT_THROW(engine.WinMA(0), rt::Error);
}

TEST_F(CriteriaTest, RsiCrossingAndLevelModes) {
  FillSelectDays(3);
  DayRecord& day = udtStockDays[0];
  Parms().intRSIMode = 1;
  EXPECT_EQ(engine.WinRSI(0), "X");
  day.dblRSIDownCross = 1;
  EXPECT_EQ(engine.WinRSI(0), "SHORT");
  day.dblRSIUpCross = 1;
  EXPECT_EQ(engine.WinRSI(0), "LONG");

  Parms().intRSIMode = 2;  // levels 80 and 20, both inclusive
  day.dblRSI = 80;
  EXPECT_EQ(engine.WinRSI(0), "SHORT");
  day.dblRSI = 79.99;
  EXPECT_EQ(engine.WinRSI(0), "X");
  day.dblRSI = 20;
  EXPECT_EQ(engine.WinRSI(0), "LONG");
  // Overlapping levels: the high level is tested first.
  Parms().dblRSIHigh = 40;
  Parms().dblRSILow = 60;
  day.dblRSI = 50;
  EXPECT_EQ(engine.WinRSI(0), "SHORT");
}

TEST_F(CriteriaTest, BollingerNeedsTheSignalAndHasNoOpinionBetweenTheLevels) {
  FillSelectDays(3);
  DayRecord& day = udtStockDays[0];
  day.dblRSIBelowLow = 1;
  EXPECT_EQ(engine.WinBoll(0), "X");
  day.dblBollSignal = 1;
  EXPECT_EQ(engine.WinBoll(0), "LONG");
  day.dblRSIBelowLow = 0;
  day.dblRSIAboveHigh = 1;
  EXPECT_EQ(engine.WinBoll(0), "SHORT");
  day.dblRSIAboveHigh = 0;
  EXPECT_EQ(engine.WinBoll(0), "");
}

TEST_F(CriteriaTest, MinimumVolumeComparesWholeShareCounts) {
  FillSelectDays(3);
  DayRecord& day = udtStockDays[0];
  Parms().lngVolDollarMin = 10000;
  Parms().sngVolPercMax = 0.5f;
  day.dblAvgVolume = 100000;
  EXPECT_EQ(engine.WinMinVolume(0), "OK");  // 500 shares against a limit of 500
  day.strClose.Assign("19.9");
  EXPECT_EQ(engine.WinMinVolume(0), "X");  // 503 shares

  // Share counts round half to even: 500.5 is 500, 501.5 is 502.
  day.strClose.Assign("2");
  Parms().lngVolDollarMin = 1001;
  EXPECT_EQ(engine.WinMinVolume(0), "OK");
  Parms().lngVolDollarMin = 1003;
  EXPECT_EQ(engine.WinMinVolume(0), "X");

  day.strClose.Assign("0");
  EXPECT_THROW(engine.WinMinVolume(0), rt::Error);
}

TEST_F(CriteriaTest, MacdHistogramMustCrossZeroBeyondTheThreshold) {
  FillSelectDays(3);
  DayRecord& day = udtStockDays[0];
  DayRecord& before = udtStockDays[1];
  Parms().dblMACDMin = -3;
  day.dblMACDHist = 0.5;
  before.dblMACDHist = -0.5;
  day.dblMACD = 1;
  EXPECT_EQ(engine.WinMACD(0), "LONG");
  day.dblMACD = -3;  // not greater than the threshold
  EXPECT_EQ(engine.WinMACD(0), "X");

  day.dblMACDHist = -0.5;
  before.dblMACDHist = 0.5;
  day.dblMACD = 2.99;
  EXPECT_EQ(engine.WinMACD(0), "SHORT");
  day.dblMACD = 3;  // not below -(-3)
  EXPECT_EQ(engine.WinMACD(0), "X");

  day.dblMACD = 0;
  before.dblMACDHist = 0;  // a histogram of exactly 0 gives no signal
  EXPECT_EQ(engine.WinMACD(0), "X");

  EXPECT_THROW(engine.WinMACD(2), rt::Error);  // no row before the oldest
}

TEST_F(CriteriaTest, AdxVotesOnlyWhenRisingTwoDaysAboveTheThreshold) {
  FillSelectDays(3);
  auto set = [](double plusDI, double minusDI, double adx0, double adx1, double adx2) {
    udtStockDays[0].dblPlusDI = plusDI;
    udtStockDays[0].dblMinusDI = minusDI;
    udtStockDays[0].dblADX = adx0;
    udtStockDays[1].dblADX = adx1;
    udtStockDays[2].dblADX = adx2;
  };
  Parms().intADXThreshold = 25;
  set(30, 20, 25, 24.5, 24);
  EXPECT_EQ(engine.WinADX(0), "LONG");
  set(20, 30, 27, 26, 25);
  EXPECT_EQ(engine.WinADX(0), "SHORT");
  set(30, 20, 24.9, 24.5, 24);  // below the threshold
  EXPECT_EQ(engine.WinADX(0), "");
  set(20, 30, 27, 26, 26);  // not strictly rising
  EXPECT_EQ(engine.WinADX(0), "");
  set(25, 25, 27, 26, 25);
  EXPECT_EQ(engine.WinADX(0), "X");
  EXPECT_THROW(engine.WinADX(1), rt::Error);
}

TEST_F(CriteriaTest, SwingWindowIsWholeWeeksOfFiveDays) {
  struct Case {
    int16_t days;
    double high;
  };
  // 10 days: 1.43 weeks, one week, rows 2 to 5; 11: two weeks, rows 2 to 10;
  // 18: 2.57 weeks, three weeks, rows 2 to 15.
  for (Case c : {Case{10, 25}, Case{11, 35}, Case{18, 45}}) {
    FillSelectDays(30);
    const char* highs[][2] = {{"25", "5"}, {"30", "6"}, {"35", "10"}, {"40", "11"}, {"45", "15"}, {"50", "16"}};
    for (auto& h : highs) udtStockDays[std::stoul(h[1])].strHigh.Assign(h[0]);
    udtStockDays[4].strLow.Assign("17");
    udtStockDays[20].strLow.Assign("1");
    Parms().intSwingDays = c.days;
    EXPECT_EQ(engine.WinSwing(0, "IBM"), "X") << c.days;
    EXPECT_EQ(udtStockDays[2].dblSwingHigh, c.high) << c.days;
    EXPECT_EQ(udtStockDays[2].dblSwingLow, 17) << c.days;
    EXPECT_EQ(udtStockDays[2].dblSwingMACDLow, 0);  // nothing writes it
  }
}

namespace {

// A narrow range (highs 21, lows 19 in rows 2 to 10), a breakout close the
// day before, doubled volume and a MACD line above its swing high: every
// stage of the swing rule passes for row 0.
void MakeBreakout() {
  FillSelectDays(40);
  SetPrices(1, "21.5", "22", "21");
  SetPrices(0, "22", "23", "21");
  udtStockDays[1].lngVolume = 5000;  // its swing average is 1400
  udtStockDays[0].dblMACD = 0.5;
}

}  // namespace

TEST_F(CriteriaTest, SwingPassesItsFourStagesAndReportsEach) {
  MakeBreakout();
  EXPECT_EQ(engine.WinSwing(0, "IBM"), "LONG");
  ASSERT_EQ(events.swings.size(), 4u);
  const char* stages[] = {"range", "price", "volume", "macd"};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(events.swings[k].stage, stages[k]);
    EXPECT_EQ(events.swings[k].day, DayOfRow(0));
    EXPECT_EQ(events.swings[k].symbol, "IBM");
  }
  EXPECT_DOUBLE_EQ(udtStockDays[1].dblAvgVolumeSwing, 1400);
}

TEST_F(CriteriaTest, SwingStopsAtTheFirstStageThatFails) {
  MakeBreakout();
  udtStockDays[0].dblMACD = 0;  // not above its swing high
  EXPECT_EQ(engine.WinSwing(0, "IBM"), "X");
  EXPECT_EQ(events.swings.size(), 3u);

  events.swings.clear();
  udtStockDays[1].lngVolume = 2250;  // exactly twice its average of 1125: not greater
  EXPECT_EQ(engine.WinSwing(0, "IBM"), "X");
  EXPECT_EQ(events.swings.size(), 2u);

  events.swings.clear();
  udtStockDays[5].strLow.Assign("18.8");  // range 2.2 is not below 10 % of 21
  EXPECT_EQ(engine.WinSwing(0, "IBM"), "X");
  EXPECT_TRUE(events.swings.empty());
}

TEST_F(CriteriaTest, SwingComparesTheCloseTextsAsTexts) {
  MakeBreakout();
  for (size_t k = 2; k <= 10; ++k) SetPrices(k, "9.4", "9.5", "9");
  SetPrices(1, "9.9", "10", "9.5");
  SetPrices(0, "10.5", "11", "10");  // higher, but "1" sorts below "9"
  EXPECT_EQ(engine.WinSwing(0, "IBM"), "X");
  ASSERT_EQ(events.swings.size(), 1u);
  EXPECT_EQ(events.swings[0].stage, "range");

  FillSelectDays(2);
  EXPECT_THROW(engine.WinSwing(0, "IBM"), rt::Error);  // no row i + 2
}
