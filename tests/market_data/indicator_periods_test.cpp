// The run is refused before it starts when a period would make every symbol
// fail; every setting the check lets through computes.
#include "market_data/indicator_periods.h"

#include <gtest/gtest.h>

#include "market_data/indicator_steps.h"
#include "market_data/market_index_steps.h"
#include "support/synthetic_days.h"

namespace {

using indicators::CheckIndicatorPeriods;

RunParameters Defaults() { return RunParameters::DesignDefaults(); }

TEST(IndicatorPeriods, DesignDefaultsPass) { EXPECT_EQ(CheckIndicatorPeriods(Defaults()), ""); }

TEST(IndicatorPeriods, MessageNamesTheFieldByItsCaption) {
  RunParameters parms = Defaults();
  parms.intRSIDays = 25;
  EXPECT_EQ(CheckIndicatorPeriods(parms), "Days RSI Based On must be a whole number from 1 to 24 (it is 25).");
  parms = Defaults();
  parms.intMADays = 0;
  EXPECT_EQ(CheckIndicatorPeriods(parms), "# Days for Moving Average must be a whole number of at least 1 (it is 0).");
  parms = Defaults();
  parms.intBollDays = 2;
  EXPECT_EQ(CheckIndicatorPeriods(parms),
            "Days of Divergance plus Days of Stability must not exceed Bollinger Moving Avg. plus 1 "
            "(they are 2 + 2 with 2).");
}

TEST(IndicatorPeriods, LimitsOfEachField) {
  struct Case {
    int16_t RunParameters::*field;
    int16_t lowestBad, highestGood, highBad;
    const char* caption;
  };
  const Case cases[] = {
      {&RunParameters::intRSIDays, 0, 24, 25, "Days RSI Based On"},
      {&RunParameters::intMACDShort, 0, 28, 29, "Short EMA Length"},
      {&RunParameters::intMACDLong, 0, 28, 29, "Long EMA Length"},
      {&RunParameters::intMACDCombo, 0, 24, 25, "Combo EMA Length"},
      {&RunParameters::intBollDays, 0, 3000, 3000, "Bollinger Moving Avg."},
      {&RunParameters::intMADays, 0, 3000, 3000, "# Days for Moving Average"},
      {&RunParameters::intBollStableDays, -1, 0, 0, "Days of Stability"},
      {&RunParameters::intBollDivergeDays, -1, 0, 0, "Days of Divergance"},
  };
  for (const Case& c : cases) {
    RunParameters parms = Defaults();
    parms.*c.field = c.lowestBad;
    EXPECT_NE(CheckIndicatorPeriods(parms).find(c.caption), std::string::npos) << c.caption;
    parms.*c.field = c.highestGood;
    EXPECT_EQ(CheckIndicatorPeriods(parms), "") << c.caption;
    if (c.highBad != c.highestGood) {
      parms.*c.field = c.highBad;
      EXPECT_NE(CheckIndicatorPeriods(parms).find(c.caption), std::string::npos) << c.caption;
    }
  }

  RunParameters parms = Defaults();
  parms.intBollStableDays = 10;
  parms.intBollDivergeDays = 11;  // 21 = A + 1
  EXPECT_EQ(CheckIndicatorPeriods(parms), "");
  parms.intBollDivergeDays = 12;
  EXPECT_NE(CheckIndicatorPeriods(parms), "");
}

TEST(IndicatorPeriods, VolumeDaysMatterOnlyForTheSwingCriterion) {
  RunParameters parms = Defaults();
  parms.intSwingVolDays = 0;
  EXPECT_EQ(CheckIndicatorPeriods(parms), "");
  parms.blnUseSwing = true;
  EXPECT_NE(CheckIndicatorPeriods(parms).find("Days for Volume MA"), std::string::npos);
}

// The check and the computation agree: at every limit the check allows, the
// shortest history computes; one step past a limit, it fails.
TEST(IndicatorPeriods, EverythingTheCheckAllowsComputes) {
  RunParameters edge = Defaults();
  edge.intRSIDays = 24;
  edge.intMACDShort = 28;
  edge.intMACDLong = 28;
  edge.intMACDCombo = 24;
  edge.intBollDays = 1;
  edge.intBollStableDays = 2;
  edge.intBollDivergeDays = 0;
  edge.intMADays = 1;
  ASSERT_EQ(CheckIndicatorPeriods(edge), "");
  DayRecords days = testsupport::MakeCloses(35, [](long i) { return 20.0 + static_cast<double>(i % 5); });
  EXPECT_EQ(indicators::CrunchStock(days, edge), indicators::CrunchOutcome::kDone);
  EXPECT_NO_THROW(indicators::CrunchIndexDays(days, edge));

  for (int16_t RunParameters::*field :
       {&RunParameters::intRSIDays, &RunParameters::intMACDShort, &RunParameters::intMACDLong,
        &RunParameters::intMACDCombo, &RunParameters::intBollStableDays}) {
    RunParameters past = edge;
    past.*field = static_cast<int16_t>(past.*field + 1);
    ASSERT_NE(CheckIndicatorPeriods(past), "");
    DayRecords fresh = testsupport::MakeCloses(35, [](long i) { return 20.0 + static_cast<double>(i % 5); });
    EXPECT_EQ(indicators::CrunchStock(fresh, past), indicators::CrunchOutcome::kStepFailed);
  }
}

}  // namespace
