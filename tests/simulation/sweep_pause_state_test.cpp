// The pause row of a sweep in SimStatus: the two store layouts, insert then
// update, the read-back, and stores that fail without telling the caller.
#include <gtest/gtest.h>

#include "market_data/database_connection.h"
#include "market_data/schema.h"
#include "platform/runtime/error.h"
#include "support/engine_test_bed.h"

namespace {

class PauseStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.Engine().CreateTable_Master();
    Parms().strSimTable = "sim_One";
  }

  // The 24 slots of the current simulation's row as stored.
  std::vector<std::string> Row() {
    std::vector<std::string> values;
    bed.Engine().RetrievePauseCriteria(values);
    return values;
  }
  std::string Rows() { return bed.Scalar("SELECT COUNT(*) FROM [SimStatus]"); }
  void Store(std::vector<std::string> values, bool isTrade) { bed.Engine().StorePauseCriteria(values, isTrade); }

  testsupport::EngineTestBed bed;
};

std::vector<std::string> Slots(std::initializer_list<std::pair<int, const char*>> set) {
  std::vector<std::string> slots(24, "0");
  for (const auto& [slot, text] : set) slots[slot] = text;
  return slots;
}

TEST_F(PauseStateTest, TradeStoresInsertOnceThenUpdate) {
  EXPECT_EQ(Row(), std::vector<std::string>(24, ""));  // no row yet
  Store({"1", "2.5", "0", "3", "4", "5", "6", "7", "9"}, true);
  EXPECT_EQ(Row(), Slots({{0, "1"}, {1, "2.5"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}, {8, "9"}}));
  Store({"2", "1", "0", "0", "0", "0", "0", "0", "10"}, true);
  EXPECT_EQ(Rows(), "1");
  EXPECT_EQ(Row(), Slots({{0, "2"}, {1, "1"}, {8, "10"}}));
}

TEST_F(PauseStateTest, EachLayoutClearsTheOtherSweepsSlots) {
  std::vector<std::string> portfolio = {"3", "1", "0", "-2.5", "0", "0", "0", "0", "0", "0", "0", "0", "7", "1", "40"};
  // A first portfolio store inserts: the ranking choice is not copied.
  Store(portfolio, false);
  EXPECT_EQ(Row(), Slots({{9, "3"}, {10, "1"}, {12, "-2.5"}, {21, "7"}, {22, "1"}, {23, "40"}}));
  // An update keeps the ranking choice in TradePause0 too.
  Store(portfolio, false);
  EXPECT_EQ(Row(), Slots({{0, "3"}, {9, "3"}, {10, "1"}, {12, "-2.5"}, {21, "7"}, {22, "1"}, {23, "40"}}));

  Store({"1", "2", "0", "3", "4", "5", "6", "7", "9"}, true);
  EXPECT_EQ(Row(), Slots({{0, "1"}, {1, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}, {8, "9"}}));
  Store(std::vector<std::string>(15, "0"), false);
  EXPECT_EQ(Row(), Slots({}));
  EXPECT_EQ(Rows(), "1");
}

TEST_F(PauseStateTest, EachSimulationHasItsOwnRowAndValuesComeBackExactly) {
  Store({"0.30000000000000004", "0", "0", "0", "0", "0", "0", "0", "1"}, true);
  // A name with an apostrophe is a name like any other.
  Parms().strSimTable = "sim_O'Brien";
  Store({"0.1", "0", "0", "0", "0", "0", "0", "0", "2"}, true);
  EXPECT_EQ(Row()[0], "0.1");
  EXPECT_EQ(Rows(), "2");
  Parms().strSimTable = "SIM_ONE";  // keys compare without case, as Jet's do
  EXPECT_EQ(Row()[0], "0.30000000000000004");
  EXPECT_EQ(Row()[8], "1");
}

TEST_F(PauseStateTest, AStoreThatCannotRunLeavesTheRowAndTellsNoOne) {
  Store({"1", "0", "0", "0", "0", "0", "0", "0", "4"}, true);
  const std::vector<std::string> before = Row();
  // A value that is not a number is never pasted into the statement.
  Store({"1, TradePause1 = 99", "0", "0", "0", "0", "0", "0", "0", "5"}, true);
  Store({"1", "2"}, true);  // too few values
  Store({"", "0", "0", "0", "0", "0", "0", "0", "5"}, true);
  EXPECT_EQ(Row(), before);
  EXPECT_EQ(SharedConnection().TransactionLevel(), 0);
  EXPECT_TRUE(bed.User().Prompts().empty());
}

TEST_F(PauseStateTest, WithoutSimStatusNothingIsReadAndTheFirstStoreCreatesIt) {
  bed.Execute("drop table [SimStatus]");
  std::vector<std::string> values = {"left over"};
  bed.Engine().RetrievePauseCriteria(values);
  EXPECT_EQ(values, std::vector<std::string>(24, ""));
  Store({"1", "0", "0", "0", "0", "0", "0", "0", "4"}, true);
  EXPECT_EQ(SharedConnection().TransactionLevel(), 0);
  EXPECT_EQ(Row()[8], "4");
  EXPECT_TRUE(bed.User().Prompts().empty());
}

TEST_F(PauseStateTest, WithoutAConnectionOnlyTheFailedRollbackReachesTheCaller) {
  cnDatabase->Close();
  EXPECT_THROW(Store({"1", "0", "0", "0", "0", "0", "0", "0", "4"}, true), rt::Error);
  std::vector<std::string> values;
  EXPECT_NO_THROW(bed.Engine().RetrievePauseCriteria(values));
  EXPECT_EQ(values, std::vector<std::string>(24, ""));
}

}  // namespace
