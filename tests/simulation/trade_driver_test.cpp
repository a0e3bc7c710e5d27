// The Trade driver over simulation tables and quote tables written by the
// tests: what each row stores, which rows stay reset, the events, Stop and
// Pause, and the aggregate results.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "market_data/database_connection.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"
#include "simulation/simulation_table.h"
#include "simulation/simulation_table_key.h"
#include "simulation/trade_walk_order.h"
#include "support/engine_test_bed.h"
#include "support/write_faults.h"
#include "trade_table.h"

using namespace tradetest;

namespace {

const std::string kTable = "sim_Trade";

class TradeEvents : public testsupport::RecordingEvents {
 public:
  using Key = std::tuple<double, std::string, std::string>;  // AcquireDate serial, Symbol, Positioning
  std::vector<std::pair<int32_t, int32_t>> progress;
  std::map<Key, double> gains;
  int winnerViews = 0;
  struct Totals {
    double average;
    int32_t shorts, longs, winners, losers;
    double a, b;
  };
  std::vector<Totals> totals;
  std::function<void(int32_t)> onProgress;

  void Progress(int32_t& count, int32_t& total) override {
    progress.emplace_back(count, total);
    if (onProgress) onProgress(count);
  }
  void UpdateWinnerView(rt::Date& acquireDate, std::string& symbol, std::string& positioning, double& gainLoss,
                        double&) override {
    ++winnerViews;
    gains[{acquireDate.Serial(), symbol, positioning}] = gainLoss;
  }
  void BuySellResults(double& average, int32_t& shorts, int32_t& longs, int32_t& winners, int32_t& losers, double& a,
                      double& b) override {
    totals.push_back({average, shorts, longs, winners, losers, a, b});
  }
};

class TradeDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunParameters& p = Parms();
    p.strSimTable = kTable;
    p.strSimEnd = "3/12/2004";
    p.intWinDays = 3;  // the ten stored days are more than enough look-back
    p.strTypeOfPurchase = "Market";
    p.intProfitable = 9;
    p.intDecline = 3;
    p.blnCalculateResults = true;
    bed_.Engine().SetListener(&events_);
    Engine().CreateSimulationTable(kTable);
    StoreQuotes(bed_.Engine(), "RI'SE", RisingBars());
    StoreQuotes(bed_.Engine(), "FALL", FallingBars());
  }

  clsResearch& Engine() { return bed_.Engine(); }
  TradeColumns Row(const char* date, const std::string& symbol, const std::string& side) {
    return ReadRow(kTable, date, symbol, side);
  }
  void ExpectReset(const TradeColumns& row) {
    EXPECT_EQ(row.acquirePrice, "-1");
    EXPECT_EQ(row.bought, "");
    EXPECT_EQ(row.gainLoss, "");
    EXPECT_EQ(row.releasePrice, "");
    EXPECT_EQ(row.releaseDate, "");
  }

  testsupport::EngineTestBed bed_;
  TradeEvents events_;
};

TEST_F(TradeDriverTest, EveryRowStoresItsFillReleaseAndGain) {
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  AddCandidate(Engine(), kTable, "3/1/2004", "FALL", "SHORT");
  Engine().BuildResults();

  // LONG: bought at 10.05 on 3/2, stopped out at 10.77 on 3/9, less the 1 %
  // sell buffer: 10.66; (10.66 - 10.05) / 10.05 = 6.07 %.
  TradeColumns up = Row("3/1/2004", "RI'SE", "LONG");
  EXPECT_EQ(up.acquirePrice, "10.05");
  EXPECT_EQ(up.bought, "B");
  EXPECT_EQ(up.releasePrice, "10.66");
  EXPECT_EQ(up.releaseDate, "3/9/2004");
  EXPECT_EQ(up.boughtDate, "3/2/2004");
  EXPECT_EQ(up.gainLoss, "6.07");
  EXPECT_EQ(up.maxPrice, "0");
  EXPECT_EQ(up.minPrice, "0");

  // SHORT: sold at 19.90 on 3/2, covered at 18.44 on 3/9 plus 1 %: 18.62;
  // (19.90 - 18.62) / 19.90 = 6.43 %.
  TradeColumns down = Row("3/1/2004", "FALL", "SHORT");
  EXPECT_EQ(down.acquirePrice, "19.9");
  EXPECT_EQ(down.bought, "B");
  EXPECT_EQ(down.releasePrice, "18.62");
  EXPECT_EQ(down.releaseDate, "3/9/2004");
  EXPECT_EQ(down.gainLoss, "6.43");
  EXPECT_EQ(Engine().RowsNotTraded(), 0);
}

