#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "market_data/database_connection.h"
#include "platform/inet/service_addresses.h"
#include "platform/runtime/number_text.h"
#include "select_fixture.h"
#include "simulation/simulation_table.h"
#include "support/faulty_http_server.h"
#include "support/quote_service_process.h"
#include "support/scripted_http_server.h"
#include "support/short_fetch_limits.h"
#include "support/table_cells.h"
#include "support/write_faults.h"

namespace {

using testsupport::Day;
using Call = testsupport::RecordingEvents::StockCountCall;

const rt::Date kPeriodStart = Day(2004, 3, 1);
const rt::Date kPeriodEnd = Day(2004, 4, 30);

class SelectDriverTest : public SelectRulesTest {
 protected:
  void SetUp() override {
    Parms().blnNoWinCriteria = true;
    Parms().strSimTable = "sim_run";
    engine.CreateSimulationTable("sim_run");
    // The window's Winner handler: every new winner becomes a table row.
    events.onWinner = [this](clsStock& stock, bool store) {
      if (store) engine.LogWinner(simulation::WinnerInsertStatement(stock, Parms().strSimTable, 1));
    };
  }

  // Weekdays from `from` to `to`, prices moving in a saw-tooth so that every
  // indicator has something to work on.
  void SeedHistory(const std::string& symbol, rt::Date from, rt::Date to = kPeriodEnd) {
    engine.CreateTable(symbol);
    bool index = symbol[0] == '^';
    SharedConnection().BeginTrans();
    long n = 0;
    for (rt::Date d = from; d <= to; d = d + 1) {
      if (d.Weekday() == 1 || d.Weekday() == 7) continue;
      double close = index ? 10000 + (n * 7 % 10) * 10 : 20 + (n * 7 % 10) * 0.3;
      std::string prices = rt::FormatNumber(close) + ", " + rt::FormatNumber(close + 0.5) + ", " +
                           rt::FormatNumber(close - 0.5) + ", " + rt::FormatNumber(close);
      std::string date = "#" + rt::FormatShortDate(d) + "#";
      if (index)
        bed.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], High, Low, [Close]) VALUES (" + date + ", " +
                    prices + ")");
      else
        bed.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], High, Low, [Close], Adj_Close, Volume) VALUES (" +
                    date + ", " + prices + ", " + rt::FormatNumber(close) + ", " + std::to_string(1000 + n % 5 * 100) +
                    ")");
      ++n;
    }
    SharedConnection().CommitTrans();
  }

  void Master(std::initializer_list<std::pair<const char*, const char*>> rows) {
    if (!TableExists("Stock_Master")) engine.CreateTable_Master();
    for (auto [symbol, market] : rows)
      bed.Execute(std::string("INSERT INTO [Stock_Master] (Symbol, Market) VALUES ('") + symbol + "', '" + market +
                  "')");
  }

  // Four stocks and both indices with enough history.
  void SeedMarket() {
    Master({{"AB", "ny"}, {"ABC", "am"}, {"ABD", "ns"}, {"ABE", "ny"}, {"XYZ", "ny"}});
    for (const char* symbol : {"AB", "ABC", "ABD", "ABE", "XYZ", "^DJI", "^IXIC"}) SeedHistory(symbol, Day(2003, 9, 1));
  }

  // As the window runs it: the flags cleared when the run begins.
  std::string Run(std::vector<std::string>& symbols, const std::string& resumeSymbol = "") {
    engine.PauseProcess(false);
    return engine.Process(kPeriodStart, kPeriodEnd, symbols, true, true, resumeSymbol, Parms().intWinDays);
  }
  std::string Run(std::vector<std::string>&& symbols) { return Run(symbols); }

  long Rows(const std::string& where = "") {
    return std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + Parms().strSimTable + "]" + where));
  }
  bool TableExists(const std::string& name) {
    return bed.Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = '" + name + "'") != "0";
  }
  std::vector<std::string> ScannedSymbols() {
    std::vector<std::string> order;
    for (const Call& c : events.stockCounts)
      if (order.empty() || order.back() != c.symbol) order.push_back(c.symbol);
    return order;
  }
};

}  // namespace

