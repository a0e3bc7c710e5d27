#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/number_text.h"
#include "platform/user/scripted_user_services.h"
#include "simulation/engine_reports.h"
#include "simulation/portfolio_records.h"
#include "simulation/portfolio_replay_candidates.h"
#include "simulation_table_rows.h"
#include "support/temp_app_folder.h"
#include "support/write_faults.h"

namespace {

using simtest::Row;

struct ResultsEvent {
  double averageReturn, averageHold;
  int16_t shorts, longs, winners, losers;
  double balance;
  int32_t startBalance;
};

// Records what the replay reports, one line per UpdateDisplay event.
class Recorder : public ResearchEvents {
 public:
  void Progress2(int32_t& day, int32_t& total) override {
    progress.push_back(std::to_string(day) + "/" + std::to_string(total));
    if (onProgress) onProgress(day);
  }
  void UpdateDisplay(clsStock& s, bool& done) override {
    if (done) {
      display.push_back("--");
      return;
    }
    display.push_back(rt::FormatDate(s.CurrentDate) + " " + s.Symbol + " " + std::to_string(s.SharesPurchased) + " " +
                      rt::FormatNumber(s.AmountPurchased));
  }
  void Results(double& ret, double& hold, int16_t& shorts, int16_t& longs, int16_t& winners, int16_t& losers,
               double& balance, int32_t& start) override {
    results.push_back({ret, hold, shorts, longs, winners, losers, balance, start});
  }

  std::vector<std::string> progress;
  std::vector<std::string> display;
  std::vector<ResultsEvent> results;
  std::function<void(int32_t)> onProgress;
};

class PortfolioReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms() = RunParameters::DesignDefaults();
    engine_ = std::make_unique<clsResearch>();
    engine_->SetListener(&events_);
    RunParameters& p = Parms();
    p.strSimTable = "sim_Hand";
    p.strSimEnd = "3/14/2004";
    p.intMaxStocks = 2;
    p.intBuyPerDay = 1;
    p.dblCommission = 10;
    p.intBuyCriteria = 0;                   // smallest PercentMA first
    p.blnDJMA = true, p.strDJMAMin = "-2";  // applied per market, not in the statement
    p.blnCalculateResults = true;
    engine_->CreateSimulationTable("sim_Hand");
  }

  // Two weeks of March 2004 worked out on paper: see HandWorkedReplay.
  void FillHandWorkedTable() {
    auto add = [](Row r) { simtest::Insert("sim_Hand", r); };
    // 3/1: B is illiquid (99.8 shares against 0.5 % of 10000), C is vetoed by
    // the Dow range (an "ny" row at DJ_MA -3), A is bought, D misses the cap.
    add({"#3/1/2004#", "BBB", "ns", "LONG", 50, -7, 10000, "'B'", "#3/2/2004#", "#3/4/2004#", "51", "2"});
    add({"#3/1/2004#", "CCC", "ny", "SHORT", 30, -6, 1000000, "'B'", "#3/2/2004#", "#3/4/2004#", "29", "3.33", -3});
    add({"#3/1/2004#", "AAA", "ny", "LONG", 20, -5, 1000000, "'B'", "#3/2/2004#", "#3/5/2004#", "22", "10"});
    add({"#3/1/2004#", "DDD", "am", "LONG", 10, -2, 1000000, "'B'", "#3/2/2004#", "#3/3/2004#", "11", "10"});
    // 3/2: a NASDAQ row is not judged by the Dow range.
    add({"#3/2/2004#", "EEE", "ns", "SHORT", 40, 3, 500000, "'B'", "#3/3/2004#", "#3/8/2004#", "42", "-5", -10});
    // 3/3: both slots are taken on 3/4, so F is never looked at.
    add({"#3/3/2004#", "FFF", "ny", "LONG", 25, 1, 1000000, "'B'", "#3/4/2004#", "#3/5/2004#", "26", "4"});
    // 3/5: U never filled (price 0), Z was never traded (price -1); G is
    // still open (Bought holds the last day the Trade stage saw), H misses the cap.
    add({"#3/5/2004#", "UUU", "ny", "LONG", 0, -10, 1000000, "'3/8/2004'", "#12:00:00 AM#", "#12:00:00 AM#", "0", "0"});
    add({"#3/5/2004#", "ZZZ", "ny", "LONG", -1, -20, 1000000});
    add({"#3/5/2004#", "GGG", "ny", "LONG", 40, 0, 2000000, "'3/10/2004'", "#3/6/2004#", "#12:00:00 AM#", "0", "0"});
    add({"#3/5/2004#", "HHH", "ny", "LONG", 20, 2, 1000000, "'B'", "#3/6/2004#", "#3/7/2004#", "21", "5"});
    add({"#3/8/2004#", "III", "ns", "LONG", 10, -1, 3000000, "'B'", "#3/9/2004#", "#3/12/2004#", "10.5", "5"});
    add({"#3/11/2004#", "JJJ", "ny", "SHORT", 50, 4, 1000000, "'B'", "#3/12/2004#", "#3/13/2004#", "49", "2"});
    // The last simulated day's candidates are never bought.
    add({"#3/14/2004#", "KKK", "ny", "LONG", 10, -9, 1000000, "'B'", "#3/15/2004#", "#3/16/2004#", "11", "10"});
  }

  testsupport::TempAppFolder folder_;
  user::ScopedScriptedUser user_;
  Recorder events_;
  std::unique_ptr<clsResearch> engine_;
};