// A Select killed before its end leaves the table without its key, without
// which every row's result would be looked for through the whole table.
TEST_F(TradeDriverTest, ATableLeftWithoutItsKeyGetsItBackBeforeTheRowsAreTradedOrReplayed) {
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  simulation::DropTableKey(SharedConnection(), kTable);
  ASSERT_EQ(simulation::KeyOf(SharedConnection(), kTable), simulation::TableKey::kNone);
  Engine().BuildResults();
  EXPECT_EQ(simulation::KeyOf(SharedConnection(), kTable), simulation::TableKey::kOwnIndex);
  EXPECT_EQ(Row("3/1/2004", "RI'SE", "LONG").gainLoss, "6.07");
  // An opened simulation whose trades stand goes straight to the replay.
  simulation::DropTableKey(SharedConnection(), kTable);
  double balance = 10000;
  Engine().SimResults(false, balance);
  EXPECT_EQ(simulation::KeyOf(SharedConnection(), kTable), simulation::TableKey::kOwnIndex);
}

TEST_F(TradeDriverTest, AnOrderThatNeverFillsIsStoredOnItsRowAsALoserOfZero) {
  // Stops 10 % away with a three-day life: neither fills by 3/4, and the row
  // records 3/5, the day after the order's life.
  Parms().strTypeOfPurchase = "Stop";
  Parms().intLimitPercent = 10;
  Parms().intLifeofOrder = 3;
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  AddCandidate(Engine(), kTable, "3/1/2004", "FALL", "SHORT");
  Engine().BuildResults();

  for (auto [symbol, side] : {std::pair{"RI'SE", "LONG"}, std::pair{"FALL", "SHORT"}}) {
    TradeColumns row = Row("3/1/2004", symbol, side);
    EXPECT_EQ(row.acquirePrice, "0") << symbol;
    EXPECT_EQ(row.bought, "3/5/2004") << symbol;
    EXPECT_EQ(row.releasePrice, "0") << symbol;
    EXPECT_EQ(row.gainLoss, "0") << symbol;
    EXPECT_EQ(row.releaseDate, "12:00:00 AM") << symbol;  // the zero date
  }
  Engine().BuySellResults();
  ASSERT_EQ(events_.totals.size(), 1u);
  EXPECT_EQ(events_.totals[0].losers, 2);
}

TEST_F(TradeDriverTest, APositionNeverReleasedStandsWhereItsWalkEnded) {
  // A 50 % stop and a 50 % profit level: the walk runs out on the newest day.
  Parms().intInitStopPercent = 50;
  Parms().intProfitable = 50;
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  Engine().BuildResults();
  TradeColumns row = Row("3/1/2004", "RI'SE", "LONG");
  EXPECT_EQ(row.acquirePrice, "10.05");
  EXPECT_EQ(row.bought, "3/12/2004");
  EXPECT_EQ(row.releasePrice, "0");
  EXPECT_EQ(row.releaseDate, "12:00:00 AM");
  EXPECT_EQ(row.gainLoss, "0");

  // Without a stop rule there is no walk: the position stands on its fill day.
  Parms().strPriceUpdate = "No rule";
  Engine().BuildResults();
  row = Row("3/1/2004", "RI'SE", "LONG");
  EXPECT_EQ(row.bought, "3/2/2004");
  EXPECT_EQ(row.gainLoss, "0");
}

