// The Trade stage's history cache gives every row exactly what LoadData
// gives: the same day records, the same result, the same end date.
#include "simulation/trade_history_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "support/engine_test_bed.h"
#include "trade_table.h"

using namespace tradetest;

namespace {

// A shipped history file (Date,Open,High,Low,Close,Adj Close,Volume) stored
// as the quote table of its symbol.
void StoreShippedHistory(clsResearch& engine, const std::string& symbol) {
  engine.CreateTable(symbol);
  std::ifstream file(std::string(KESTROVANE_DATA_DIR) + "/" + symbol + ".csv");
  ASSERT_TRUE(file) << symbol;
  std::string line;
  std::getline(file, line);  // header
  db::Connection& cn = SharedConnection();
  cn.BeginTrans();
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::stringstream fields(line);
    std::string date, open, high, low, close, adjClose, volume;
    std::getline(fields, date, ',');
    std::getline(fields, open, ',');
    std::getline(fields, high, ',');
    std::getline(fields, low, ',');
    std::getline(fields, close, ',');
    std::getline(fields, adjClose, ',');
    std::getline(fields, volume, ',');
    cn.Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], [High], [Low], [Close], Adj_Close, Volume) VALUES ('" +
               date + "', " + open + ", " + high + ", " + low + ", " + close + ", " + adjClose + ", " + volume + ")");
  }
  cn.CommitTrans();
}

struct Loaded {
  rt::Date result, start, end;
  DayRecords days;
};

// The days the Trade rules read: every field they look at.
void ExpectSameDays(const DayRecords& expected, const DayRecords& actual, const std::string& what) {
  ASSERT_EQ(expected.size(), actual.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) {
    const DayRecord& e = expected[i];
    const DayRecord& a = actual[i];
    ASSERT_EQ(e.datDamnDate, a.datDamnDate) << what << " day " << i;
    ASSERT_EQ(e.strClose, a.strClose) << what << " day " << i;
    ASSERT_EQ(e.strOpen, a.strOpen) << what << " day " << i;
    ASSERT_EQ(e.strHigh, a.strHigh) << what << " day " << i;
    ASSERT_EQ(e.strLow, a.strLow) << what << " day " << i;
  }
}

// Of LoadData's days, the ones a row's rules can reach: from the signal day
// (or the newest day when the signal is not loaded) to the newest.
DayRecords Reachable(const DayRecords& days, rt::Date signal) {
  size_t n = 0;
  while (n < days.size() && days[n].datDamnDate >= signal.DateOnly()) ++n;
  return DayRecords(days.begin(), days.begin() + static_cast<long>(std::max<size_t>(n, 1)));
}

class TradeHistoryCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parms().intWinDays = 105;
    Parms().blnUseInternet = false;
  }

  Loaded Direct(std::string symbol, rt::Date start, rt::Date end) {
    int16_t lookBack = Parms().intWinDays;
    Loaded loaded;
    loaded.result = bed_.Engine().LoadData(symbol, start, end, lookBack);
    loaded.start = start;
    loaded.end = end;
    loaded.days = udtStockDays;
    return loaded;
  }
  // The days the rules would read after the cache answered.
  Loaded Cached(clsResearch::TradeHistoryCache& cache, std::string symbol, rt::Date start, rt::Date end) {
    int16_t lookBack = Parms().intWinDays;
    udtStockDays.assign(3, DayRecord{});  // whatever an earlier row left
    Loaded loaded;
    clsResearch::TradeHistoryCache::Served served = cache.Load(symbol, start, end, lookBack);
    loaded.result = served.result;
    loaded.start = start;
    loaded.end = end;
    loaded.days = Reachable(udtStockDays, start);  // LoadData answered
    if (served.days) {
      loaded.days.clear();
      for (const trade::HeldDay& held : *served.days) {
        const trade::PriceDay& d = held.Prices();
        DayRecord& day = loaded.days.emplace_back();
        day.datDamnDate = d.datDamnDate;
        day.strClose = d.strClose;
        day.strLow = d.strLow;
        day.strHigh = d.strHigh;
        day.strOpen = d.strOpen;
      }
    }
    return loaded;
  }
  void ExpectSame(clsResearch::TradeHistoryCache& cache, const std::string& symbol, rt::Date start, rt::Date end) {
    std::string what = symbol + " " + rt::FormatDate(start) + " - " + rt::FormatDate(end);
    Loaded direct = Direct(symbol, start, end);
    Loaded cached = Cached(cache, symbol, start, end);
    EXPECT_EQ(direct.result, cached.result) << what;
    EXPECT_EQ(direct.start, cached.start) << what;
    EXPECT_EQ(direct.end, cached.end) << what;
    if (direct.result != NotEnoughData()) ExpectSameDays(Reachable(direct.days, start), cached.days, what);
  }

  testsupport::EngineTestBed bed_;
};

