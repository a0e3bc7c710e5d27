// What the window's Winner handler hands to LogWinner; the values it binds
// store what the pasted text stored (stored_values_test.cpp).
#include <gtest/gtest.h>

#include "platform/db/db_error.h"
#include "platform/runtime/error.h"
#include "select_fixture.h"
#include "simulation/simulation_table.h"

namespace {

// The parameters from the acquire price on, as texts.
std::vector<std::string> Numbers(const db::BoundStatement& insert) {
  std::vector<std::string> out;
  for (size_t k = 4; k < insert.parameters.size(); ++k) out.push_back(insert.parameters[k].ToText());
  return out;
}

}  // namespace

TEST(WinnerInsertTest, TheDateIsADateForJetAndAShortDateTextForSqlServer) {
  clsStock s = SampleWinner();
  db::BoundStatement jet = simulation::WinnerInsertStatement(s, "sim_test", 1);
  ASSERT_EQ(jet.parameters.size(), 19u);
  EXPECT_EQ(jet.parameters[1].GetKind(), db::Value::Kind::Date);
  EXPECT_EQ(jet.parameters[1].ToDate(), testsupport::Day(2004, 1, 5));
  EXPECT_EQ(Numbers(jet), (std::vector<std::string>{"-1", "55", "12.5", "0.12", "-3", "20.5", "19.25", "123456", "50",
                                                    "-1.5", "80.1", "70", "3", "40", "-2"}));
  db::BoundStatement sqlServer = simulation::WinnerInsertStatement(s, "sim_test", 2);
  EXPECT_EQ(sqlServer.sql, jet.sql);
  EXPECT_EQ(sqlServer.parameters[1].GetKind(), db::Value::Kind::Text);
  EXPECT_EQ(sqlServer.parameters[1].ToText(), "1/5/2004");
  EXPECT_EQ(simulation::WinnerInsertStatement(s, "sim_test", 3).sql, "");
}

TEST(WinnerInsertTest, ShortWinnersStoreMirroredIndexValues) {
  clsStock s = SampleWinner();
  s.Positioning = "SHORT";
  simulation::IndexValuesShown shown = simulation::ShownIndexValues(s);
  EXPECT_EQ(shown.DJ_RSI, 30);
  EXPECT_EQ(shown.DJ_MA, -3);
  EXPECT_EQ(shown.NS_RSI, 60);
  EXPECT_EQ(shown.NS_MA, 2);
  std::vector<std::string> numbers = Numbers(simulation::WinnerInsertStatement(s, "sim_test", 1));
  EXPECT_EQ(std::vector<std::string>(numbers.end() - 4, numbers.end()),
            (std::vector<std::string>{"30", "-3", "60", "2"}));

  s.Positioning = "short";  // only the exact text mirrors
  EXPECT_EQ(simulation::ShownIndexValues(s).DJ_RSI, 70);

  s.Positioning = "SHORT";
  s.DJ_RSI = -32768;  // 100 - (-32768) leaves 16 bits
  EXPECT_THROW(simulation::ShownIndexValues(s), rt::Error);
}

TEST(WinnerInsertTest, AcquirePriceIsTheRoundedCloseOnlyOutsideASimulation) {
  clsStock s = SampleWinner();
  s.Simulation = 0;
  EXPECT_EQ(Numbers(simulation::WinnerInsertStatement(s, "sim_test", 1))[0], "25.12");
  s.Simulation = 1;
  s.PurchasePrice = 24.5;
  EXPECT_EQ(Numbers(simulation::WinnerInsertStatement(s, "sim_test", 1))[0], "24.5");
}

TEST(WinnerInsertTest, UnsafeTableNamesAreRefused) {
  clsStock s = SampleWinner();
  EXPECT_NE(simulation::WinnerInsertStatement(s, "sim_it's", 1).sql.find("INSERT INTO [sim_it's]"), std::string::npos);
  try {
    simulation::WinnerInsertStatement(s, "sim_a] ; DROP TABLE [x", 1);
    FAIL() << "an unsafe table name was accepted";
  } catch (const rt::Error& refused) {
    EXPECT_EQ(refused.Number(), db::kErrStatementFailed);
    EXPECT_NE(refused.Description().find("cannot be used as a table"), std::string::npos);
  }
}