TEST_F(TradeDriverTest, RowsThatCannotBeTradedStayResetAndAreCounted) {
  StoreQuotes(Engine(), "SHORTH", {{"3/10/2004", 10, 10, 10, 10}, {"3/11/2004", 10, 10, 10, 10}});
  AddCandidate(Engine(), kTable, "3/10/2004", "SHORTH", "LONG");  // two stored days: not enough data
  AddCandidate(Engine(), kTable, "3/11/2004", "SHORTH", "SHORT");
  AddCandidate(Engine(), kTable, "3/1/2004", "NOTABLE", "LONG");  // no quote table at all
  AddCandidate(Engine(), kTable, "3/12/2004", "RI'SE", "LONG");   // signal on the newest day: no next Open
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");    // fine
  StoreQuotes(Engine(), "INF", RisingBars());
  bed_.Execute("UPDATE [INF] SET [Open] = 9e999 WHERE DamnDate = #3/2/2004#");
  AddCandidate(Engine(), kTable, "3/1/2004", "INF", "LONG");  // fills at an Open whose text is no number
  bed_.Execute("UPDATE [" + kTable + "] SET BoughtDate = #1/2/2003#");
  Engine().BuildResults();

  ExpectReset(Row("3/10/2004", "SHORTH", "LONG"));
  ExpectReset(Row("3/1/2004", "NOTABLE", "LONG"));
  ExpectReset(Row("3/1/2004", "INF", "LONG"));
  TradeColumns newest = Row("3/12/2004", "RI'SE", "LONG");
  ExpectReset(newest);
  EXPECT_EQ(newest.boughtDate, "1/2/2003");  // BoughtDate is not part of the reset
  EXPECT_EQ(Row("3/1/2004", "RI'SE", "LONG").gainLoss, "6.07");
  EXPECT_EQ(Engine().RowsNotTraded(), 5);
  EXPECT_EQ(Engine().RowsNotTradedSummary(),
            "4 rows (NOTABLE 3/1/2004 LONG, SHORTH 3/10/2004 LONG, SHORTH 3/11/2004 SHORT and 1 more) could not be "
            "traded: not "
            "enough stored history after the signal day. A later period end, or a Select run with Update Data "
            "ticked, stores the days they need. 1 row (INF 3/1/2004 LONG) could not be traded: its stored history "
            "holds a value that is not a price.");
  EXPECT_TRUE(bed_.User().Prompts().empty());
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM [NOTABLE]"), "0");  // created on the way, as LoadData does
}

TEST_F(TradeDriverTest, EventsNameEachRowByItsKey) {
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  AddCandidate(Engine(), kTable, "3/1/2004", "FALL", "SHORT");
  AddCandidate(Engine(), kTable, "3/2/2004", "FALL", "LONG");
  Engine().BuildResults();

  ASSERT_EQ(events_.progress.size(), 3u);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(events_.progress[i], std::make_pair(i + 1, 3));
  ASSERT_EQ(events_.gains.size(), 3u);
  double signal = rt::CDate("3/1/2004").Serial();
  EXPECT_DOUBLE_EQ((events_.gains[{signal, "RI'SE", "LONG"}]), 6.07);
  EXPECT_DOUBLE_EQ((events_.gains[{signal, "FALL", "SHORT"}]), 6.43);
  double stored = rt::CDbl(Row("3/2/2004", "FALL", "LONG").gainLoss);
  EXPECT_DOUBLE_EQ((events_.gains[{rt::CDate("3/2/2004").Serial(), "FALL", "LONG"}]), stored);

  Parms().blnCalculateResults = false;
  events_.winnerViews = 0;
  Engine().BuildResults();
  EXPECT_EQ(events_.winnerViews, 0);
}