TEST_F(SelectDriverTest, LikeListsTheMatchingSymbolsInOrderWithTheirMarkets) {
  SeedMarket();
  std::vector<std::string> symbols{"like:AB"};
  EXPECT_EQ(Run(symbols), "complete");
  EXPECT_EQ(symbols, (std::vector<std::string>{"AB", "ABC", "ABD", "ABE"}));
  EXPECT_EQ(events.totalStocks, std::vector<int16_t>{4});
  EXPECT_EQ(ScannedSymbols(), (std::vector<std::string>{"AB", "ABC", "ABD", "ABE"}));
  EXPECT_EQ(engine.LastStock(), "ABE");
  EXPECT_GT(Rows(" WHERE Symbol = 'ABC' AND Market = 'am' AND Positioning = 'SHORT'"), 0);
  EXPECT_EQ(Rows(" WHERE Symbol = 'XYZ'"), 0);
  EXPECT_TRUE(user.MessageTexts().empty());

  // With a capital L the text is one explicit symbol, and not a known one.
  user.AnswerMsgBox(user::kAnswerNo,
                    "Requested stock -- Like:AB -- not found in database.\r\nWould you like to add it?");
  EXPECT_EQ(Run({"Like:AB"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
}

TEST_F(SelectDriverTest, WithoutCriteriaEachSymbolIsScannedForLongThenShort) {
  SeedMarket();
  EXPECT_EQ(Run({"AB"}), "complete");
  ASSERT_FALSE(events.stockCounts.empty());
  const Call& last = events.stockCounts.back();
  EXPECT_EQ(last.index, last.total);  // both passes on one bar
  EXPECT_EQ(events.stockCounts.size(), static_cast<size_t>(last.total));
  size_t half = events.winners.size() / 2;
  ASSERT_GT(half, 0u);
  EXPECT_EQ(events.winners.front().Positioning, "LONG");
  EXPECT_EQ(events.winners.back().Positioning, "SHORT");
  EXPECT_EQ(Rows(" WHERE Positioning = 'LONG'"), Rows(" WHERE Positioning = 'SHORT'"));
  EXPECT_EQ(bed.Scalar("SELECT MIN(AcquireDate) FROM [sim_run]"), rt::FormatShortDate(kPeriodStart));
}

TEST_F(SelectDriverTest, AMissingSymbolStopsTheRunBeforeTheIndicesAndCanBeAdded) {
  Master({{"AB", "ny"}});
  user.AnswerMsgBox(user::kAnswerYes, "Requested stock -- NEW -- not found in database.\r\nWould you like to add it?")
      .AnswerInputBox("xx", "What market is NEW in? (ny, ns, am)")
      .AnswerInputBox("Ny", "What market is NEW in? (ny, ns, am)")
      .AnswerMsgBox(user::kAnswerOK, "Stock symbol added. You can now rerun your simulation.");
  EXPECT_EQ(Run({"AB", "NEW"}), "error");
  EXPECT_EQ(events.totalStocks, std::vector<int16_t>{2});  // counted before the look-ups
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(user.Prompts().front().style, user::kYesNo);
  EXPECT_FALSE(TableExists("^DJI"));  // no index was loaded
  // Stored lower-case, as the portfolio rules compare it.
  EXPECT_EQ(bed.Scalar("SELECT Market FROM Stock_Master WHERE Symbol = 'NEW'"), "ny");

  // An empty answer adds nothing.
  user.AnswerMsgBox(user::kAnswerYes, "Requested stock -- OTHER -- not found").AnswerInputBox("", "OTHER");
  EXPECT_EQ(Run({"OTHER"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM Stock_Master"), "2");
}

TEST_F(SelectDriverTest, WithoutAMasterTableTheDefaultSymbolFileIsOffered) {
  std::filesystem::copy_file(std::filesystem::path(KESTROVANE_DATA_DIR) / "SymbolList",
                             bed.Folder().File("SymbolList"));
  user.AnswerMsgBox(user::kAnswerYes,
                    "It appears no symbols have been imported in to your database.\r\nWould you like to import "
                    "symbols now?")
      .AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.\r\nYou may now run simulations on them!");
  EXPECT_EQ(Run({"all:"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM Stock_Master"), "20");
}

TEST_F(SelectDriverTest, AnEmptyPickSaysThatNoSymbolsMatch) {
  engine.CreateTable_Master();
  user.AnswerMsgBox(user::kAnswerOK, "No symbols match: the database holds no symbols.");
  EXPECT_EQ(Run({"all:"}), "error");
  Master({{"AB", "ny"}});
  user.AnswerMsgBox(user::kAnswerOK, "No symbols match: the database holds no symbol beginning with Q.");
  EXPECT_EQ(Run({"like:Q"}), "error");
  // The pattern is a quoted value, never part of the statement.
  user.AnswerMsgBox(user::kAnswerOK, "No symbols match: the database holds no symbol beginning with O' OR ''='.");
  EXPECT_EQ(Run({"like:O' OR ''='"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(user.Prompts().size(), 3u);  // no offer to add a symbol
}

TEST_F(SelectDriverTest, LikeMatchesPercentAndUnderscoreAsThemselves) {
  SeedMarket();
  Master({{"A_B", "ny"}, {"A%B", "ny"}, {"A\\B", "ny"}});
  for (const char* symbol : {"A_B", "A%B", "A\\B"}) SeedHistory(symbol, Day(2003, 9, 1));
  const std::pair<const char*, std::vector<std::string>> picks[] = {
      {"like:A_", {"A_B"}}, {"like:A%", {"A%B"}}, {"like:A\\", {"A\\B"}}};
  for (const auto& [pick, listed] : picks) {
    std::vector<std::string> symbols{pick};
    Run(symbols);
    EXPECT_EQ(symbols, listed) << pick;
  }
  user.AnswerMsgBox(user::kAnswerOK, "No symbols match: the database holds no symbol beginning with %.");
  EXPECT_EQ(Run({"like:%"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
}

TEST_F(SelectDriverTest, TooLittleIndexHistoryEndsTheRunWithItsMessage) {
  Master({{"AB", "ny"}});
  SeedHistory("AB", Day(2003, 9, 1));
  SeedHistory("^DJI", Day(2004, 2, 1));  // spans less than the look-back
  user.AnswerMsgBox(user::kAnswerOK, "Insufficient Data to Calculate DJI.\r\nConnect to Internet to Get Data.");
  EXPECT_EQ(Run({"AB"}), "error");

  SeedHistory("^DJI", Day(2003, 9, 1));
  user.AnswerMsgBox(user::kAnswerOK, "Insufficient Data to Calculate NASDAQ.\r\nConnect to Internet to Get Data.");
  EXPECT_EQ(Run({"AB"}), "error");  // no "^IXIC" history at all
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_TRUE(events.stockCounts.empty());
}

// Every kind of failed download ends within the (here shortened) limits, the
// symbol is left out of the run, and the user is told once, at the end, which
// symbols could not be updated and why; "No internet connection" only when
// there was none.
TEST_F(SelectDriverTest, DownloadFailuresAreToldOncePerRun) {
  using Fault = testsupport::FaultyHttpServer::Fault;
  SeedMarket();
  Master({{"NEWA", "ny"}, {"NEWB", "ns"}});
  // Both download: NEWA to top up a history that ends a month early (a
  // failed top-up leaves the symbol out of the run), NEWB for all of it.
  SeedHistory("NEWA", Day(2003, 9, 1), Day(2004, 4, 1));
  Parms().blnUpdateData = true;
  Parms().blnUseInternet = true;
  testsupport::ShortFetchLimits limits;
  const struct {
    std::optional<Fault> fault;  // neither a fault nor a reply: no server at all
    std::optional<std::string> reply;
    const char* reason;
    int requestsPerDownload = 1;
  } cases[] = {
      {std::nullopt, std::nullopt, "no connection to the quote service"},
      {Fault::kSilent, std::nullopt, "the quote service did not answer in time"},
      {Fault::kTrickle, std::nullopt, "the quote service did not answer in time"},
      {Fault::kEndless, std::nullopt, "the reply was too large"},
      {Fault::kBreakOff, std::nullopt, "the connection broke off during the download"},
      {Fault::kErrorPage, std::nullopt, "the quote service answered with an error"},
      {Fault::kGzipBody, std::nullopt, "the reply came compressed, which was not asked for"},
      {Fault::kRedirectLoop, std::nullopt, "the quote service's address redirects in a loop", 11},
      {std::nullopt, "Date,Open,High,Low,Close,Adj Close,Volume\n", "the reply is not a quote page"},
  };
  for (const auto& c : cases) {
    std::unique_ptr<testsupport::FaultyHttpServer> server;
    std::unique_ptr<testsupport::ScriptedHttpServer> scripted;
    if (c.fault) server = std::make_unique<testsupport::FaultyHttpServer>(*c.fault);
    else if (c.reply) scripted = std::make_unique<testsupport::ScriptedHttpServer>(std::vector{*c.reply});
    else
      ::setenv(inet::kQuoteHostVariable,
               ("http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort())).c_str(), 1);
    engine.ClearSimPort();
    const size_t shown = user.MessageTexts().size();
    user.AnswerMsgBox(user::kAnswerOK, "could not be updated");
    EXPECT_EQ(Run({"NEWA", "AB", "NEWB"}), "complete") << c.reason;
    ASSERT_EQ(user.MessageTexts().size(), shown + 1) << c.reason;
    const bool connected = c.fault || c.reply;
    const std::string noConnection =
        "No internet connection available.\r\nPlease check connection and try again.\r\n\r\n";
    EXPECT_EQ(user.MessageTexts().back(), (connected ? "" : noConnection) +
                                              "The quote history of these symbols could not be updated:\r\nNEWA - " +
                                              c.reason + "\r\nNEWB - " + c.reason);
    if (server) {
      EXPECT_EQ(server->Requests(), 2 * c.requestsPerDownload) << c.reason;  // one try each
    }
    EXPECT_EQ(ScannedSymbols(), std::vector<std::string>{"AB"});
    events.stockCounts.clear();
    if (!connected) ::unsetenv(inet::kQuoteHostVariable);
  }
}

// A record of a missing day whose date cannot be read (a damaged or
// hand-edited database) costs its symbol nothing, online or offline: the run
// leaves the record out and its one message names the symbol and the table
// and says what to do; the record stays for the user to mend.
TEST_F(SelectDriverTest, AnUnreadableMissingDayRecordIsNamedAndItsSymbolStillScanned) {
  SeedMarket();
  bed.Execute("CREATE TABLE [Missing_Days] ([Symbol] TEXT, [DamnDate] DATETIME, PRIMARY KEY ([Symbol], [DamnDate]))");
  sqlite3* outside = nullptr;
  ASSERT_EQ(sqlite3_open(SharedConnection().Path().c_str(), &outside), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(outside,
                         "PRAGMA ignore_check_constraints = ON; "
                         "INSERT INTO Missing_Days VALUES ('AB', '2004-03-1x')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(outside);
  for (bool online : {false, true}) {
    SCOPED_TRACE(online ? "online" : "offline");
    Parms().blnUpdateData = Parms().blnUseInternet = online;
    ASSERT_TRUE(engine.CreateSimulationTable("sim_run"));
    const size_t shown = user.MessageTexts().size();
    user.AnswerMsgBox(user::kAnswerOK, "Missing_Days");
    EXPECT_EQ(Run({"AB", "ABC"}), "complete");
    ASSERT_EQ(user.MessageTexts().size(), shown + 1);
    EXPECT_EQ(user.MessageTexts().back(),
              "Records of the table Missing_Days whose day cannot be read were left out of the run:\r\n"
              "AB: \"2004-03-1x\"\r\n"
              "Correct the DamnDate of each such row to the day it stands for (written like 2019-05-15), or delete "
              "the row: until then that day is neither fetched again nor named as missing.");
    EXPECT_EQ(Rows(" WHERE Symbol = 'AB'"), Rows(" WHERE Symbol = 'ABC'"));  // the same history
  }
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM [Missing_Days]"), "1");
}

TEST_F(SelectDriverTest, PauseFinishesTheSymbolAndTheResumeStartsWithTheNext) {
  SeedMarket();
  std::vector<std::string> straight{"like:AB"};
  ASSERT_EQ(Run(straight), "complete");
  long straightABD = Rows(" WHERE Symbol = 'ABD'");

  Parms().strSimTable = "sim_paused";
  engine.CreateSimulationTable("sim_paused");
  events.stockCounts.clear();
  events.onStockCount = [this](const Call& call) {
    if (call.symbol == "ABD" && call.index == 5) engine.PauseProcess(true);
  };
  std::vector<std::string> symbols{"like:AB"};
  EXPECT_EQ(Run(symbols), "stop");
  EXPECT_EQ(engine.LastStock(), "ABD");
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABD'"), straightABD);  // the paused symbol was scanned whole
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABE'"), 0);

  // The window clears the flags and passes the last symbol back.
  engine.PauseProcess(false);
  events.onStockCount = nullptr;
  events.stockCounts.clear();
  std::vector<std::string> again{"like:AB"};
  EXPECT_EQ(Run(again, engine.LastStock()), "complete");
  EXPECT_EQ(ScannedSymbols(), std::vector<std::string>{"ABE"});
  EXPECT_EQ(testsupport::TableCells(SharedConnection(), "sim_paused"),
            testsupport::TableCells(SharedConnection(), "sim_run"));
  EXPECT_TRUE(user.MessageTexts().empty());  // no duplicate rows were offered
}

TEST_F(SelectDriverTest, StopEndsTheScanAtTheNextDayAndTheRun) {
  SeedMarket();
  events.onStockCount = [this](const Call& call) {
    if (call.symbol == "ABC" && call.index == 3) engine.StopProcess(true);
  };
  EXPECT_EQ(Run({"like:AB"}), "stop");
  EXPECT_EQ(engine.LastStock(), "ABC");
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABC'"), 2);  // days 1 and 2 of the long pass
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABD'"), 0);
  EXPECT_EQ(ScannedSymbols(), (std::vector<std::string>{"AB", "ABC"}));
}

TEST_F(SelectDriverTest, ASymbolNamedAgainInAnyCaseIsScannedOnce) {
  SeedMarket();
  std::vector<std::string> symbols{"AB", "ab", "ABC", "AB"};
  EXPECT_EQ(Run(symbols), "complete");
  EXPECT_EQ(symbols, (std::vector<std::string>{"AB", "ABC"}));
  EXPECT_EQ(events.totalStocks, std::vector<int16_t>{2});
  EXPECT_EQ(ScannedSymbols(), (std::vector<std::string>{"AB", "ABC"}));
  EXPECT_TRUE(user.MessageTexts().empty());  // no duplicate rows offered
}

TEST_F(SelectDriverTest, ResumeSymbolNotInTheListScansNothing) {
  SeedMarket();
  EXPECT_EQ(Run(std::vector<std::string>{"AB", "ABC"} = {"AB", "ABC"}, "ZZZ"), "complete");
  EXPECT_TRUE(events.stockCounts.empty());
  EXPECT_EQ(Rows(), 0);
}

TEST_F(SelectDriverTest, ASymbolWithTooShortAHistoryIsSkippedQuietly) {
  SeedMarket();
  Master({{"NEWCO", "ny"}});
  SeedHistory("NEWCO", Day(2004, 3, 15));
  EXPECT_EQ(Run({"AB", "NEWCO", "ABC"}), "complete");
  EXPECT_EQ(ScannedSymbols(), (std::vector<std::string>{"AB", "ABC"}));
  EXPECT_EQ(Rows(" WHERE Symbol = 'NEWCO'"), 0);
}

TEST_F(SelectDriverTest, CriteriaDecideTheSideOfEachDay) {
  SeedMarket();
  Parms().blnNoWinCriteria = false;
  Parms().blnUseMA = true;
  Parms().intMADiff = 2;
  EXPECT_EQ(Run({"AB"}), "complete");
  long longs = Rows(" WHERE Positioning = 'LONG'");
  long shorts = Rows(" WHERE Positioning = 'SHORT'");
  EXPECT_GT(longs + shorts, 0);
  EXPECT_LT(longs + shorts, static_cast<long>(events.stockCounts.size()));
  EXPECT_EQ(Rows(" WHERE Positioning = 'LONG' AND PercentMA > -2"), 0);
  EXPECT_EQ(Rows(" WHERE Positioning = 'SHORT' AND PercentMA > -2"), 0);  // stored negated for a short
}

TEST_F(SelectDriverTest, ADatabaseKindWithoutASimulationTableIsRefusedOnce) {
  SeedMarket();
  Parms().intDatabaseType = 2;
  user.AnswerMsgBox(user::kAnswerOK, "A Select run needs database type 1");
  EXPECT_EQ(Run({"AB"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_TRUE(events.stockCounts.empty());
}

TEST_F(SelectDriverTest, ASymbolThatCannotNameATableIsRefusedWithItsReason) {
  SeedMarket();
  user.AnswerMsgBox(user::kAnswerOK, "cannot be used as a table or symbol name");
  EXPECT_EQ(Run({"AB", "X]Y"}), "error");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_EQ(user.Prompts().size(), 1u);
  EXPECT_EQ(Rows(), 0);
}

TEST_F(SelectDriverTest, ALastingWriteFailureEndsTheRunOnceWithItsCause) {
  using testsupport::WriteFault;
  SeedMarket();
  for (WriteFault kind : {WriteFault::kDiskFull, WriteFault::kReadOnly, WriteFault::kLockHeld}) {
    testsupport::InjectedWriteFault fault(kind);
    SCOPED_TRACE(fault.Name());
    ASSERT_TRUE(engine.CreateSimulationTable("sim_run"));
    events.stockCounts.clear();
    events.onStockCount = [&](const Call&) { fault.Apply(); };
    size_t before = user.Prompts().size();
    user.AnswerMsgBox(user::kAnswerOK, "Unable to store the winners in the simulation table.\r\nThe database file");
    EXPECT_EQ(Run({"AB", "ABC", "ABD"}), "error");
    EXPECT_EQ(user.PendingAnswers(), 0u);
    EXPECT_TRUE(user.UnscriptedPrompts().empty());
    ASSERT_EQ(user.Prompts().size(), before + 1);
    EXPECT_NE(user.Prompts().back().text.find(fault.Cause()), std::string::npos) << user.Prompts().back().text;
    EXPECT_EQ(engine.WriteFailure(), user.Prompts().back().text);
    EXPECT_EQ(ScannedSymbols(), std::vector<std::string>{"AB"});
    events.onStockCount = nullptr;
  }
}

TEST_F(SelectDriverTest, ADuplicateWinnerIsShownOnceAndTheRestOfItsSymbolIsStored) {
  SeedMarket();
  ASSERT_EQ(Run({"ABC"}), "complete");
  long abc = Rows();
  // ABC's first days are stored already, and AB is listed twice.
  bed.Execute("DELETE FROM [sim_run] WHERE AcquireDate > #3/3/2004#");
  user.AnswerMsgBox(user::kAnswerOK, "duplicate values");
  EXPECT_EQ(Run({"ABC", "AB", "AB"}), "complete");
  EXPECT_EQ(user.PendingAnswers(), 0u);
  EXPECT_TRUE(user.UnscriptedPrompts().empty());
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABC'"), abc);
  EXPECT_EQ(Rows(" WHERE Symbol = 'AB'"), abc);
}

// Another program (its own connection to the database) removes the table or
// creates it anew while the run scans: the run must not store into what it
// finds, nor say "complete".
TEST_F(SelectDriverTest, ATableRemovedOrReplacedDuringTheRunEndsItWithItsCause) {
  SeedMarket();
  const std::string replace = std::string("CREATE TABLE [sim_run] (") + simulation::kSimulationColumns +
                              ",CONSTRAINT [PK] PRIMARY KEY ([AcquireDate], [Symbol], [Positioning]))";
  for (bool replaced : {false, true}) {
    SCOPED_TRACE(replaced ? "replaced" : "removed");
    ASSERT_TRUE(engine.CreateSimulationTable("sim_run"));
    events.stockCounts.clear();
    events.onStockCount = [&](const Call& call) {
      if (call.symbol != "ABC" || call.index != 1) return;
      db::Connection other;
      other.Open(SharedConnection().Path());
      other.Execute("DROP TABLE [sim_run]");
      if (replaced) other.Execute(replace);
    };
    user.AnswerMsgBox(user::kAnswerOK, std::string(simulation::kUnableToStoreWinners) + "\r\n");
    EXPECT_EQ(Run({"AB", "ABC", "ABD"}), "error");
    EXPECT_EQ(user.PendingAnswers(), 0u);
    EXPECT_TRUE(user.UnscriptedPrompts().empty());
    EXPECT_NE(engine.WriteFailure().find("sim_run"), std::string::npos) << engine.WriteFailure();
    EXPECT_EQ(ScannedSymbols(), (std::vector<std::string>{"AB", "ABC"}));
    if (replaced) {
      EXPECT_EQ(Rows(), 0);
    }
    events.onStockCount = nullptr;
  }
}

// Tens of thousands of winners are stored, and removed when the simulation
// is made anew and run, without holding the window: the key over them is
// built, and the rows deleted, in steps with yields in between.
TEST_F(SelectDriverTest, StoringAndDroppingManyWinnersYieldsToTheWindowAsItGoes) {
  Master({{"AB", "ny"}, {"ABC", "am"}, {"ABD", "ns"}, {"ABE", "ny"}, {"XYZ", "ny"}});
  for (const char* symbol : {"AB", "ABC", "ABD", "ABE", "XYZ", "^DJI", "^IXIC"})
    SeedHistory(symbol, Day(2000, 1, 3), Day(2009, 12, 31));
  int yieldsBefore = -1;
  events.onStatus = [&](const std::string& status) {
    if (status == simulation::kStoringWinners) yieldsBefore = user.DoEventsCount();
  };
  std::vector<std::string> symbols{"all:"};
  ASSERT_EQ(engine.Process(Day(2000, 6, 1), Day(2009, 12, 31), symbols, true, true, "", Parms().intWinDays),
            "complete");
  ASSERT_NE(yieldsBefore, -1) << "no step said it stored the winners";
  const long winners = Rows();
  ASSERT_GT(winners, 20000);
  EXPECT_GE(user.DoEventsCount() - yieldsBefore, winners / 2000);

  ASSERT_TRUE(engine.CreateSimulationTable("sim_run"));
  EXPECT_EQ(Rows(), 0);
  yieldsBefore = -1;
  int yieldsAfter = -1;
  events.onStatus = [&](const std::string& status) {
    if (status == simulation::kRemovingOldWinners) yieldsBefore = user.DoEventsCount();
  };
  events.onStockCount = [&](const Call&) {
    if (yieldsAfter == -1) yieldsAfter = user.DoEventsCount();
  };
  EXPECT_EQ(Run({"XYZ"}), "complete");
  ASSERT_NE(yieldsBefore, -1) << "no step said it removed the old winners";
  EXPECT_GE(yieldsAfter - yieldsBefore, winners / 2000);
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name LIKE '~removed%'"), "0");
}

// An error that leaves a symbol's scan (here one the scan does not trap)
// must not store the half of its winners that came before it.
TEST_F(SelectDriverTest, AnErrorLeavingASymbolsScanStoresNoneOfItsWinners) {
  SeedMarket();
  events.onStockCount = [](const Call& call) {
    if (call.symbol == "ABC" && call.index == 5) throw std::runtime_error("the handler failed");
  };
  EXPECT_THROW(Run({"AB", "ABC", "ABD"}), std::runtime_error);
  EXPECT_GT(Rows(" WHERE Symbol = 'AB'"), 0);  // scanned whole before the error
  EXPECT_EQ(Rows(" WHERE Symbol = 'ABC'"), 0);
}
