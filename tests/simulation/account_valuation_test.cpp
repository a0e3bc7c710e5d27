#include <gtest/gtest.h>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/user/scripted_user_services.h"
#include "support/temp_app_folder.h"

namespace {

class AccountValuationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms() = RunParameters::DesignDefaults();
    engine_ = std::make_unique<clsResearch>();
    cn().Execute("CREATE TABLE AccountInfo (Balance DOUBLE)");
    cn().Execute("CREATE TABLE Portfolio (Symbol TEXT, Positioning TEXT, Shares DOUBLE, AcquirePrice DOUBLE, "
                 "ReleasePrice DOUBLE)");
  }
  db::Connection& cn() { return SharedConnection(); }
  // A quote table whose newest close is `close` (an older day closes at 99).
  void Quotes(const std::string& symbol, double close) {
    engine_->CreateTable(symbol);
    cn().Execute("INSERT INTO [" + symbol +
                 "] (DamnDate, [Open], High, Low, [Close], Adj_Close, Volume) VALUES (#3/1/2004#, 1, 1, 1, 99, 99, 1)");
    cn().Execute("INSERT INTO [" + symbol +
                 "] (DamnDate, [Open], High, Low, [Close], Adj_Close, Volume) VALUES (#3/2/2004#, 1, 1, 1, " +
                 std::to_string(close) + ", 1, 1)");
  }

  testsupport::TempAppFolder folder_;
  user::ScopedScriptedUser user_;
  std::unique_ptr<clsResearch> engine_;
};

TEST_F(AccountValuationTest, CashIsTheFirstBalanceOrZero) {
  EXPECT_EQ(engine_->GetCashBalance(), 0);
  cn().Execute("INSERT INTO AccountInfo (Balance) VALUES (2500.5)");
  EXPECT_EQ(engine_->GetCashBalance(), 2500.5);
  cn().Execute("DELETE FROM AccountInfo");
  cn().Execute("INSERT INTO AccountInfo (Balance) VALUES (NULL)");
  EXPECT_THROW(engine_->GetCashBalance(), rt::Error);
}

TEST_F(AccountValuationTest, OpenPositionsAtTheirLatestClose) {
  Quotes("LNG", 18);
  Quotes("BRK.B", 18);
  Quotes("EMPTY", 1);
  cn().Execute("DELETE FROM [EMPTY]");
  cn().Execute("INSERT INTO Portfolio VALUES ('LNG', 'LONG', 100, 15, NULL)");     // 1800
  cn().Execute("INSERT INTO Portfolio VALUES ('BRK.B', 'SHORT', 100, 20, NULL)");  // 100 x (40 - 18) = 2200
  cn().Execute("INSERT INTO Portfolio VALUES ('LNG', 'LONG', 500, 15, 17)");       // released: not valued
  cn().Execute("INSERT INTO Portfolio VALUES ('EMPTY', 'LONG', 100, 15, NULL)");   // no quotes: adds nothing
  EXPECT_EQ(engine_->GetStockBalance(), 4000);
}

TEST_F(AccountValuationTest, ErrorsReachTheCallerWithTheirNumber) {
  cn().Execute("INSERT INTO Portfolio VALUES ('NOPE', 'LONG', 100, 15, NULL)");
  try {
    engine_->GetStockBalance();
    FAIL() << "expected an error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), db::kErrTableMissing);
  }
  cn().Execute("DROP TABLE AccountInfo");
  EXPECT_THROW(engine_->GetCashBalance(), rt::Error);
}

}  // namespace