TEST_F(TradeDriverTest, TheStageHoldsNoMoreHistoriesThanAPassHasSymbols) {
  // Every symbol's rows on the same two days: walked through the table in
  // one go, every history would be needed until the last day.
  std::vector<std::string> symbols;
  for (size_t k = 0; k < trade::kSymbolsPerPass + 2; ++k) {
    std::string& symbol = symbols.emplace_back("S");
    symbol += std::to_string(k);
    StoreQuotes(Engine(), symbol, RisingBars());
  }
  for (const char* date : {"3/1/2004", "3/2/2004"})
    for (const std::string& symbol : symbols) AddCandidate(Engine(), kTable, date, symbol, "LONG");
  size_t mostHeld = 0;
  events_.onProgress = [&](int32_t) { mostHeld = std::max(mostHeld, Engine().HistoriesHeld()); };
  Engine().BuildResults();
  EXPECT_EQ(events_.progress.size(), 2 * symbols.size());
  EXPECT_EQ(mostHeld, trade::kSymbolsPerPass);
  EXPECT_EQ(Engine().RowsNotTraded(), 0);
}

TEST_F(TradeDriverTest, StopEndsTheRunBetweenRowsAndPauseDoesNot) {
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  AddCandidate(Engine(), kTable, "3/1/2004", "FALL", "SHORT");
  AddCandidate(Engine(), kTable, "3/2/2004", "FALL", "LONG");
  auto tradedRows = [&] { return bed_.Scalar("SELECT COUNT(*) FROM [" + kTable + "] WHERE AcquirePrice <> -1"); };

  events_.onProgress = [&](int32_t count) {
    if (count == 1) Engine().StopProcess(true);
  };
  Engine().BuildResults();
  EXPECT_EQ(tradedRows(), "1");
  EXPECT_EQ(events_.progress.size(), 1u);

  Engine().StopProcess(false);
  events_.onProgress = [&](int32_t count) {
    if (count == 1) Engine().PauseProcess(true);
  };
  Engine().BuildResults();
  EXPECT_EQ(tradedRows(), "3");
}

TEST_F(TradeDriverTest, AFailedWriteIsReportedAndTheRowStaysReset) {
  AddCandidate(Engine(), kTable, "3/1/2004", "RI'SE", "LONG");
  RisingSeries();
  clsResearch::TradePosition& trade = Engine().TradeState();
  trade.strSymbol = "RI'SE";
  trade.strPositioning = "LONG";
  trade.datAcquireDate = rt::CDate("3/1/2004");
  trade.dblAcquirePrice = 10.05;
  trade.dblReleasePrice = 10.66;
  Parms().intDatabaseType = 3;  // no statement for this kind
  bed_.User().AnswerMsgBox(user::kAnswerOK, "Unable to update simulation table.");
  Engine().LogResults(true);
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
  EXPECT_EQ(SharedConnection().TransactionLevel(), 0);
  EXPECT_EQ(Row("3/1/2004", "RI'SE", "LONG").acquirePrice, "-1");
}

TEST_F(TradeDriverTest, ALastingWriteFailureEndsTheStageOnceWithItsCause) {
  using testsupport::WriteFault;
  for (const char* date : {"3/1/2004", "3/2/2004", "3/3/2004"}) AddCandidate(Engine(), kTable, date, "RI'SE", "LONG");
  for (WriteFault kind : {WriteFault::kReadOnly, WriteFault::kLockHeld}) {
    testsupport::InjectedWriteFault fault(kind);
    SCOPED_TRACE(fault.Name());
    events_.progress.clear();
    events_.onProgress = [&](int32_t) { fault.Apply(); };  // after the reset, before the first row
    bed_.User().AnswerMsgBox(user::kAnswerOK, "Unable to update simulation table.\r\nThe database file");
    Engine().BuildResults();
    EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
    EXPECT_TRUE(bed_.User().UnscriptedPrompts().empty());
    EXPECT_NE(Engine().WriteFailure().find(fault.Cause()), std::string::npos) << Engine().WriteFailure();
    EXPECT_EQ(events_.progress.size(), 1u);  // no row after the failed one
    EXPECT_EQ(Engine().RowsNotTraded(), 1);
    EXPECT_TRUE(Engine().StopProcess());
    Engine().StopProcess(false);
  }
  events_.onProgress = nullptr;
  Engine().BuildResults();
  EXPECT_TRUE(Engine().WriteFailure().empty());
  EXPECT_EQ(Row("3/3/2004", "RI'SE", "LONG").bought, "B");
}