TEST_F(TradeHistoryCacheTest, WindowsOfShippedHistoriesMatchLoadData) {
  // AAPL has splits (rescaled prices), IBM an adjusted close far below its close.
  StoreShippedHistory(bed_.Engine(), "AAPL");
  StoreShippedHistory(bed_.Engine(), "IBM");
  clsResearch::TradeHistoryCache cache(bed_.Engine());
  rt::Date first = rt::CDate("1/3/2000"), last = rt::CDate("11/16/2020");
  for (const std::string symbol : {"AAPL", "IBM"}) {
    // Signals before the history, at its start (too little look-back), all
    // through it on weekdays and weekends, and periods ending past it.
    for (rt::Date signal = first - 30; signal < last + 10; signal = signal + 97) {
      ExpectSame(cache, symbol, signal, signal + 150);
      ExpectSame(cache, symbol, signal, last + 40);
    }
    ExpectSame(cache, symbol, first + 104, first + 300);
    ExpectSame(cache, symbol, first + 110, first + 300);
  }
  EXPECT_EQ(cache.SymbolsRead(), 2u);
  EXPECT_EQ(cache.RowsHandedToLoadData(), 0);
}

TEST_F(TradeHistoryCacheTest, OddTablesAreAnsweredAsLoadDataAnswersThem) {
  Parms().intWinDays = 3;
  Bars bars = RisingBars();
  bars[4].close = 0;  // a day without a close is left out
  StoreQuotes(bed_.Engine(), "GAP", bars);
  StoreQuotes(bed_.Engine(), "BAD", RisingBars());
  bed_.Execute("UPDATE [BAD] SET Adj_Close = 0 WHERE DamnDate = #3/9/2004#");
  clsResearch::TradeHistoryCache cache(bed_.Engine());

  ExpectSame(cache, "GAP", rt::CDate("3/2/2004"), rt::CDate("3/12/2004"));
  ExpectSame(cache, "GAP", rt::CDate("3/8/2004"), rt::CDate("3/20/2004"));
  EXPECT_EQ(cache.RowsHandedToLoadData(), 0);

  // A day with an adjusted close of 0 is left out as well.
  ExpectSame(cache, "BAD", rt::CDate("3/2/2004"), rt::CDate("3/12/2004"));
  ExpectSame(cache, "BAD", rt::CDate("3/2/2004"), rt::CDate("3/5/2004"));
  EXPECT_EQ(cache.RowsHandedToLoadData(), 0);

  // Prices near zero or far beyond six characters (an adjusted close whose
  // text is cut to "-0.000" is left out), and a day that fails to read (no
  // volume), which only LoadData answers.
  StoreQuotes(bed_.Engine(), "ODD", RisingBars());
  bed_.Execute("UPDATE [ODD] SET [Close] = 0.0005, Adj_Close = -0.0001234 WHERE DamnDate = #3/2/2004#");
  bed_.Execute("UPDATE [ODD] SET [Close] = 0.0005, Adj_Close = 0.0005 WHERE DamnDate = #3/3/2004#");
  bed_.Execute("UPDATE [ODD] SET [Close] = 0.001, Adj_Close = 0.001 WHERE DamnDate = #3/4/2004#");
  bed_.Execute("UPDATE [ODD] SET Adj_Close = 123456789012345678 WHERE DamnDate = #3/5/2004#");
  bed_.Execute("UPDATE [ODD] SET Volume = NULL WHERE DamnDate = #3/9/2004#");
  ExpectSame(cache, "ODD", rt::CDate("3/1/2004"), rt::CDate("3/8/2004"));
  EXPECT_EQ(cache.RowsHandedToLoadData(), 0);
  bed_.User().AnswerMsgBox(user::kAnswerOK, "Invalid use of Null").AnswerMsgBox(user::kAnswerOK, "Invalid use of Null");
  ExpectSame(cache, "ODD", rt::CDate("3/1/2004"), rt::CDate("3/12/2004"));
  EXPECT_EQ(cache.RowsHandedToLoadData(), 1);

  // No table: LoadData creates it, and the result is "not enough data".
  ExpectSame(cache, "NONE", rt::CDate("3/2/2004"), rt::CDate("3/12/2004"));
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
}

