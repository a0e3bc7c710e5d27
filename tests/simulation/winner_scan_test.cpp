#include <gtest/gtest.h>

#include "select_fixture.h"

using WinnerScanTest = SelectRulesTest;

namespace {

// Runs the two forced passes of a run without criteria from row `start`.
void ScanBothSides(clsResearch& engine, size_t start) {
  for (const char* side : {"LONG", "SHORT"}) {
    std::string positioning = side;
    engine.OutputWinners("IBM", "ny", true, DayOfRow(start), true, positioning);
  }
}

std::string ScanWithCriteria(clsResearch& engine, size_t start) {
  std::string positioning;
  engine.OutputWinners("IBM", "ny", true, DayOfRow(start), false, positioning);
  return positioning;
}

size_t CountSide(const testsupport::RecordingEvents& events, const std::string& side) {
  size_t n = 0;
  for (const clsStock& s : events.winners) n += s.Positioning == side;
  return n;
}

}  // namespace

TEST_F(WinnerScanTest, WithoutCriteriaEveryDayIsALongAndAShortOnOneProgressBar) {
  FillSelectDays(10);
  ScanBothSides(engine, 5);
  ASSERT_EQ(events.winners.size(), 12u);
  EXPECT_EQ(CountSide(events, "LONG"), 6u);
  EXPECT_EQ(events.winners.front().AcquireDate, DayOfRow(5));  // oldest first
  EXPECT_EQ(events.winners[5].AcquireDate, DayOfRow(0));
  for (bool store : events.winnerStored) EXPECT_TRUE(store);

  ASSERT_EQ(events.stockCounts.size(), 12u);
  for (size_t k = 0; k < 12; ++k) {
    EXPECT_EQ(events.stockCounts[k].total, 12);
    EXPECT_EQ(events.stockCounts[k].index, static_cast<int32_t>(k + 1));
    EXPECT_EQ(events.stockCounts[k].symbol, "IBM");
  }
}

TEST_F(WinnerScanTest, ShortsNeedACloseAboveTheMinimumShortPrice) {
  FillSelectDays(10);
  Parms().dblMinShortPrice = 20;  // every close is 20: no short
  SetPrices(2, "20.01", "21", "19");
  ScanBothSides(engine, 5);
  EXPECT_EQ(CountSide(events, "LONG"), 6u);
  ASSERT_EQ(CountSide(events, "SHORT"), 1u);
  EXPECT_EQ(events.winners.back().AcquireDate, DayOfRow(2));
}

TEST_F(WinnerScanTest, CloseTextOutsideTheLowAndHighTextsIsDroppedUnlessSwingOrAdxIsOn) {
  FillSelectDays(10);
  for (DayRecord& d : udtStockDays) d.dblMA_B = 30;  // every close far below: LONG
  SetPrices(3, "10.25", "10.5", "9.80");             // as texts 10.25 sorts below 9.80
  Parms().blnUseMA = true;
  ScanWithCriteria(engine, 5);
  EXPECT_EQ(events.winners.size(), 5u);

  events.winners.clear();
  Parms().blnUseMA = false;
  Parms().blnUseADX = true;
  for (size_t k = 0; k < 10; ++k) {
    udtStockDays[k].dblPlusDI = 30;
    udtStockDays[k].dblMinusDI = 20;
    udtStockDays[k].dblADX = 40 - static_cast<double>(k);  // rising towards the newest day
  }
  ScanWithCriteria(engine, 5);
  EXPECT_EQ(events.winners.size(), 6u);
}

