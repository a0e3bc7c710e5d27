// The exit walk, both stop rules, the age exit and the sell buffer on
// hand-worked ten-day series.
#include <gtest/gtest.h>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "support/temp_app_folder.h"
#include "trade_series.h"

using namespace tradetest;

namespace {

class ExitRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms() = RunParameters::DesignDefaults();
    Parms().strTypeOfPurchase = "Market";
    Parms().intProfitable = 9;
    Parms().intDecline = 3;
    Parms().blnMaxAge = false;
    engine_ = std::make_unique<clsResearch>();
  }
  void TearDown() override { udtStockDays.clear(); }

  clsResearch::TradePosition& Trade() { return engine_->TradeState(); }
  // Buys at the next Open after 3/1/2004, sets the initial stop and walks.
  void BuyAndWalk(const std::string& side, const std::string& rule) {
    Trade() = {};
    Trade().strPositioning = side;
    Parms().strPriceUpdate = rule;
    rt::Date signal = D("3/1/2004");
    ASSERT_EQ(engine_->PurchaseStock(signal), 0);
    engine_->SetStopPrice();
    engine_->UpdateAndSell();
  }
  void ExpectRelease(double price, const char* day) {
    EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, price);
    EXPECT_EQ(Trade().datReleaseDate, D(day));
  }

  testsupport::TempAppFolder folder_;
  std::unique_ptr<clsResearch> engine_;
};

// LONG bought at 10.05, stop 9.3465. The profit level 10.05 x 1.09 = 10.9545 is
// first closed above on 3/5 (11.30): stop 11.30 x 0.97 = 10.961; 3/8 closes at
// 11.10: stop 10.767; 3/9 trades down to 10.60 from an Open of 11.00.
TEST_F(ExitRulesTest, ProfitableLossTrailsOnceTheProfitLevelIsReachedLong) {
  RisingSeries();
  BuyAndWalk("LONG", "ProfitableLoss");
  EXPECT_EQ(Trade().strProfitFlag, "P");
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 11.10 * 0.97);
  ExpectRelease(10.77, "3/9/2004");
  EXPECT_EQ(Trade().intCurrentDay, 3);
}

// SHORT bought at 19.90, stop 21.293. Profit level 19.90 x 0.91 = 18.109, first
// closed below on 3/5 (18.00): stop 18.54; 3/8 closes 17.90: stop 18.437; 3/9
// trades up to 18.60 from an Open of 18.00.
TEST_F(ExitRulesTest, ProfitableLossTrailsOnceTheProfitLevelIsReachedShort) {
  FallingSeries();
  BuyAndWalk("SHORT", "ProfitableLoss");
  ExpectRelease(18.44, "3/9/2004");
}

TEST_F(ExitRulesTest, AGapThroughTheStopReleasesAtTheOpen) {
  RisingSeries();
  SetDay(3, 10.50, 10.60, 10.40, 10.45);  // opens below the stop 10.767
  BuyAndWalk("LONG", "ProfitableLoss");
  ExpectRelease(10.50, "3/9/2004");

  FallingSeries();
  SetDay(3, 18.60, 18.70, 18.50, 18.60);  // opens above the stop 18.437
  BuyAndWalk("SHORT", "ProfitableLoss");
  ExpectRelease(18.60, "3/9/2004");
}

TEST_F(ExitRulesTest, TheFillDayReleasesAtTheStopEvenBelowItsOpen) {
  // Bought at a gap-down Open of 9.70 under the signal day's Low of 9.80,
  // which becomes the stop; the fill day trades down to 9.60.
  RisingSeries();
  SetDay(8, 9.70, 9.90, 9.60, 9.80);
  Parms().strInitStop = "Previous Day's Low/High";
  BuyAndWalk("LONG", "ProfitableLoss");
  ExpectRelease(9.80, "3/2/2004");
  EXPECT_EQ(Trade().intCurrentDay, 8);
}

TEST_F(ExitRulesTest, TheTrailingStopFollowsEveryCloseInBothDirections) {
  // A = 10.00, g = 5, t = 3, stop 9.00: a close of 10.49 changes nothing, 10.60
  // sets 10.282, a later 10.40 lowers it to 10.088.
  LoadSeries({
      {"3/1/2004", 10.00, 10.10, 9.90, 10.00},
      {"3/2/2004", 10.00, 10.50, 9.95, 10.49},
      {"3/3/2004", 10.50, 10.70, 10.40, 10.60},
      {"3/4/2004", 10.50, 10.55, 10.30, 10.40},
  });
  Parms().intProfitable = 5;
  Parms().intInitStopPercent = 10;
  BuyAndWalk("LONG", "ProfitableLoss");
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 10.40 * 0.97);
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 0);  // 3/4 Low 10.30 stays above 10.282
  EXPECT_TRUE(Trade().datReleaseDate.IsZero());
  EXPECT_EQ(Trade().intCurrentDay, 0);
}

// Swing lows, LONG bought at 9.05 with stop 8.4165: 3/4 makes a higher Low
// after the 8.70 of 3/3, so the stop rises to 8.70; 3/10 makes a higher Low
// after the 9.05 of 3/9, so it rises to 9.05; 3/12 trades down to 8.90 from
// an Open of 9.10.
TEST_F(ExitRulesTest, NewExtremeFollowsTheLatestSwingLow) {
  SwingSeries();
  BuyAndWalk("LONG", "New Extreme Low/High");
  ExpectRelease(9.05, "3/12/2004");
  EXPECT_DOUBLE_EQ(Trade().dblPrevLow, 8.80);
  EXPECT_DOUBLE_EQ(Trade().dblPrevHigh, 9.20);
}