TEST_F(PortfolioReplayTest, HandWorkedReplay) {
  FillHandWorkedTable();
  std::filesystem::create_directories(folder_.File("Reports"));
  simulation::CreateAllStocksReport();
  simulation::CreatePerDayReport();
  Parms().blnAllStocksReport = Parms().blnPerDayReport = true;

  double balance = 10000;
  engine_->SimResults(true, balance);

  // 3/6 A realised: 10000 + 10 % of 5000 - 20 = 10480. 3/9 E: - 5 % of 5000 - 20
  // = 10210. 3/11 G frees its slot with no money. 3/13 I: + 5 % of 5105 - 20 =
  // 10445.25. 3/14 J: + 2 % of 5105 - 20 = 10527.35.
  const double expected[] = {10000, 10000, 10000, 10000, 10000, 10480,    10480,
                             10480, 10210, 10210, 10210, 10210, 10445.25, 10527.35};
  ASSERT_EQ(udtBalanceHistory.size(), 14u);
  for (size_t k = 0; k < 14; ++k) {
    EXPECT_NEAR(udtBalanceHistory[k].dblValue, expected[k], 1e-9) << k;
    EXPECT_EQ(udtBalanceHistory[k].datDate, rt::DateSerial(2004, 3, 1 + static_cast<int>(k)));
  }
  EXPECT_NEAR(balance, 10527.35, 1e-9);
  ASSERT_EQ(events_.progress.size(), 14u);
  EXPECT_EQ(events_.progress.front(), "1/14");
  EXPECT_EQ(events_.progress.back(), "14/14");

  std::vector<std::string> bought;
  for (const PortfolioSlot& s : udtPortfolio) bought.push_back(s.strSymbol + " " + s.strBought);
  EXPECT_EQ(bought, (std::vector<std::string>{"AAA S", "EEE S", "GGG S", "III S", "JJJ S"}));

  // Averages: gains 10 - 5 + 0 + 5 + 2 over 5 released; days 4 + 6 + 0 + 4 + 2 over 5 bought.
  ASSERT_EQ(events_.results.size(), 1u);
  const ResultsEvent& r = events_.results[0];
  EXPECT_DOUBLE_EQ(r.averageReturn, 2.4);
  EXPECT_DOUBLE_EQ(r.averageHold, 3.2);
  EXPECT_EQ(r.shorts, 2);
  EXPECT_EQ(r.longs, 3);
  EXPECT_EQ(r.winners, 3);
  EXPECT_EQ(r.losers, 2);
  EXPECT_NEAR(r.balance, 10527.35, 1e-9);
  EXPECT_EQ(r.startBalance, 10000);

  // Only days that start with a free slot show the positions held.
  EXPECT_EQ(events_.display, (std::vector<std::string>{"3/2/2004 AAA 250 5000",
                                                       "--",
                                                       "3/3/2004 AAA 250 5000",
                                                       "3/3/2004 EEE 125 5000",
                                                       "--",
                                                       "3/6/2004 EEE 125 5000",
                                                       "3/6/2004 GGG 131 5240",
                                                       "--",
                                                       "3/9/2004 GGG 131 5240",
                                                       "3/9/2004 III 510 5105",
                                                       "--",
                                                       "3/11/2004 GGG 131 5240",
                                                       "3/11/2004 III 510 5105",
                                                       "--",
                                                       "3/12/2004 GGG 131 5240",
                                                       "3/12/2004 III 510 5105",
                                                       "3/12/2004 JJJ 102 5105",
                                                       "--",
                                                       "3/13/2004 GGG 131 5240",
                                                       "3/13/2004 JJJ 102 5105",
                                                       "--",
                                                       "3/14/2004 GGG 131 5240",
                                                       "--"}));

  const std::string header =
      "\tSymbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\tTarget Price\t"
      "Release Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD\r\n";
  EXPECT_EQ(
      testsupport::ReadFileBytes(folder_.File("Reports/Simulation Summary by Symbol.csv")),
      "\r\nAcquire Date" + header +
          "3/1/2004\tAAA\tLONG\t3/2/2004\t5000\t250\t-5\t20\t0\t3/5/2004\t22\t10\t1000000\tny\t1.5\t-0.25\t0.12\r\n"
          "3/2/2004\tEEE\tSHORT\t3/3/2004\t5000\t125\t3\t40\t0\t3/8/2004\t42\t-5\t500000\tns\t1.5\t-0.25\t0.12\r\n"
          "3/5/2004\tGGG\tLONG\t3/6/2004\t5240\t131\t0\t40\t0\t12:00:00 AM\t0\t0\t2000000\tny\t1.5\t-0.25\t0.12\r\n"
          "3/8/2004\tIII\tLONG\t3/9/2004\t5105\t510\t-1\t10\t0\t3/12/2004\t10.5\t5\t3000000\tns\t1.5\t-0.25\t0.12\r\n"
          "3/11/2004\tJJJ\tSHORT\t3/12/2004\t5105\t102\t4\t50\t0\t3/13/2004\t49\t2\t1000000\tny\t1.5\t-0.25\t0.12\r\n");

  const std::string A = "\tAAA\tLONG\t3/1/2004\t5000\t250\t-5\t20\t0\t3/5/2004\t22\t10\t1000000\tny\r\n";
  const std::string E = "\tEEE\tSHORT\t3/2/2004\t5000\t125\t3\t40\t0\t3/8/2004\t42\t-5\t500000\tns\r\n";
  const std::string G = "\tGGG\tLONG\t3/5/2004\t5240\t131\t0\t40\t0\t12:00:00 AM\t0\t0\t2000000\tny\r\n";
  const std::string I = "\tIII\tLONG\t3/8/2004\t5105\t510\t-1\t10\t0\t3/12/2004\t10.5\t5\t3000000\tns\r\n";
  const std::string J = "\tJJJ\tSHORT\t3/11/2004\t5105\t102\t4\t50\t0\t3/13/2004\t49\t2\t1000000\tny\r\n";
  EXPECT_EQ(testsupport::ReadFileBytes(folder_.File("Reports/Portfolio Summary by Date.csv")),
            "\r\nDate" + header + "\r\n" +                                 // 3/1: nothing held
                "\r\n3/2/2004" + A +                                       //
                "\r\n3/3/2004" + A + "3/3/2004" + E +                      //
                "\r\n3/6/2004" + E + "3/6/2004" + G +                      //
                "\r\n3/9/2004" + G + "3/9/2004" + I +                      //
                "\r\n3/11/2004" + G + "3/11/2004" + I +                    //
                "\r\n3/12/2004" + G + "3/12/2004" + I + "3/12/2004" + J +  //
                "\r\n3/13/2004" + G + "3/13/2004" + J +                    //
                "\r\n3/14/2004" + G);
  EXPECT_TRUE(user_->MessageTexts().empty());
}

}  // namespace

