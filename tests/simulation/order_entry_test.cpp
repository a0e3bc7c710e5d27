// Order entry and the initial stop on hand-worked ten-day series.
#include <gtest/gtest.h>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "support/temp_app_folder.h"
#include "trade_series.h"

using namespace tradetest;

namespace {

class OrderEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms() = RunParameters::DesignDefaults();
    engine_ = std::make_unique<clsResearch>();
  }
  void TearDown() override { udtStockDays.clear(); }

  clsResearch::TradePosition& Trade() { return engine_->TradeState(); }
  // Places an order for the signal day with the given order type and side.
  int32_t Order(const std::string& type, const std::string& side, const char* signal = "3/1/2004") {
    Parms().strTypeOfPurchase = type;
    Trade().strPositioning = side;
    rt::Date signalDate = D(signal);
    return engine_->PurchaseStock(signalDate);
  }
  void ExpectFill(double price, const char* day, int index) {
    EXPECT_DOUBLE_EQ(Trade().dblAcquirePrice, price);
    EXPECT_EQ(Trade().datBoughtDate, D(day));
    EXPECT_EQ(Trade().datAcquireDate, D("3/1/2004"));
    EXPECT_EQ(Trade().intBoughtDay, index);
    EXPECT_EQ(Trade().intCurrentDay, index);
  }

  testsupport::TempAppFolder folder_;
  std::unique_ptr<clsResearch> engine_;
};

TEST_F(OrderEntryTest, MarketOrdersFillAtTheNextOpen) {
  RisingSeries();
  EXPECT_EQ(Order("Market", "LONG"), 0);
  ExpectFill(10.05, "3/2/2004", 8);

  FallingSeries();
  engine_->TradeState() = {};
  EXPECT_EQ(Order("Market", "SHORT"), 0);
  ExpectFill(19.90, "3/2/2004", 8);
}

TEST_F(OrderEntryTest, LimitOrdersFillAtTheOpenOrAtTheOrderPrice) {
  // LONG, order price 10.00 x 1.02 = 10.20: the next day opens at 10.05 and
  // trades down to 9.90, so it fills at the Open.
  RisingSeries();
  EXPECT_EQ(Order("Limit", "LONG"), 0);
  ExpectFill(10.05, "3/2/2004", 8);

  // Opening at 10.50 above the price and trading down to 10.10: fills at 10.20.
  RisingSeries();
  SetDay(8, 10.50, 10.60, 10.10, 10.40);
  Trade() = {};
  EXPECT_EQ(Order("Limit", "LONG"), 0);
  ExpectFill(10.20, "3/2/2004", 8);

  // SHORT, order price 20.00 x 0.98 = 19.60: the next High 20.10 reaches it and
  // the Open 19.90 is already above, so it fills at the Open.
  FallingSeries();
  Trade() = {};
  EXPECT_EQ(Order("Limit", "SHORT"), 0);
  ExpectFill(19.90, "3/2/2004", 8);
}

TEST_F(OrderEntryTest, StopOrdersFillAtTheOrderPriceOrAGapOpen) {
  // LONG, order price 10.20: the High 10.30 reaches it from an Open of 10.05.
  RisingSeries();
  EXPECT_EQ(Order("Stop", "LONG"), 0);
  ExpectFill(10.20, "3/2/2004", 8);

  // SHORT, order price 19.60: the Low 19.50 reaches it from an Open of 19.90.
  FallingSeries();
  Trade() = {};
  EXPECT_EQ(Order("Stop", "SHORT"), 0);
  ExpectFill(19.60, "3/2/2004", 8);

  // SHORT opening at 19.40, already through 19.60: fills at that Open.
  FallingSeries();
  SetDay(8, 19.40, 19.50, 19.20, 19.30);
  Trade() = {};
  EXPECT_EQ(Order("Stop", "SHORT"), 0);
  ExpectFill(19.40, "3/2/2004", 8);
}

TEST_F(OrderEntryTest, AnOrderFillsOnTheFirstDayOfItsLifeThatReachesThePrice) {
  // Stop LONG at 11.00 (10%): Highs 10.30, 10.40, 10.90 stay below it for three
  // days; with a four-day life the fourth day (High 11.40, Open 10.80) fills.
  RisingSeries();
  Parms().intLimitPercent = 10;
  Parms().intLifeofOrder = 4;
  EXPECT_EQ(Order("Stop", "LONG"), 0);
  ExpectFill(11.00, "3/5/2004", 5);

  // Stop SHORT at 18.00 (10%): Lows 19.50, 19.00, 18.20, then 17.80 from 18.30.
  FallingSeries();
  Trade() = {};
  EXPECT_EQ(Order("Stop", "SHORT"), 0);
  ExpectFill(18.00, "3/5/2004", 5);
}

