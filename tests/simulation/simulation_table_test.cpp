#include "simulation/simulation_table.h"

#include <gtest/gtest.h>

#include "market_data/database_connection.h"
#include "platform/db/db_error.h"
#include "select_fixture.h"

namespace {

class SimulationTableTest : public SelectRulesTest {
 protected:
  void SetUp() override {
    SelectRulesTest::SetUp();
    Parms().strSimTable = "sim_test";
    engine.CreateSimulationTable("sim_test");
  }

  void Store(const clsStock& s) { engine.LogWinner(simulation::WinnerInsertStatement(s, "sim_test", 1)); }

  std::string Scalar(const std::string& sql) {
    db::Recordset rows = SharedConnection().OpenRecordset(sql);
    return rows.Field(0).ToText();
  }
};

}  // namespace

TEST_F(SimulationTableTest, WinnersRoundTripInSymbolSideAndDayOrder) {
  rt::Date jan5 = testsupport::Day(2004, 1, 5);
  Store(SampleWinner("MSFT", "LONG", jan5));
  Store(SampleWinner("IBM", "SHORT", jan5));
  Store(SampleWinner("IBM", "LONG", jan5 + 1));
  Store(SampleWinner("IBM", "LONG", rt::Date()));  // the zero date is a day like any other
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "4");
  EXPECT_EQ(Scalar("SELECT AcquirePrice FROM [sim_test] WHERE Symbol = 'MSFT'"), "-1");

  engine.LoadWinners();
  ASSERT_EQ(events.winners.size(), 4u);
  for (bool store : events.winnerStored) EXPECT_FALSE(store);
  const clsStock& zero = events.winners[0];
  EXPECT_EQ(zero.Symbol, "IBM");
  EXPECT_EQ(zero.Positioning, "LONG");
  EXPECT_TRUE(zero.AcquireDate.IsZero());
  EXPECT_EQ(events.winners[1].AcquireDate, jan5 + 1);
  EXPECT_EQ(events.winners[2].Positioning, "SHORT");
  EXPECT_EQ(events.winners[3].Symbol, "MSFT");

  const clsStock& longOne = events.winners[1];
  EXPECT_EQ(longOne.Market, "ny");
  EXPECT_DOUBLE_EQ(longOne.ClosePrice, -1);  // the acquire price column
  EXPECT_EQ(longOne.RSI, 55);
  EXPECT_FLOAT_EQ(longOne.RSIChange, 12.5f);
  EXPECT_DOUBLE_EQ(longOne.MACDFastLine, 0.12);
  EXPECT_EQ(longOne.PercentMA, -3);
  EXPECT_EQ(longOne.Volume, 123456);
  EXPECT_DOUBLE_EQ(longOne.VolumeChange, 50);
  EXPECT_DOUBLE_EQ(longOne.PriceChange, -1.5);
  EXPECT_FLOAT_EQ(longOne.BBDistance, 80.1f);
  EXPECT_EQ(longOne.DJ_RSI, 70);
  EXPECT_EQ(longOne.NS_MA, -2);
  EXPECT_DOUBLE_EQ(longOne.GainLoss, 0);    // Null until the Trade stage
  EXPECT_EQ(events.winners[2].DJ_RSI, 30);  // stored mirrored for a short
  EXPECT_TRUE(user.MessageTexts().empty());
}

TEST_F(SimulationTableTest, DuplicateKeyKeepsTheFirstRowAndLosesNoLaterWinner) {
  rt::Date jan5 = testsupport::Day(2004, 1, 5);
  clsStock first = SampleWinner("IBM", "LONG", jan5);
  Store(first);
  clsStock again = first;
  again.Symbol = "ibm";  // keys compare without case
  again.RSI = 99;
  user.AnswerMsgBox(user::kAnswerOK, "duplicate values");
  Store(again);
  Store(SampleWinner("IBM", "SHORT", jan5));
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "2");
  EXPECT_EQ(Scalar("SELECT RSI FROM [sim_test] WHERE Positioning = 'LONG'"), "55");
  EXPECT_EQ(SharedConnection().TransactionLevel(), 0);

  // A statement that fails is rolled back without a word.
  engine.LogWinner({"INSERT INTO [sim_test] (NoSuchColumn) VALUES (?)", {db::Value(int64_t{1})}});
  Store(SampleWinner("MSFT", "LONG", jan5));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "3");
  EXPECT_EQ(SharedConnection().TransactionLevel(), 0);
}

TEST_F(SimulationTableTest, CreatingAgainEmptiesAndClearSimPortDeletesEveryRow) {
  rt::Date jan5 = testsupport::Day(2004, 1, 5);
  Store(SampleWinner("IBM", "LONG", jan5));
  engine.CreateSimulationTable("sim_test");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "0");

  Store(SampleWinner("IBM", "LONG", jan5));
  engine.ClearSimPort();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "0");
  engine.LoadWinners();  // an empty table: no event, no message
  EXPECT_TRUE(events.winners.empty());

  Parms().strSimTable = "sim_missing";
  EXPECT_THROW(engine.ClearSimPort(), rt::Error);
  user.AnswerMsgBox(user::kAnswerOK, "An error occurred loading simulation results.");
  engine.LoadWinners();
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(user.Prompts().back().title, "Kestrovane");
  EXPECT_EQ(user.Prompts().back().style, user::kInformation);
}

TEST_F(SimulationTableTest, OtherDatabaseKindsAndUnsafeNamesTouchNothing) {
  rt::Date jan5 = testsupport::Day(2004, 1, 5);
  Store(SampleWinner("IBM", "LONG", jan5));
  Parms().intDatabaseType = 2;
  engine.CreateSimulationTable("sim_test");  // refused later, once, by the Select run
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "1");

  Parms().intDatabaseType = 1;
  user.AnswerMsgBox(user::kAnswerOK, "cannot be used as a table");
  engine.CreateSimulationTable("sim_x]; DROP TABLE [sim_test");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_test]"), "1");
}

TEST_F(SimulationTableTest, ANameThatIsNotASimulationTableIsRefusedAndKept) {
  engine.CreateTable_Master();
  SharedConnection().Execute("INSERT INTO [Stock_Master] ([Symbol], [Market]) VALUES ('IBM', 'ny')");
  engine.CreateTable("IBM");
  SharedConnection().Execute("INSERT INTO [IBM] ([DamnDate], [Close]) VALUES (#1/5/2004#, 10)");
  for (const char* name : {"Stock_Master", "IBM", "Sim_other", "xsim_test"}) {
    user.AnswerMsgBox(user::kAnswerOK, std::string("The table '") + name + "' is not a simulation table");
    engine.CreateSimulationTable(name);
    EXPECT_EQ(user.PendingAnswers(), 0u) << name;
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [Stock_Master]"), "1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM]"), "1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name LIKE '%other' OR name = 'xsim_test'"), "0");
}