namespace {

// Two traded candidates of 3/1 whose ranking values agree in everything the
// old read-back used (BoughtDate, PercentMA, Volume).
void AddTwins() {
  simtest::Insert("sim_Hand",
                  {"#3/1/2004#", "AAA", "ny", "LONG", 20, -5, 1000000, "'B'", "#3/2/2004#", "#3/3/2004#", "22", "10"});
  simtest::Insert("sim_Hand",
                  {"#3/1/2004#", "BBB", "ny", "LONG", 20, -5, 1000000, "'B'", "#3/2/2004#", "#3/3/2004#", "19", "-5"});
}

TEST_F(PortfolioReplayTest, TwinCandidatesAreEachBoughtAsTheirOwnRow) {
  AddTwins();
  Parms().intBuyPerDay = 2;
  Parms().strSimEnd = "3/5/2004";
  double balance = 10000;
  engine_->SimResults(true, balance);
  ASSERT_EQ(udtPortfolio.size(), 2u);
  EXPECT_NE(udtPortfolio[0].strSymbol, udtPortfolio[1].strSymbol);
  // 3/4: + 10 % and - 5 % of 5000, four commissions.
  EXPECT_DOUBLE_EQ(balance, 10000 + 500 - 250 - 40);
}

TEST_F(PortfolioReplayTest, ValuedAccountIsTakenOnceAndRunFrom) {
  AddTwins();
  Parms().intBuyPerDay = 2;
  Parms().strSimEnd = "3/5/2004";
  db::Connection& cn = SharedConnection();
  cn.Execute("CREATE TABLE AccountInfo (Balance DOUBLE)");
  cn.Execute("INSERT INTO AccountInfo (Balance) VALUES (6000)");
  cn.Execute("CREATE TABLE Portfolio (Symbol TEXT, Positioning TEXT, Shares DOUBLE, AcquirePrice DOUBLE, ReleasePrice "
             "DOUBLE)");
  cn.Execute("INSERT INTO Portfolio VALUES ('BRK.B', 'LONG', 100, 15, NULL)");
  cn.Execute("INSERT INTO Portfolio VALUES ('^IXIC', 'SHORT', 100, 20, NULL)");
  for (const char* table : {"BRK.B", "^IXIC"}) {
    engine_->CreateTable(table);
    cn.Execute(std::string("INSERT INTO [") + table +
               "] (DamnDate, [Open], High, Low, [Close]) VALUES (#3/1/2004#, 1, 1, 1, 30)");
    cn.Execute(std::string("INSERT INTO [") + table +
               "] (DamnDate, [Open], High, Low, [Close]) VALUES (#3/2/2004#, 1, 1, 1, 18)");
  }
  // 6000 cash + 100 x 18 long + 100 x (40 - 18) short = 10000.
  double balance = -1;
  engine_->SimResults(true, balance);
  EXPECT_DOUBLE_EQ(balance, 10000 + 500 - 250 - 40);
  ASSERT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(events_.results[0].startBalance, 10000);
  EXPECT_EQ(udtPortfolio[0].dblAmount, 5000);
  EXPECT_DOUBLE_EQ(udtBalanceHistory.back().dblValue, balance);
}

// The rows a replay holds are read again once another connection (another
// program) has changed the table; this connection's own writes are the
// NoCandidate test's second replay.
TEST_F(PortfolioReplayTest, ARowChangedByAnotherConnectionIsReadAgain) {
  FillHandWorkedTable();
  double balance = 10000;
  engine_->SimResults(true, balance);
  ASSERT_NEAR(balance, 10527.35, 1e-9);
  db::Connection other;
  other.Open(SharedConnection().Path());
  other.Execute("UPDATE [sim_Hand] SET GainLoss = 12 WHERE Symbol = 'JJJ'");
  balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_NEAR(balance, 10527.35 + 0.1 * 5105, 1e-9);  // J, the last position, gains 12 % instead of 2 %
}

TEST_F(PortfolioReplayTest, StopEndsTheReplayWithoutResultsButPauseDoesNot) {
  FillHandWorkedTable();
  events_.onProgress = [this](int32_t day) {
    if (day == 3) engine_->PauseProcess(true);  // sets stop too, and is ignored
  };
  double balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.progress.size(), 14u);
  EXPECT_EQ(events_.results.size(), 1u);

