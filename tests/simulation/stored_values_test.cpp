// The three statements that run once per row bind their values instead of
// pasting them into the text. Each case stores the same row both ways, the
// pasted text as the engine built it before into one table and the engine
// call into a twin table, and every cell must have the same type and value.
#include <gtest/gtest.h>

#include <functional>

#include "market_data/database_connection.h"
#include "market_data/schema.h"
#include "select_fixture.h"
#include "simulation/simulation_table.h"
#include "support/quote_pages.h"
#include "support/scripted_http_server.h"
#include "support/table_cells.h"
#include "trade_table.h"

namespace {

using testsupport::Day;

std::vector<std::string> StoredCells(const std::string& table) {
  return testsupport::TableCells(SharedConnection(), table);
}

clsStock Winner(const char* symbol, const char* side, float rsiChange, double volumeChange, int simulation) {
  clsStock s = SampleWinner(symbol, side, Day(2004, 1, 5));
  s.Market = "n'y";
  s.RSIChange = rsiChange;
  s.VolumeChange = volumeChange;
  s.Simulation = simulation;
  return s;
}

struct Case {
  const char* name;
  std::string oldTable, newTable;
  std::vector<std::string> pastedText;                          // into oldTable
  std::function<void(testsupport::EngineTestBed&)> engineCall;  // into newTable
};

// The pause row's columns with the values pasted in, as the store wrote them
// before: the 24 slots hold `slots`, in column order, after the key.
std::string PastedPauseRow(const std::string& table, const std::vector<std::string>& slots) {
  std::string columns = "SimTable", values = "'sim_new'";
  for (size_t i = 1; i < kSimStatusColumns.size(); ++i) {
    columns += std::string(", ") + kSimStatusColumns[i];
    values += ", " + slots[i - 1];
  }
  return "INSERT INTO [" + table + "] (" + columns + ") VALUES (" + values + ")";
}

TEST(StoredValuesTest, BoundStatementsStoreWhatThePastedTextStored) {
  testsupport::EngineTestBed bed;
  clsResearch& engine = bed.Engine();

  const std::vector<Case> cases = {
      {"quote rows of a downloaded page",
       "OLDQ",
       "NEWQ",
       {"INSERT INTO [OLDQ] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES "
        "(#03/05/2004#,'10600','9','10.5','10582.','73.872','10347700')",
        "INSERT INTO [OLDQ] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES "
        "(#03/04/2004#,'1.3','0.875','1','0.9','999.5','0')"},
       [](testsupport::EngineTestBed& bed) {
         testsupport::ScriptedHttpServer server({testsupport::QuotePage(
             testsupport::QuotePageRow("5-Mar-2004", "10582.589844", "10600", "9", "10.5", "10347700", "73.872") +
             testsupport::QuotePageRow("4-Mar-2004", "0.9", "1.3", "0.875", "1", "0", "999.5"))});
         rt::Date start = Day(2004, 3, 1), end = Day(2004, 3, 5);
         std::string symbol = "NEWQ";
         ASSERT_TRUE(bed.Engine().UpdateStock(start, end, symbol));
       }},
      {"winners, a single's digits and a close rounded outside a simulation",
       "sim_old",
       "sim_new",
       {"INSERT INTO [sim_old] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD "
        ",PercentMA, MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], "
        "[NS_RSI], [NS_MA]) VALUES ('n''y', #1/5/2004#, 'RI''SE', 'LONG', -1, 55, 12.3, 0.12, -3, 20.5, 19.25, "
        "123456, 33.3333333333333, -1.5, 80.1, 70, 3, 40, -2)",
        "INSERT INTO [sim_old] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD "
        ",PercentMA, MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], "
        "[NS_RSI], [NS_MA]) VALUES ('n''y', #1/5/2004#, 'IBM', 'SHORT', 25.12, 55, -0.1, 0.12, -3, 20.5, 19.25, "
        "123456, 1E+20, -1.5, 80.1, 30, -3, 60, 2)"},
       [](testsupport::EngineTestBed& bed) {
         bed.Engine().LogWinner(
             simulation::WinnerInsertStatement(Winner("RI'SE", "LONG", 12.3f, 100.0 / 3, -1), "sim_new", 1));
         bed.Engine().LogWinner(
             simulation::WinnerInsertStatement(Winner("IBM", "SHORT", -0.1f, 1e20, 0), "sim_new", 1));
       }},
      {"Trade results, a sold position and one still open",
       "sim_old",
       "sim_new",
       {"UPDATE [sim_old] SET AcquirePrice = 10.05, Bought = 'B', ReleasePrice = 10.66, ReleaseDate = #3/9/2004#, "
        "BoughtDate = #3/2/2004#, GainLoss = 6.07 WHERE AcquireDate = #1/5/2004# AND Symbol = 'RI''SE' AND "
        "Positioning = 'LONG'",
        "UPDATE [sim_old] SET AcquirePrice = 25.1, Bought = '3/12/2004', ReleasePrice = 0, ReleaseDate = "
        "#12:00:00 AM#, BoughtDate = #1/6/2004#, GainLoss = 0 WHERE AcquireDate = #1/5/2004# AND Symbol = 'IBM' AND "
        "Positioning = 'SHORT'"},
       [](testsupport::EngineTestBed& bed) {
         Parms().strSimTable = "sim_new";
         tradetest::RisingSeries();  // the open position's day: 3/12/2004
         clsResearch::TradePosition& trade = bed.Engine().TradeState();
         trade = {};
         trade.strSymbol = "RI'SE";
         trade.strPositioning = "LONG";
         trade.datAcquireDate = Day(2004, 1, 5);
         trade.datBoughtDate = Day(2004, 3, 2);
         trade.datReleaseDate = Day(2004, 3, 9);
         trade.dblAcquirePrice = 10.05;
         trade.dblReleasePrice = 10.66;
         bed.Engine().LogResults(true);
         trade = {};
         trade.strSymbol = "IBM";
         trade.strPositioning = "SHORT";
         trade.datAcquireDate = Day(2004, 1, 5);
         trade.datBoughtDate = Day(2004, 1, 6);
         trade.dblAcquirePrice = 25.1;
         bed.Engine().LogResults(false);
       }},
      {"a sweep's pause row, stored and then updated",
       "SimStatusOld",
       "SimStatus",
       {PastedPauseRow("SimStatusOld", {"3",   "-.5", "1.", "2.5E-05", "-0", "00012", "123456789012345678901",
                                        "0.1", "7",   "0",  "0",       "0",  "0",     "0",
                                        "0",   "0",   "0",  "0",       "0",  "0",     "0",
                                        "0",   "0",   "0"}),
        "UPDATE [SimStatusOld] SET TradePause0 = 3, TradePause1 = 0, TradePause2 = 0, TradePause3 = 0, "
        "TradePause4 = 0, TradePause6 = 0, TradePause7 = 0, TradePause9 = 0, TradeCount = 0, PortPause0 = 3, "
        "PortPause1 = 1E+300, PortPause2 = -2, PortPause3 = 0.30000000000000004, PortPause4 = 5, PortPause5 = 6, "
        "PortPause6 = 7, PortPause7 = 8, PortPause8 = 9, PortPause9 = 10, PortPause10 = 11, PortPause11 = 12, "
        "PortPause12 = 13, PortPauseRev = 1, PortCount = 41 WHERE SimTable = 'sim_new'"},
       [](testsupport::EngineTestBed& bed) {
         Parms().strSimTable = "sim_new";
         bed.Engine().StorePauseCriteria(
             {"3", "-.5", "1.", "2.5E-05", "-0", "00012", "123456789012345678901", "0.1", "7"}, true);
         bed.Engine().StorePauseCriteria(
             {"3", "1E+300", "-2", "0.30000000000000004", "5", "6", "7", "8", "9", "10", "11", "12", "13", "1", "41"},
             false);
       }},
  };

  engine.CreateSimulationTable("sim_old");
  engine.CreateSimulationTable("sim_new");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.newTable == "SimStatus") {
      std::string create = SimStatusStatement(1);
      SharedConnection().Execute(create.replace(create.find("[SimStatus]"), 11, "[" + c.oldTable + "]"));
    } else if (c.oldTable[0] != 's') {
      engine.CreateTable(c.oldTable);
      engine.CreateTable(c.newTable);
    }
    for (const std::string& text : c.pastedText) SharedConnection().Execute(text);
    c.engineCall(bed);
    std::vector<std::string> pasted = StoredCells(c.oldTable), bound = StoredCells(c.newTable);
    ASSERT_FALSE(pasted.empty());
    EXPECT_EQ(bound, pasted);
  }
  EXPECT_TRUE(bed.User().Prompts().empty());
}

}  // namespace