// Another program (its own connection to the database) removes the table or
// creates it anew under the stage: the rows it read are no longer there to
// update, and the stage ends with the cause instead of passing them over.
TEST_F(TradeDriverTest, ATableRemovedOrReplacedUnderTheStageEndsItWithItsCause) {
  const std::string replace = "CREATE TABLE [" + kTable + "] (" + simulation::kSimulationColumns +
                              ",CONSTRAINT [PK] PRIMARY KEY ([AcquireDate], [Symbol], [Positioning]))";
  for (bool replaced : {false, true}) {
    SCOPED_TRACE(replaced ? "replaced" : "removed");
    ASSERT_TRUE(Engine().CreateSimulationTable(kTable));
    for (const char* date : {"3/1/2004", "3/2/2004"}) AddCandidate(Engine(), kTable, date, "RI'SE", "LONG");
    events_.progress.clear();
    events_.onProgress = [&](int32_t count) {
      if (count != 1) return;
      db::Connection other;
      other.Open(SharedConnection().Path());
      other.Execute("DROP TABLE [" + kTable + "]");
      if (replaced) other.Execute(replace);
    };
    bed_.User().AnswerMsgBox(user::kAnswerOK, "Unable to update simulation table.\r\n");
    Engine().BuildResults();
    EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
    EXPECT_TRUE(bed_.User().UnscriptedPrompts().empty());
    EXPECT_NE(Engine().WriteFailure().find(kTable), std::string::npos) << Engine().WriteFailure();
    EXPECT_EQ(Engine().LastStageEnd(), clsResearch::StageEnd::kFailed);
    EXPECT_EQ(events_.progress.size(), 1u);
    Engine().StopProcess(false);
  }
  events_.onProgress = nullptr;
}

TEST_F(TradeDriverTest, ResultsAverageAndCountOnlyTradedRows) {
  auto add = [&](const char* date, const char* side, const char* gain) {
    AddCandidate(Engine(), kTable, date, "X", side);
    bed_.Execute("UPDATE [" + kTable + "] SET GainLoss = " + gain + " WHERE AcquireDate = #" + date +
                 "# AND Positioning = '" + side + "'");
  };
  add("3/1/2004", "LONG", "3.7");
  add("3/2/2004", "LONG", "-1.25");
  add("3/3/2004", "SHORT", "0");
  add("3/4/2004", "SHORT", "NULL");
  add("3/5/2004", "LONG", "NULL");
  Engine().BuySellResults();
  ASSERT_EQ(events_.totals.size(), 1u);
  const TradeEvents::Totals& t = events_.totals[0];
  EXPECT_DOUBLE_EQ(t.average, 0.82);  // (3.7 - 1.25 + 0) / 3, the NULL rows left out
  EXPECT_EQ(t.shorts, 2);
  EXPECT_EQ(t.longs, 3);
  EXPECT_EQ(t.winners, 1);
  EXPECT_EQ(t.losers, 2);
  EXPECT_EQ(t.a, 0);
  EXPECT_EQ(t.b, 0);
}

TEST_F(TradeDriverTest, AnEmptyTableRaisesNoEvents) {
  Engine().BuildResults();
  EXPECT_TRUE(events_.progress.empty());
  Engine().BuySellResults();  // the average of no rows is Null
  EXPECT_TRUE(events_.totals.empty());
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

}  // namespace
