#include <gtest/gtest.h>

#include "platform/db/db_error.h"
#include "platform/runtime/error.h"
#include "select_fixture.h"
#include "simulation/simulation_table.h"

namespace {

const char* kColumns =
    "INSERT INTO [sim_test] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD "
    ",PercentMA, MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], [NS_RSI], "
    "[NS_MA]) ";

}  // namespace

TEST(WinnerInsertTest, JetAndSqlServerDifferOnlyInTheDateLiteral) {
  clsStock s = SampleWinner();
  EXPECT_EQ(simulation::WinnerInsertStatement(s, "sim_test", 1),
            std::string(kColumns) +
                "VALUES ('ny', #1/5/2004#, 'IBM', 'LONG', -1, 55, 12.5, 0.12, -3, 20.5, 19.25, 123456, 50, -1.5, "
                "80.1, 70, 3, 40, -2)");
  EXPECT_EQ(simulation::WinnerInsertStatement(s, "sim_test", 2),
            std::string(kColumns) +
                "VALUES ('ny', '1/5/2004', 'IBM', 'LONG', -1, 55, 12.5, 0.12, -3, 20.5, 19.25, 123456, 50, -1.5, "
                "80.1, 70, 3, 40, -2)");
  EXPECT_EQ(simulation::WinnerInsertStatement(s, "sim_test", 3), "");
}

TEST(WinnerInsertTest, ShortWinnersStoreMirroredIndexValues) {
  clsStock s = SampleWinner();
  s.Positioning = "SHORT";
  simulation::IndexValuesShown shown = simulation::ShownIndexValues(s);
  EXPECT_EQ(shown.DJ_RSI, 30);
  EXPECT_EQ(shown.DJ_MA, -3);
  EXPECT_EQ(shown.NS_RSI, 60);
  EXPECT_EQ(shown.NS_MA, 2);
  std::string sql = simulation::WinnerInsertStatement(s, "sim_test", 1);
  EXPECT_NE(sql.find("80.1, 30, -3, 60, 2)"), std::string::npos) << sql;

  s.Positioning = "short";  // only the exact text mirrors
  EXPECT_EQ(simulation::ShownIndexValues(s).DJ_RSI, 70);

  s.Positioning = "SHORT";
  s.DJ_RSI = -32768;  // 100 - (-32768) leaves 16 bits
  EXPECT_THROW(simulation::ShownIndexValues(s), rt::Error);
}

TEST(WinnerInsertTest, AcquirePriceIsTheRoundedCloseOnlyOutsideASimulation) {
  clsStock s = SampleWinner();
  s.Simulation = 0;
  EXPECT_NE(simulation::WinnerInsertStatement(s, "sim_test", 1).find("'LONG', 25.12, 55,"), std::string::npos);
  s.Simulation = 1;
  s.PurchasePrice = 24.5;
  EXPECT_NE(simulation::WinnerInsertStatement(s, "sim_test", 1).find("'LONG', 24.5, 55,"), std::string::npos);
}

TEST(WinnerInsertTest, TextsAreQuotedAndUnsafeTableNamesRefused) {
  clsStock s = SampleWinner();
  s.Symbol = "O'X";
  s.Market = "n'y";
  std::string sql = simulation::WinnerInsertStatement(s, "sim_it's", 1);
  EXPECT_NE(sql.find("INSERT INTO [sim_it's]"), std::string::npos);
  EXPECT_NE(sql.find("VALUES ('n''y', #1/5/2004#, 'O''X', 'LONG', "), std::string::npos) << sql;

  try {
    simulation::WinnerInsertStatement(s, "sim_a] ; DROP TABLE [x", 1);
    FAIL() << "an unsafe table name was accepted";
  } catch (const rt::Error& refused) {
    EXPECT_EQ(refused.Number(), db::kErrStatementFailed);
    EXPECT_NE(refused.Description().find("cannot be used as a table"), std::string::npos);
  }
}