TEST_F(OrderEntryTest, AnOrderThatNeverFillsStandsOnTheDayAfterItsLife) {
  // Three-day life from the signal day at index 9: days 8, 7 and 6 are watched,
  // the walk stands on day 5 (3/5/2004).
  Parms().intLifeofOrder = 3;

  RisingSeries();
  Parms().intLimitPercent = 10;  // buy stop at 11.00 above Highs 10.30, 10.40, 10.90
  EXPECT_EQ(Order("Stop", "LONG"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 5);
  EXPECT_DOUBLE_EQ(Trade().dblAcquirePrice, 0);

  Trade() = {};
  Parms().intLimitPercent = -5;  // buy limit at 9.50 below Lows 9.90, 10.00, 10.20
  EXPECT_EQ(Order("Limit", "LONG"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 5);

  FallingSeries();
  Trade() = {};
  Parms().intLimitPercent = 10;  // sell stop at 18.00 below Lows 19.50, 19.00, 18.20
  EXPECT_EQ(Order("Stop", "SHORT"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 5);

  Trade() = {};
  Parms().intLimitPercent = -5;  // sell limit at 21.00 above Highs 20.10, 19.80, 19.20
  EXPECT_EQ(Order("Limit", "SHORT"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 5);

  // A life of 0 watches no day.
  Trade() = {};
  Parms().intLifeofOrder = 0;
  Parms().intLimitPercent = 2;
  EXPECT_EQ(Order("Stop", "SHORT"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 8);
}

TEST_F(OrderEntryTest, AShortIsRefusedWhenTheNextOpenIsBelowTheMinimumShortPrice) {
  FallingSeries();  // next Open 19.90
  Parms().dblMinShortPrice = 19.91;
  for (const char* type : {"Market", "Limit", "Stop"}) {
    Trade() = {};
    Trade().intCurrentDay = 3;
    EXPECT_EQ(Order(type, "SHORT"), -1) << type;
    EXPECT_DOUBLE_EQ(Trade().dblAcquirePrice, 0) << type;
  }
  // Limit and Stop put the walk on day 0; Market leaves it where it was.
  EXPECT_EQ(Trade().intCurrentDay, 0);
  Trade() = {};
  Trade().intCurrentDay = 3;
  Order("Market", "SHORT");
  EXPECT_EQ(Trade().intCurrentDay, 3);

  Parms().dblMinShortPrice = 19.90;  // at the minimum is enough
  Trade() = {};
  EXPECT_EQ(Order("Market", "SHORT"), 0);
}

TEST_F(OrderEntryTest, OnlyKnownOrderTypesOnAPercentOfCloseBasisBuy) {
  RisingSeries();
  Parms().strPurchasePrice = "ADX";
  EXPECT_EQ(Order("Limit", "LONG"), -1);
  EXPECT_EQ(Order("Stop", "LONG"), -1);
  EXPECT_EQ(Order("Market", "LONG"), 0);  // a Market order has no price basis
  Parms().strPurchasePrice = "% of Close";
  Trade() = {};
  EXPECT_EQ(Order("market", "LONG"), -1);
  EXPECT_EQ(Order("Market", "long"), -1);
}

TEST_F(OrderEntryTest, OrdersAtTheEdgeOfTheLoadedDays) {
  RisingSeries();
  // A signal day that is not loaded: nothing is bought.
  Trade().intCurrentDay = 4;
  EXPECT_EQ(Order("Limit", "LONG", "2/27/2004"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 0);
  Trade().intCurrentDay = 4;
  EXPECT_EQ(Order("Market", "LONG", "2/27/2004"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 4);

  // Signal on the newest day: a buy limit is only not bought, orders that
  // need the next day cannot be worked out.
  Trade() = {};
  EXPECT_EQ(Order("Limit", "LONG", "3/12/2004"), -1);
  EXPECT_EQ(Trade().intCurrentDay, 0);
  EXPECT_THROW(Order("Market", "LONG", "3/12/2004"), rt::Error);
  EXPECT_THROW(Order("Stop", "LONG", "3/12/2004"), rt::Error);
  EXPECT_THROW(Order("Limit", "SHORT", "3/12/2004"), rt::Error);

  // A life that would run past the newest day without a fill.
  Parms().intLifeofOrder = 3;
  Parms().intLimitPercent = 10;
  EXPECT_THROW(Order("Stop", "LONG", "3/10/2004"), rt::Error);
}

TEST_F(OrderEntryTest, InitialStopRules) {
  RisingSeries();
  Order("Market", "LONG");  // 10.05 on day 8
  engine_->SetStopPrice();
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 10.05 * (1 - 7 / 100.0));  // 9.3465, not rounded

  Parms().strInitStop = "Previous Day's Low/High";
  engine_->SetStopPrice();
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 9.80);  // Low of the signal day

  FallingSeries();
  Trade() = {};
  Order("Market", "SHORT");  // 19.90 on day 8
  engine_->SetStopPrice();
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 20.40);  // High of the signal day

  Parms().strInitStop = "%Loss";
  engine_->SetStopPrice();
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 19.90 * (1 + 7 / 100.0));  // 21.293

  Parms().strInitStop = "Something else";
  Trade().dblStopPrice = 0;
  engine_->SetStopPrice();
  EXPECT_DOUBLE_EQ(Trade().dblStopPrice, 0);
}

}  // namespace
