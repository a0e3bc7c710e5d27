// clsResearch's indicator members over the shared day-record arrays.
#include <gtest/gtest.h>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "platform/user/scripted_user_services.h"
#include "support/history_csv.h"
#include "support/synthetic_days.h"
#include "support/temp_app_folder.h"

namespace {

class CrunchMembersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms() = RunParameters::DesignDefaults();
    blnLogging = true;
  }
  void TearDown() override {
    blnLogging = false;
    udtStockDays.clear();
    udtDJIDays.clear();
    udtNASDAQDays.clear();
  }

  std::string Log() const {
    const auto file = folder_.File("err.log");
    return std::filesystem::exists(file) ? testsupport::ReadFileBytes(file) : "";
  }

  static DayRecords Real() {
    return testsupport::LoadHistoryCsv(testsupport::FixturePath("AAPL_2018_2020.csv"), "AAPL");
  }

  testsupport::TempAppFolder folder_;
  user::ScopedScriptedUser user_;
};

TEST_F(CrunchMembersTest, TooShortAHistoryIsRefusedSoTheSymbolIsSkipped) {
  clsResearch engine;
  udtStockDays = testsupport::MakeCloses(34, [](long i) { return 100.0 - static_cast<double>(i); });
  EXPECT_FALSE(engine.CrunchData("SHORT"));
  EXPECT_NE(Log().find("\tNot enough data to compute (<35 days): SHORT\r\n"), std::string::npos);
  for (const DayRecord& day : udtStockDays) {
    EXPECT_EQ(day.dblRSIBelowLow, 0);
    EXPECT_EQ(day.dblLowBelowMA, 0);
  }

  udtStockDays = testsupport::MakeCloses(35, [](long i) { return 100.0 - static_cast<double>(i); });
  EXPECT_TRUE(engine.CrunchData("LONGER"));
  EXPECT_EQ(udtStockDays[7].dblEMAFast, 100.0 - 7 - 5.5);
  EXPECT_EQ(Log().find("LONGER"), std::string::npos);
}

TEST_F(CrunchMembersTest, AFailingStepIsLoggedAndAnswersFalse) {
  clsResearch engine;
  Parms().intRSIDays = 25;
  udtStockDays = Real();
  EXPECT_FALSE(engine.CrunchData("AAPL"));
  EXPECT_NE(Log().find("\tError crunching data for: AAPL\r\n"), std::string::npos);
  EXPECT_NE(udtStockDays[0].dblAvgClose2, 0);
  EXPECT_EQ(udtStockDays[0].dblAvgGain, 0);
}

// Each public step writes its own column with the parameters of the moment:
// run one by one, they give what CrunchData gives.
TEST_F(CrunchMembersTest, TheLetteredStepsWriteTheirColumns) {
  clsResearch engine;
  Parms().intBollDays = 15;
  Parms().intMADays = 12;
  Parms().intRSIDays = 9;
  Parms().dblRSILow = 35;
  Parms().dblRSIHigh = 65;
  udtStockDays = Real();
  ASSERT_TRUE(engine.CrunchData("AAPL"));
  const DayRecords whole = udtStockDays;

  udtStockDays = Real();
  engine.f(), engine.g(), engine.h(), engine.i(), engine.j(), engine.k(), engine.l(), engine.m(), engine.n();
  engine.o(), engine.p(), engine.q(), engine.r(), engine.s(), engine.t(), engine.u(), engine.v(), engine.w();
  engine.Y(), engine.z(), engine.aa(), engine.ac(), engine.ad(), engine.ag(), engine.ah();
  for (size_t row = 0; row < whole.size(); ++row) {
    for (int column = 11; column <= 41; ++column) {
      if (column == 14 || column == 15) continue;  // written by private steps
      ASSERT_EQ(udtStockDays[row].Col(column), whole[row].Col(column)) << "column " << column << " row " << row;
    }
  }
}

TEST_F(CrunchMembersTest, BothIndexMembersGiveEqualResultsOnTheirOwnArrays) {
  clsResearch engine;
  udtDJIDays = testsupport::LoadHistoryCsv(testsupport::FixturePath("AAPL_2018_2020.csv"), "^DJI");
  udtNASDAQDays = udtDJIDays;
  const DayRecords untouched = udtNASDAQDays;

  engine.CrunchMarketDJI();
  EXPECT_EQ(udtNASDAQDays[0].dblIndexRSI, untouched[0].dblIndexRSI);
  EXPECT_NE(udtDJIDays[0].dblIndexRSI, 0);
  EXPECT_TRUE(udtStockDays.empty());

  engine.CrunchMarketNASDAQ();
  for (size_t row = 0; row < udtDJIDays.size(); ++row) {
    ASSERT_EQ(udtDJIDays[row].dblIndexRSI, udtNASDAQDays[row].dblIndexRSI) << row;
    ASSERT_EQ(udtDJIDays[row].dblIndexPercentMA, udtNASDAQDays[row].dblIndexPercentMA) << row;
  }
}

TEST_F(CrunchMembersTest, IndexErrorsReachTheCaller) {
  clsResearch engine;
  Parms().intRSIDays = 25;
  udtDJIDays = testsupport::MakeCloses(60, [](long i) { return 9000.0 + static_cast<double>(i); });
  EXPECT_THROW(engine.CrunchMarketDJI(), rt::Error);
}

}  // namespace