TEST_F(TradeHistoryCacheTest, AWindowThatWouldAskForTheInceptionDateGoesToLoadData) {
  // With downloads allowed, a start before the stored history looks up the
  // symbol's inception date in the database: only LoadData does that.
  Parms().intWinDays = 3;
  Parms().blnUpdateData = true;
  StoreQuotes(bed_.Engine(), "RISE", RisingBars());
  clsResearch::TradeHistoryCache cache(bed_.Engine());
  ExpectSame(cache, "RISE", rt::CDate("3/5/2004"), rt::CDate("3/12/2004"));  // inside: served
  EXPECT_EQ(cache.RowsHandedToLoadData(), 0);
  ExpectSame(cache, "RISE", rt::CDate("2/20/2004"), rt::CDate("3/12/2004"));
  EXPECT_EQ(cache.RowsHandedToLoadData(), 1);
}

TEST_F(TradeHistoryCacheTest, EveryOrderStopAndExitRuleTradesAsOnLoadData) {
  // A run serves each row's days from the cache; trading the same row on its
  // own loads them with LoadData. Both must store the same trade.
  StoreShippedHistory(bed_.Engine(), "AAPL");
  StoreShippedHistory(bed_.Engine(), "IBM");
  RunParameters& p = Parms();
  p.strSimTable = "sim_rules";
  p.strSimEnd = "6/30/2016";
  p.strPurchasePrice = "% of Close";
  p.intLimitPercent = 1;
  p.intLifeofOrder = 3;
  p.intInitStopPercent = 4;
  p.intProfitable = 3;
  p.intDecline = 2;
  p.intMaxDays = 15;
  p.intSellBuffer = 1;
  bed_.Engine().CreateSimulationTable("sim_rules");
  for (const char* symbol : {"AAPL", "IBM"})
    for (rt::Date signal = rt::CDate("1/4/2016"); signal < rt::CDate("7/2/2016"); signal = signal + 23)
      for (const char* side : {"LONG", "SHORT"})
        AddCandidate(bed_.Engine(), "sim_rules", rt::FormatDate(signal).c_str(), symbol, side);
  const std::string columns = "AcquirePrice, Bought, ReleasePrice, ReleaseDate, BoughtDate, GainLoss";
  auto stored = [&](const std::string& where) {
    db::Recordset rs = SharedConnection().OpenRecordset("SELECT " + columns + " FROM [sim_rules] " + where);
    std::string row;
    for (int f = 0; f < rs.FieldCount(); ++f) row += rs.Field(f).ToText() + "|";
    return row;
  };

  for (const char* order : {"Market", "Limit", "Stop"})
    for (const char* stop : {"%Loss", "Previous Day's Low/High"})
      for (const char* exit : {"ProfitableLoss", "New Extreme Low/High"})
        for (bool maxAge : {false, true}) {
          p.strTypeOfPurchase = order;
          p.strInitStop = stop;
          p.strPriceUpdate = exit;
          p.blnMaxAge = maxAge;
          p.blnUseSellLoss = maxAge ? 1 : 0;
          SCOPED_TRACE(std::string(order) + ", " + stop + ", " + exit + (maxAge ? ", max age" : ""));
          bed_.Engine().TradeState().dblGainLoss = 0;  // as a run leaves it
          bed_.Engine().BuildResults();
          db::Recordset rows =
              SharedConnection().OpenRecordset("SELECT AcquireDate, Symbol, Positioning FROM [sim_rules]");
          for (; !rows.Eof(); rows.MoveNext()) {
            rt::Date date = rows.Field(0).ToDate(), end = rt::CDate(p.strSimEnd);
            std::string symbol = rows.Field(1).ToText(), side = rows.Field(2).ToText();
            std::string where = "WHERE AcquireDate = #" + rt::FormatDate(date) + "# AND Symbol = '" + symbol +
                                "' AND Positioning = '" + side + "'";
            std::string fromCache = stored(where);
            SharedConnection().Execute("UPDATE [sim_rules] SET AcquirePrice = -1, Bought = NULL, ReleasePrice = NULL, "
                                       "ReleaseDate = NULL, GainLoss = NULL " +
                                       where);
            bed_.Engine().TradeState().dblGainLoss = 0;  // as BuildResults leaves it between rows
            bed_.Engine().UpdateTargetPrice(date, end, symbol, side);
            ASSERT_EQ(stored(where), fromCache) << where;
          }
        }
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

}  // namespace