  engine_->PauseProcess(false);
  events_.progress.clear();
  events_.results.clear();
  events_.onProgress = [this](int32_t day) {
    if (day == 6) engine_->StopProcess(true);
  };
  balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.progress.size(), 6u);
  EXPECT_TRUE(events_.results.empty());
  EXPECT_EQ(balance, 10480);                // day 6's release happened before the stop was seen
  EXPECT_EQ(udtBalanceHistory.size(), 5u);  // the stop ends day 6 at its first purchase

  // A stop already set ends it before anything is touched.
  events_.progress.clear();
  engine_->SimResults(true, balance);
  EXPECT_TRUE(events_.progress.empty());
  EXPECT_EQ(udtBalanceHistory.size(), 5u);
}

TEST_F(PortfolioReplayTest, TableMessagesEndTheReplayWithoutResults) {
  user_->AnswerMsgBox(user::kAnswerOK, "Simulation Table Is Empty.");
  double balance = 10000;
  engine_->SimResults(true, balance);

  Parms().strSimTable = "SimPort";
  user_->AnswerMsgBox(user::kAnswerOK, "Invalid Simulation Table.");
  engine_->SimResults(true, balance);
  Parms().strSimTable = "";
  user_->AnswerMsgBox(user::kAnswerOK, "Invalid Simulation Table.");
  engine_->SimResults(true, balance);

  Parms().strSimTable = "sim_Missing";
  user_->AnswerMsgBox(user::kAnswerOK);  // the database's own text
  engine_->SimResults(true, balance);
  EXPECT_NE(user_->MessageTexts().back().find("sim_Missing"), std::string::npos);

  EXPECT_TRUE(events_.results.empty());
  EXPECT_EQ(user_->PendingAnswers(), 0u);
  EXPECT_EQ(user_->Pointer(), user::kPointerDefault);
}

