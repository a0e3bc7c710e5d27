// A Select run from an empty database over the shipped symbols: the default
// symbol file is imported, every history is downloaded from the stand-in
// quote service, and the winners land in the simulation table.
#include <gtest/gtest.h>

#include <set>

#include "select_fixture.h"
#include "simulation/simulation_table.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"

using testsupport::Day;

TEST(SelectShippedDataTest, EveryShippedSymbolIsDownloadedScannedAndStored) {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  // No symbols yet: the first run offers the default symbol file, the second runs.
  ASSERT_EQ(testsupport::SelectShippedSymbols(bed, "sim_shipped", Day(2019, 1, 2), Day(2019, 12, 31)), "complete");
  EXPECT_EQ(bed.User().PendingAnswers(), 0u);
  EXPECT_EQ(bed.User().Prompts().size(), 2u);

  EXPECT_EQ(bed.Events().totalStocks.back(), 20);
  std::set<std::string> scanned;
  for (const auto& call : bed.Events().stockCounts) scanned.insert(call.symbol);
  EXPECT_EQ(scanned.size(), 20u);
  long rows = std::stol(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped]"));
  EXPECT_EQ(static_cast<size_t>(rows), bed.Events().winners.size());
  // Every 2019 day of a symbol whose adjusted close stays inside the day's
  // low and high is a long and a short; where dividends alone put the
  // adjusted close below the traded low (IBM, JNJ), the gate drops the day.
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] WHERE Symbol = 'AAPL'"),
            std::to_string(2 * std::stol(bed.Scalar("SELECT COUNT(*) FROM [AAPL] WHERE DamnDate >= #1/2/2019# AND "
                                                    "DamnDate <= #12/31/2019#"))));
  EXPECT_EQ(bed.Scalar("SELECT MIN(AcquireDate) FROM [sim_shipped] WHERE Symbol = 'AAPL'"), "1/2/2019");
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] WHERE DJ_RSI IS NULL OR NS_RSI = 0"), "0");

  // Every criterion at once over the stored histories: nothing more is asked.
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();
  parms.blnNoWinCriteria = false;
  parms.blnUseMA = parms.blnUseRSI = parms.blnUseBoll = parms.blnUseMinVol = true;
  parms.blnUseMACD = parms.blnUseADX = parms.blnUseSwing = true;
  parms.intRSIMode = 2;
  engine.ClearSimPort();
  std::vector<std::string> symbols{"all:"};
  EXPECT_EQ(engine.Process(Day(2019, 1, 2), Day(2019, 12, 31), symbols, true, true, "", parms.intWinDays), "complete");
  EXPECT_EQ(bed.User().Prompts().size(), 2u);
}

// A symbol named like one of the program's own tables would have its quotes
// read from that table, or its quote table made under the program's name.
// The import refuses one and names its line; one that a master list holds
// from an older version is left out of the run and named once, and the table
// of that name stays as it was. A quote table that took Missing_Days in an
// older version (before or after the index tables) fails the downloads, each
// naming its symbol and that table; a run without downloads names it once.
TEST(SelectShippedDataTest, NamesOfTheProgramsOwnTablesAreNoSymbolsAndAFailedDownloadSaysWhy) {
  testsupport::QuoteServiceProcess service;
  const rt::Date start = Day(2019, 1, 2), end = Day(2019, 3, 29);
  const std::string quoteColumns =
      " ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, [Close] MONEY, [Adj_Close] MONEY, "
      "[Volume] INTEGER)";
  const std::string takenMissingDays = "CREATE TABLE [Missing_Days]" + quoteColumns;
  const std::vector<std::string> indexTables = {"CREATE TABLE [^DJI]" + quoteColumns,
                                                "CREATE TABLE [^IXIC]" + quoteColumns};
  const char* leftOut = "the name of one of the program's own tables";
  const char* takenTable = "^DJI - a database error: The table Missing_Days holds the quotes of a symbol";
  const struct {
    std::string name;
    std::vector<std::string> before;  // what an older version left in the database
    const char* status;
    const char* told;  // beside the symbol's name, in the run's one message
    bool offline = false;
  } cases[] = {
      {"Missing_Days", {}, "complete", leftOut},
      {"missing_days", {}, "complete", leftOut},
      {"SWEEPRECORD", {}, "complete", leftOut},
      {"SimStatus", {}, "complete", leftOut},
      {"Stock_Master", {}, "complete", leftOut},
      {"sim_a", {std::string("CREATE TABLE [sim_a] (") + simulation::kSimulationColumns + ")"}, "complete", leftOut},
      {"sqlite_stat1", {}, "complete", leftOut},
      {"VraskEatsWeeds", {}, "complete", leftOut},
      {"Missing_Days", {takenMissingDays}, "error", takenTable},
      {"Missing_Days", {indexTables[0], indexTables[1], takenMissingDays}, "error", takenTable},
      {"Missing_Days",
       {indexTables[0], "INSERT INTO [^DJI] VALUES (#10/1/2018#,1,1,1,1,1,1), (#3/29/2019#,1,1,1,1,1,1)",
        takenMissingDays},
       "error",
       "could not be read. The table Missing_Days holds the quotes of a symbol",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " after " + std::to_string(c.before.size()) + " tables");
    testsupport::EngineTestBed bed;
    user::ScriptedUserServices& user = bed.User();
    testsupport::PrepareDownloadingSelect(bed, "sim_run", start);
    Parms().blnUseInternet = !c.offline;
    for (const std::string& sql : c.before) bed.Execute(sql);
    const std::string definition = "SELECT MAX(sql) FROM sqlite_master WHERE lower(name) = lower('" + c.name + "')";

    const auto list = bed.Folder().File("list.txt");
    testsupport::WriteFileBytes(list, "IBM,ny\r\n" + c.name + ",ny\r\nMSFT,ns\r\n");
    user.AnswerMsgBox(user::kAnswerOK, "Line 2 (\"" + c.name + "\"): it is " + leftOut + ".");
    EXPECT_TRUE(bed.Engine().ImportNewStocks(list.string()));
    EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM Stock_Master"), "2");

    const std::string tableBefore = bed.Scalar(definition);
    // As an older version stored it.
    bed.Execute("INSERT INTO [Stock_Master] (Symbol, Market) SELECT '" + c.name +
                "', 'ny' WHERE NOT EXISTS (SELECT 1 FROM [Stock_Master] WHERE Symbol = '" + c.name + "')");
    user.AnswerMsgBox(user::kAnswerOK, c.told);
    std::vector<std::string> symbols{"all:"};
    EXPECT_EQ(bed.Engine().Process(start, end, symbols, true, true, "", Parms().intWinDays), c.status);
    EXPECT_EQ(user.PendingAnswers(), 0u);
    ASSERT_EQ(user.Prompts().size(), 2u);
    const std::string& told = user.Prompts().back().text;
    size_t named = 0;
    for (size_t at = told.find(c.name); at != std::string::npos; at = told.find(c.name, at + 1)) ++named;
    EXPECT_EQ(named, std::string(c.told) == leftOut ? 1u : 2u) << told;
    EXPECT_EQ(told.find("Connect to Internet"), std::string::npos) << told;  // no advice that cannot help
    EXPECT_EQ(bed.Scalar(definition), tableBefore);
    if (std::string(c.status) == "complete") {
      EXPECT_EQ(bed.Scalar("SELECT COUNT(DISTINCT Symbol) FROM [sim_run] WHERE Symbol IN ('IBM', 'MSFT')"), "2");
    }
  }
}