// Swing highs, SHORT bought at 8.95 with stop 9.5765: the stop falls to 9.30
// (High of 3/3) on 3/4 and to 9.00 (High of 3/9) on 3/10; 3/12 reaches 9.05.
TEST_F(ExitRulesTest, NewExtremeFollowsTheLatestSwingHigh) {
  LoadSeries({
      {"3/1/2004", 9.00, 9.20, 8.80, 9.00},  // signal
      {"3/2/2004", 8.95, 9.10, 8.70, 8.90},  // fill
      {"3/3/2004", 8.90, 9.30, 8.80, 9.10},
      {"3/4/2004", 9.05, 9.15, 8.60, 8.70},
      {"3/5/2004", 8.70, 8.90, 8.40, 8.50},
      {"3/8/2004", 8.50, 8.80, 8.30, 8.60},
      {"3/9/2004", 8.60, 9.00, 8.50, 8.90},
      {"3/10/2004", 8.85, 8.95, 8.40, 8.45},
      {"3/11/2004", 8.50, 8.70, 8.20, 8.30},
      {"3/12/2004", 8.95, 9.05, 8.80, 9.00},
  });
  BuyAndWalk("SHORT", "New Extreme Low/High");
  ExpectRelease(9.00, "3/12/2004");
}

TEST_F(ExitRulesTest, NewExtremeComparesLowsAsTexts) {
  // Lows after the fill: 9.80, 9.60, 9.90, 9.70, 10.10, 9.65. On the day of
  // 10.10 the text "10.1" ranks below "9.7", so the stop stays at 9.60 (as
  // numbers it would have risen to 9.70) and the 9.65 of the last day does not
  // reach it; that day then ranks above "10.1" and takes it as the swing low.
  LoadSeries({
      {"3/1/2004", 9.90, 10.00, 9.70, 9.90},
      {"3/2/2004", 9.95, 10.00, 9.80, 9.90},
      {"3/3/2004", 9.85, 9.90, 9.60, 9.70},
      {"3/4/2004", 9.95, 10.00, 9.90, 9.98},
      {"3/5/2004", 9.95, 9.98, 9.70, 9.80},
      {"3/8/2004", 10.15, 10.30, 10.10, 10.20},
      {"3/9/2004", 9.90, 10.00, 9.65, 9.80},
  });
  BuyAndWalk("LONG", "New Extreme Low/High");
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 0);
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 10.10);
}

TEST_F(ExitRulesTest, MaxAgeReleasesAtTheOpen) {
  // Bought on day 8; with 3 days allowed, day 4 (3/8) is the first too old.
  RisingSeries();
  Parms().blnMaxAge = true;
  Parms().intMaxDays = 3;
  BuyAndWalk("LONG", "ProfitableLoss");
  ExpectRelease(11.30, "3/8/2004");

  // With 4 days, day 3 (3/9) is too old; the stop 10.767 is hit as well, but
  // age wins: released at that day's Open 11.00.
  Parms().intMaxDays = 4;
  BuyAndWalk("LONG", "ProfitableLoss");
  ExpectRelease(11.00, "3/9/2004");

  // Age applies to a SHORT too (bought on day 8, day 5 is too old with 2).
  FallingSeries();
  Parms().intMaxDays = 2;
  BuyAndWalk("SHORT", "New Extreme Low/High");
  ExpectRelease(18.30, "3/5/2004");
}

TEST_F(ExitRulesTest, AnUnknownStopRuleNeverReleases) {
  RisingSeries();
  Parms().blnMaxAge = true;
  Parms().intMaxDays = 1;
  BuyAndWalk("LONG", "Nothing");
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 0);
  EXPECT_TRUE(Trade().datReleaseDate.IsZero());
  engine_->ApplySellBuffer();
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 0);
}

TEST_F(ExitRulesTest, SellBufferWorsensTheReleasePrice) {
  Parms().intSellBuffer = 1;
  Trade().strPositioning = "LONG";
  Trade().dblReleasePrice = 20.00;
  engine_->ApplySellBuffer();
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 19.80);

  Trade().strPositioning = "SHORT";
  Trade().dblReleasePrice = 20.00;
  engine_->ApplySellBuffer();
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 20.20);

  // On the walked LONG of the rising series: 10.77 x 0.99 = 10.6623.
  RisingSeries();
  BuyAndWalk("LONG", "ProfitableLoss");
  engine_->ApplySellBuffer();
  EXPECT_DOUBLE_EQ(Trade().dblReleasePrice, 10.66);
}

TEST_F(ExitRulesTest, MaxAgeCountsTradingDaysStrictly) {
  Parms().blnMaxAge = true;
  Parms().intMaxDays = 5;
  Trade().intBoughtDay = 20;
  Trade().intCurrentDay = 15;
  EXPECT_FALSE(engine_->MaxAge());
  Trade().intCurrentDay = 14;
  EXPECT_TRUE(engine_->MaxAge());
  Parms().blnMaxAge = false;
  EXPECT_FALSE(engine_->MaxAge());
}

}  // namespace