TEST_F(PortfolioReplayTest, NoCandidateInTheRangeOrNoSlotGivesEightZeros) {
  // Only an untraded row: the range check finds nothing and no day is walked.
  simtest::Insert("sim_Hand", {"#3/1/2004#", "ZZZ", "ny", "LONG", -1, 0});
  double balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_TRUE(events_.progress.empty());
  ASSERT_EQ(udtBalanceHistory.size(), 1u);
  EXPECT_EQ(udtBalanceHistory[0].dblValue, 0);
  ASSERT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(events_.results[0].balance, 0);
  EXPECT_EQ(events_.results[0].startBalance, 0);

  FillHandWorkedTable();
  Parms().intMaxStocks = 0;
  events_.results.clear();
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.progress.size(), 14u);
  EXPECT_EQ(udtBalanceHistory.size(), 14u);
  ASSERT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(events_.results[0].longs, 0);
  EXPECT_EQ(events_.results[0].balance, 0);
}

TEST_F(PortfolioReplayTest, SelectByDateRunsTheChosenDaysAgainstTheWholeTotal) {
  FillHandWorkedTable();
  Parms().blnSelectByDate = true;
  Parms().datSelectStart = rt::DateSerial(2004, 3, 8);
  Parms().datSelectEnd = rt::DateSerial(2004, 3, 10);
  double balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.progress, (std::vector<std::string>{"1/14", "2/14", "3/14"}));
  ASSERT_EQ(udtPortfolio.size(), 1u);
  EXPECT_EQ(udtPortfolio[0].strSymbol, "III");  // 3/8's candidate, bought on 3/9
  ASSERT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(events_.results[0].averageHold, 0);  // bought but not released
  EXPECT_EQ(events_.results[0].longs, 0);

  // The rows held for those days do not serve a replay of every day.
  Parms().blnSelectByDate = false;
  balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_NEAR(balance, 10527.35, 1e-9);
}