TEST_F(WinnerScanTest, CombineVotesVetoesAndNoOpinion) {
  FillSelectDays(6);
  Parms().blnUseMA = true;
  Parms().blnUseRSI = true;
  Parms().intRSIMode = 2;
  Parms().blnUseBoll = true;
  for (DayRecord& d : udtStockDays) {
    d.dblMA_B = 21;  // every close below the average: MA votes LONG
    d.dblBollSignal = 1;
  }
  udtStockDays[3].dblRSI = 85;  // RSI votes SHORT: both sides, no winner
  udtStockDays[2].dblRSI = 50;  // RSI vetoes
  udtStockDays[1].dblRSI = 15;  // RSI and Bollinger vote LONG
  udtStockDays[1].dblRSIBelowLow = 1;
  udtStockDays[0].dblRSI = 15;  // RSI LONG, Bollinger without opinion
  udtStockDays[0].dblBollSignal = 1;
  std::string left = ScanWithCriteria(engine, 3);
  EXPECT_EQ(left, "");
  ASSERT_EQ(events.winners.size(), 2u);
  EXPECT_EQ(events.winners[0].AcquireDate, DayOfRow(1));
  EXPECT_EQ(events.winners[1].AcquireDate, DayOfRow(0));
  EXPECT_EQ(events.winners[1].Positioning, "LONG");

  // The minimum-volume rule can only veto.
  events.winners.clear();
  Parms().blnUseMinVol = true;
  Parms().lngVolDollarMin = 1000000;
  ScanWithCriteria(engine, 3);
  EXPECT_TRUE(events.winners.empty());
}

TEST_F(WinnerScanTest, WinnerRecordCarriesTheDaysValuesAndEachIndexAtItsOwnRow) {
  FillSelectDays(6);
  DayRecord& day = udtStockDays[1];
  SetPrices(1, "20", "20.5", "19.5");
  udtStockDays[2].strClose.Assign("16");
  udtStockDays[2].lngVolume = 1000;
  day.lngVolume = 1500;
  day.dblMA_B = 19;
  day.dblAvgVolume = 1234.5;  // rounds to the even 1234
  day.dblRSI = 60;
  udtStockDays[2].dblRSI = 45;
  day.dblMACD = 0.12345;
  day.dblBandUpper = 25;
  day.dblBandLower = -5;
  udtDJIDays[1].dblIndexRSI = 70.4;
  udtDJIDays[1].dblIndexPercentMA = 3;
  // The NASDAQ lacks the signal day: its row for that day is the day before.
  udtNASDAQDays.erase(udtNASDAQDays.begin() + 1);
  udtNASDAQDays[1].dblIndexRSI = 40;
  udtNASDAQDays[1].dblIndexPercentMA = -2;

  ScanBothSides(engine, 1);
  ASSERT_EQ(events.winners.size(), 4u);
  const clsStock& longOne = events.winners[0];
  EXPECT_EQ(longOne.Market, "ny");
  EXPECT_EQ(longOne.Symbol, "IBM");
  EXPECT_EQ(longOne.AcquireDate, DayOfRow(1));
  EXPECT_EQ(longOne.PercentMA, 5);
  EXPECT_DOUBLE_EQ(longOne.VolumeChange, 50);
  EXPECT_DOUBLE_EQ(longOne.PriceChange, 25);
  EXPECT_DOUBLE_EQ(longOne.MACDFastLine, 0.12);
  EXPECT_DOUBLE_EQ(longOne.ClosePrice, 20);
  EXPECT_DOUBLE_EQ(longOne.High, 20.5);
  EXPECT_DOUBLE_EQ(longOne.Low, 19.5);
  EXPECT_EQ(longOne.Volume, 1234);
  EXPECT_EQ(longOne.RSI, 60);
  EXPECT_FLOAT_EQ(longOne.RSIChange, 25);
  EXPECT_FLOAT_EQ(longOne.BBDistance, 0);  // a negative lower band distance is 0
  EXPECT_DOUBLE_EQ(longOne.PurchasePrice, -1);
  EXPECT_DOUBLE_EQ(longOne.ReleasePrice, 19);
  EXPECT_EQ(longOne.Simulation, -1);
  EXPECT_EQ(longOne.DJ_RSI, 70);
  EXPECT_EQ(longOne.DJ_MA, 3);
  EXPECT_EQ(longOne.NS_RSI, 40);
  EXPECT_EQ(longOne.NS_MA, -2);

  const clsStock& shortOne = events.winners[2];
  EXPECT_EQ(shortOne.Positioning, "SHORT");
  EXPECT_EQ(shortOne.PercentMA, -5);
  EXPECT_DOUBLE_EQ(shortOne.PriceChange, -25);
  EXPECT_DOUBLE_EQ(shortOne.VolumeChange, 50);
  EXPECT_FLOAT_EQ(shortOne.RSIChange, -25);
  EXPECT_FLOAT_EQ(shortOne.BBDistance, 80);  // close over the upper band
  EXPECT_EQ(shortOne.DJ_RSI, 70);            // mirrored only when stored
}