TEST_F(PortfolioReplayTest, AnErrorIsShownAndEndsTheReplayWithoutResults) {
  FillHandWorkedTable();
  Parms().strSimEnd = "someday";
  user_->AnswerMsgBox(user::kAnswerOK, "Type mismatch");
  double balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_TRUE(events_.results.empty());
  EXPECT_EQ(user_->PendingAnswers(), 0u);

  // A table made outside the program (no STRICT) with another value in one
  // row of a column: only a replay that reads the column in the rows of its
  // period refuses the table, whatever an earlier replay read, and a number
  // of another type is read as the statement reads it.
  Parms().strSimEnd = "3/14/2004";
  sqlite3* outside = nullptr;
  ASSERT_EQ(sqlite3_open(SharedConnection().Path().c_str(), &outside), SQLITE_OK);
  auto fromMarch8 = [](RunParameters& p) {
    p.blnSelectByDate = true, p.datSelectStart = rt::DateSerial(2004, 3, 8),
    p.datSelectEnd = rt::DateSerial(2004, 3, 14);
  };
  const struct {
    const char* change;  // of AAA's row, on 3/1
    std::function<void(RunParameters&)> setting;
    std::string refused;           // "" when the replay runs as over the table without the change
    bool afterWholeTable = false;  // a replay of the whole table runs first
  } cases[] = {
      {"BBDistance = 'x'", [](RunParameters&) {}, ""},
      {"BBDistance = 'x'", [](RunParameters& p) { p.blnBBDist = true, p.strBBDistMin = "-100"; }, "BBDistance"},
      {"NS_RSI = 'x'", [](RunParameters&) {}, ""},
      {"DJ_MA = 'x'", [](RunParameters&) {}, "DJ_MA"},  // the Dow range is on
      {"RSI = 'x'", [](RunParameters&) {}, "RSI"},      // every purchase reads it
      {"Volume = 'x'", [](RunParameters&) {}, "Volume"},
      {"Volume = 1000000.5", [](RunParameters&) {}, ""},
      {"AcquirePrice = 'x'", fromMarch8, ""},
      {"AcquirePrice = 'x'", fromMarch8, "", true},
  };
  const RunParameters before = Parms();
  auto replay = [&](const std::string& table, const std::function<void(RunParameters&)>& setting) {
    Parms() = before;
    Parms().strSimTable = table;
    setting(Parms());
    events_.results.clear();
    double balance = 10000;
    engine_->SimResults(true, balance);
    return events_.results.empty() ? std::string() : rt::FormatNumber(events_.results[0].balance);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    const std::string sql = "DROP TABLE IF EXISTS sim_Loose; CREATE TABLE sim_Loose AS SELECT * FROM sim_Hand; "
                            "UPDATE sim_Loose SET " +
                            std::string(c.change) + " WHERE Symbol = 'AAA'";
    ASSERT_EQ(sqlite3_exec(outside, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(outside);
    const std::string sound = replay("sim_Hand", c.setting);
    ASSERT_FALSE(sound.empty());
    if (c.afterWholeTable) {
      user_->AnswerMsgBox(user::kAnswerOK, "Type mismatch");
      EXPECT_EQ(replay("sim_Loose", [](RunParameters&) {}), "");
    }
    if (!c.refused.empty())
      user_->AnswerMsgBox(user::kAnswerOK, "Type mismatch: the simulation table holds a value in the column " +
                                               c.refused + " that is not a number.");
    EXPECT_EQ(replay("sim_Loose", c.setting), c.refused.empty() ? sound : "");
    EXPECT_EQ(user_->PendingAnswers(), 0u);
  }
  sqlite3_close(outside);
}

TEST_F(PortfolioReplayTest, MarketRulesKeepAtMostTheLimitAndShowTheirErrors) {
  FillHandWorkedTable();
  simtest::Insert("sim_Hand", {"#3/1/2004#", "OVR", "ny", "LONG", 20, 40000, 1000000, "'B'", "#3/2/2004#"});
  const auto table = simulation::ReplayTable::Read("sim_Hand", std::nullopt, simulation::CurrentDatabaseStamp());
  simulation::ReplayCandidates replay(*table, Parms(), std::nullopt);
  std::vector<clsStock> stocks(3);
  simulation::DayCandidates day = replay.Day(rt::DateSerial(2004, 3, 2), 5000);
  engine_->MarketRules(0, day, stocks);
  ASSERT_EQ(stocks.size(), 1u);
  EXPECT_EQ(stocks[0].Volume, 0);  // no candidates

  day = replay.Day(rt::DateSerial(2004, 3, 2), 5000);
  user_->AnswerMsgBox(user::kAnswerOK, "Overflow");
  engine_->MarketRules(5, day, stocks);
  ASSERT_EQ(stocks.size(), 2u);  // A and D; C vetoed; OVR's PercentMA does not fit 16 bits
  EXPECT_EQ(stocks[0].Symbol, "AAA");
  EXPECT_EQ(stocks[0].PercentMA, -5);
  EXPECT_EQ(stocks[0].Volume, 1000000);
  EXPECT_EQ(stocks[0].BoughtDate, rt::DateSerial(2004, 3, 2));
  EXPECT_EQ(stocks[1].Symbol, "DDD");
  EXPECT_EQ(user_->MessageTexts(), (std::vector<std::string>{"Overflow"}));
}

// The candidates the replay finds among the rows it holds are the candidate
// statement's rows in its order, case by case: equal keys in key order
// (which folds case; more ties than a sort leaves alone when it sorts few),
// NULLs, the side and market compared without case, whole-number literals,
// prices 0 and -1 and a missing volume.
TEST_F(PortfolioReplayTest, HeldCandidatesAreTheStatementsRows) {
  for (Row r : std::vector<Row>{{"", "AAA", "ny", "LONG", 20, -5},
                                {"", "aab", "NY", "LONG", 20, -5},
                                {"", "AAC", "ny", "short", 20, -5},
                                {"", "BBB", "ns", "LONG", 30, 0},
                                {"", "CCC", "am", "SHORT", 10, 2, 1000000, "NULL", "NULL", "NULL", "NULL", "NULL", -3},
                                {"", "DDD", "ny", "LONG", 0, -9},
                                {"", "EEE", "ny", "LONG", -1, -9},
                                {"", "FFF", "ny", "LONG", 40, -9},
                                {"", "GGG", "ny", "LONG", 50, 1, 100},
                                {"", "HHH", "ns", "LONG", 25, 3}}) {
    r.acquireDate = "#3/1/2004#";
    simtest::Insert("sim_Hand", r);
  }
  for (int k = 0; k < 30; ++k)
    simtest::Insert("sim_Hand",
                    {"#3/1/2004#", "T" + std::to_string(10 + k), k % 3 ? "ny" : "ns", k % 2 ? "LONG" : "SHORT", 20, 1});
  for (const char* change : {"PercentMA = NULL WHERE Symbol = 'BBB'", "Volume = NULL WHERE Symbol = 'FFF'",
                             "MACD = NULL, VolumeChange = NULL WHERE Symbol = 'CCC'", "MACD = 0.5 WHERE Symbol < 'AAC'",
                             "MACD = 7, VolumeChange = -1, PriceChange = NULL WHERE Symbol = 'HHH'",
                             "VolumeChange = 2 WHERE Symbol IN ('AAA', 'AAC')"})
    SharedConnection().Execute(std::string("UPDATE [sim_Hand] SET ") + change);
  const std::function<void(RunParameters&)> cases[] = {
      [](RunParameters&) {},
      [](RunParameters& p) { p.intBuyCriteria = 1; },
      [](RunParameters& p) { p.intBuyCriteria = 2; },
      [](RunParameters& p) { p.intBuyCriteria = 3; },
      [](RunParameters& p) { p.intBuyCriteria = 4; },
      [](RunParameters& p) { p.intBuyCriteria = 5; },
      [](RunParameters& p) { p.intBuyCriteria = 9; },
      [](RunParameters& p) { p.blnPercentMA = true, p.strPercentMAMin = "-5", p.strPercentMAMax = "2.5"; },
      [](RunParameters& p) { p.blnMACDRange = true, p.strMACDMax = "0.5"; },
      [](RunParameters& p) { p.blnVolChange = true, p.strVolChangeMin = "2"; },
      [](RunParameters& p) { p.blnSelectByPosition = true, p.strSelectPositioning = "SHORT"; },
      [](RunParameters& p) { p.blnSelectByMarket = true, p.strSelectMarket = "Ny"; },
      [](RunParameters& p) { p.dblMaxVolPct = 100, p.dblCommission = 0; },  // GGG: 100 shares, not fewer than 100
      [](RunParameters& p) { p.dblMaxVolPct = 101, p.dblCommission = 0; },
      [](RunParameters& p) { p.blnCombineIndicators = true, p.strDJMAMin = "-3", p.strDJMAMax = "-1"; },
  };
  const RunParameters before = Parms();
  const rt::Date day = rt::DateSerial(2004, 3, 2);
  for (size_t c = 0; c < std::size(cases); ++c) {
    Parms() = before;
    cases[c](Parms());
    std::vector<std::string> statement, held;
    for (db::Recordset rs = SharedConnection().OpenRecordset(engine_->BuildQuery(day, 5000, true, rt::Date()));
         !rs.Eof(); rs.MoveNext())
      statement.push_back(rs.Field("Symbol").ToText() + " " + rs.Field("Positioning").ToText());
    const auto table = simulation::ReplayTable::Read("sim_Hand", std::nullopt, simulation::CurrentDatabaseStamp());
    simulation::ReplayCandidates replay(*table, Parms(), std::nullopt);
    for (simulation::DayCandidates d = replay.Day(day, 5000); !d.Eof(); d.MoveNext())
      held.push_back(table->Text(d.Row().symbol) + " " + table->Text(d.Row().positioning));
    EXPECT_EQ(held, statement) << "case " << c;
    EXPECT_FALSE(held.empty()) << "case " << c;
  }
}

TEST(SimulationSummaryTest, TotalsPerSymbolOfTheTableWrittenAnew) {
  testsupport::TempAppFolder folder;
  user::ScopedScriptedUser user;
  Parms() = RunParameters::DesignDefaults();
  clsResearch engine;
  Parms().strSimTable = "sim_Sum";
  engine.CreateSimulationTable("sim_Sum");
  user->AnswerMsgBox(
      user::kAnswerOK,
      "This Report cannot be run now. Ensure you have run a simulation and created a portfolio from the results.");
  EXPECT_EQ(engine.CreateSimulationSummary(), "");  // no Reports folder

  std::filesystem::create_directories(folder.File("Reports"));
  simtest::Insert("sim_Sum", {"#3/1/2004#", "MSFT", "ny", "LONG", 20, 0, 1, "'B'", "NULL", "NULL", "NULL", "3.7"});
  simtest::Insert("sim_Sum", {"#3/1/2004#", "IBM", "ny", "LONG", -1, 0});  // not traded: left out
  simtest::Insert("sim_Sum", {"#3/2/2004#", "MSFT", "ny", "SHORT", 20, 0, 1, "'B'", "NULL", "NULL", "NULL", "-1.2"});
  testsupport::WriteFileBytes(folder.File("Reports/Portfolio Summary.csv"), "old contents");
  EXPECT_EQ(engine.CreateSimulationSummary(), folder.File("Reports/Portfolio Summary.csv").string());
  EXPECT_EQ(testsupport::ReadFileBytes(folder.File("Reports/Portfolio Summary.csv")),
            "\r\nSymbol\tLong\tShort\tTotal\tGainLoss\r\nMSFT\t1\t1\t2\t2.5\r\n");
  EXPECT_EQ(user->PendingAnswers(), 0u);
  EXPECT_EQ(user->Pointer(), user::kPointerDefault);

  // A summary that cannot be written whole leaves the older one and says why.
  user->AnswerMsgBox(user::kAnswerOK, "Portfolio Summary.csv could not be written: File too large.");
  testsupport::WriteFileBytes(folder.File("Reports/Portfolio Summary.csv"), "old contents");
  {
    testsupport::FileSizeLimit full(20);
    EXPECT_EQ(engine.CreateSimulationSummary(), "");
  }
  EXPECT_EQ(testsupport::ReadFileBytes(folder.File("Reports/Portfolio Summary.csv")), "old contents");
}

}  // namespace

namespace {

TEST_F(PortfolioReplayTest, ReportFileFailures) {
  FillHandWorkedTable();  // no Reports folder in the application folder
  Parms().blnAllStocksReport = true;
  // The per-position log's failure is shown once and the replay still ends normally.
  user_->AnswerMsgBox(user::kAnswerOK, "Path not found");
  double balance = 10000;
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(user_->PendingAnswers(), 0u);

  // The per-day log's failure ends the replay at the first day it writes.
  Parms().blnAllStocksReport = false;
  Parms().blnPerDayReport = true;
  user_->AnswerMsgBox(user::kAnswerOK, "Path not found");
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.results.size(), 1u);
  EXPECT_EQ(events_.progress.size(), 14u + 1u);
  EXPECT_EQ(user_->PendingAnswers(), 0u);

  // A replay that cannot write its logs whole (the disk fills up) or is
  // stopped leaves the older logs as they were, and no temporary file.
  std::filesystem::create_directories(folder_.File("Reports"));
  simulation::CreateAllStocksReport();
  simulation::CreatePerDayReport();
  Parms().blnAllStocksReport = true;
  const auto older = testsupport::ReadFolderFiles(folder_.File("Reports"));
  for (const char* log : {"Simulation Summary by Symbol.csv", "Portfolio Summary by Date.csv"})
    user_->AnswerMsgBox(user::kAnswerOK, std::string(log) + " could not be written: File too large.");
  {
    testsupport::FileSizeLimit full(400);
    engine_->SimResults(true, balance);
  }
  EXPECT_EQ(testsupport::ReadFolderFiles(folder_.File("Reports")), older);
  events_.onProgress = [this](int32_t day) { engine_->StopProcess(day == 6); };
  engine_->SimResults(true, balance);
  EXPECT_EQ(testsupport::ReadFolderFiles(folder_.File("Reports")), older);
  EXPECT_EQ(events_.results.size(), 1u);  // neither replay ended with results
  EXPECT_EQ(user_->PendingAnswers(), 0u);

  // A replay that ends whole adds its lines to the logs where they are: a log
  // is never written anew (a link made to it before sees the lines), so a
  // replay costs what it adds however long the log has grown.
  events_.onProgress = nullptr;
  engine_->StopProcess(false);
  for (const char* log : {"Simulation Summary by Symbol.csv", "Portfolio Summary by Date.csv"})
    std::filesystem::create_hard_link(folder_.File("Reports") / log, folder_.File(log));
  engine_->SimResults(true, balance);
  EXPECT_EQ(events_.results.size(), 2u);
  for (const char* log : {"Simulation Summary by Symbol.csv", "Portfolio Summary by Date.csv"}) {
    const std::string grown = testsupport::ReadFileBytes(folder_.File("Reports") / log);
    EXPECT_GT(grown.size(), older.at(log).size()) << log;
    EXPECT_EQ(grown.rfind(older.at(log), 0), 0u) << log;
    EXPECT_EQ(testsupport::ReadFileBytes(folder_.File(log)), grown) << log;
  }
}

TEST_F(PortfolioReplayTest, PurchaseAmountIsTheBalanceOverEverySlot) {
  EXPECT_EQ(engine_->GetPurchaseAmount(15000), 7500);
  db::Connection& cn = SharedConnection();
  cn.Execute("CREATE TABLE AccountInfo (Balance DOUBLE)");
  cn.Execute("INSERT INTO AccountInfo (Balance) VALUES (6000)");
  cn.Execute("CREATE TABLE Portfolio (Symbol TEXT, Positioning TEXT, Shares DOUBLE, AcquirePrice DOUBLE, ReleasePrice "
             "DOUBLE)");
  EXPECT_EQ(engine_->GetPurchaseAmount(-1), 3000);  // the account valued: cash only here
}

}  // namespace