TEST_F(WinnerScanTest, EachDayTakesTheNewestIndexRowOnOrBeforeItPastBlankRows) {
  FillSelectDays(10);
  for (size_t k = 0; k < 10; ++k) udtDJIDays[k].dblIndexRSI = 50 + static_cast<double>(k);
  udtDJIDays[3] = DayRecord{};  // a zero close left no day here
  std::string positioning = "LONG";
  engine.OutputWinners("IBM", "ny", true, DayOfRow(5), true, positioning);
  std::vector<int16_t> rsi;
  for (const clsStock& s : events.winners) rsi.push_back(s.DJ_RSI);
  EXPECT_EQ(rsi, (std::vector<int16_t>{55, 54, 54, 52, 51, 50}));
}

TEST_F(WinnerScanTest, WithoutTheStartDayTheScanStartsAFullLookBackAfterTheOldestRow) {
  FillSelectDays(100);
  std::string positioning = "LONG";
  // 105 calendar days are 75 trading rows: the first day scanned is row 24.
  engine.OutputWinners("IBM", "ny", true, *rt::Date::FromParts(1990, 1, 1), true, positioning);
  ASSERT_EQ(events.winners.size(), 25u);
  EXPECT_EQ(events.winners.front().AcquireDate, DayOfRow(24));
  EXPECT_EQ(events.stockCounts.front().total, 50);

  events.winners.clear();
  FillSelectDays(70);  // shorter than the look-back: no day to scan
  engine.OutputWinners("IBM", "ny", true, *rt::Date::FromParts(1990, 1, 1), true, positioning);
  EXPECT_TRUE(events.winners.empty());
}

TEST_F(WinnerScanTest, ADayThatCannotBeComputedGivesNoWinnerAndTheScanGoesOn) {
  FillSelectDays(10);
  udtStockDays[5].lngVolume = 0;     // day 4's volume change divides by zero
  udtStockDays[3].dblRSI = 0;        // day 3's RSI change divides by zero
  udtStockDays[2].dblBandUpper = 0;  // day 2's short band distance divides by zero
  ScanBothSides(engine, 5);
  EXPECT_EQ(CountSide(events, "LONG"), 4u);   // days 5, 2, 1, 0
  EXPECT_EQ(CountSide(events, "SHORT"), 3u);  // days 5, 1, 0

  events.winners.clear();
  udtDJIDays.clear();  // no index day on or before any signal day
  ScanBothSides(engine, 5);
  EXPECT_TRUE(events.winners.empty());
  EXPECT_EQ(events.stockCounts.size(), 24u);  // every day was still visited
}

TEST_F(WinnerScanTest, StopEndsTheScanAtTheNextDayButPauseLetsItFinish) {
  FillSelectDays(10);
  events.onStockCount = [&](const testsupport::RecordingEvents::StockCountCall& call) {
    if (call.index == 3) engine.StopProcess(true);
  };
  std::string positioning = "LONG";
  engine.OutputWinners("IBM", "ny", true, DayOfRow(5), true, positioning);
  EXPECT_EQ(events.winners.size(), 2u);  // day 3 is not judged

  engine.StopProcess(false);
  events.winners.clear();
  events.onStockCount = [&](const testsupport::RecordingEvents::StockCountCall& call) {
    if (call.index == 3) engine.PauseProcess(true);
  };
  engine.OutputWinners("IBM", "ny", true, DayOfRow(5), true, positioning);
  EXPECT_EQ(events.winners.size(), 6u);
  EXPECT_TRUE(engine.StopProcess());
}
