// The handlers of the engine's events: captions, bars and list rows.
#include <malloc.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <csignal>

#include "platform/runtime/error.h"
#include "ui/pace.h"
#include "window_fixture.h"

namespace {

std::string Text(QLabel* label) { return label->text().toStdString(); }

clsStock Candidate(const char* positioning) {
  clsStock stock;
  stock.AcquireDate = rt::DateSerial(2004, 1, 5);
  stock.Positioning = positioning;
  stock.Symbol = "IBM";
  stock.Market = "ny";
  stock.ClosePrice = 25.125;
  stock.PercentMA = -4;
  stock.RSI = 71;
  stock.MACDFastLine = 0.25;
  stock.Volume = 123456;
  stock.DJ_RSI = 70;
  stock.DJ_MA = 3;
  stock.NS_RSI = 40;
  stock.NS_MA = -2;
  stock.BBDistance = 1.5f;
  stock.RSIChange = -0.5f;
  stock.GainLoss = 3.75;
  stock.PurchasePrice = -1;
  return stock;
}

}  // namespace

TEST_F(WindowTest, PortfolioResultCaptionsRoundHalfToEven) {
  ui::frmMain& w = LoadedWindow();
  w.LoadParms();
  double average = 0.25, hold = 2.125, balance = 16500.4;
  int16_t shorts = 3, longs = 7, winners = 6, losers = 4;
  int32_t start = 15000;
  w.Results(average, hold, shorts, longs, winners, losers, balance, start);
  EXPECT_EQ(Text(w.Label("lblResult", 3)), "0.2");
  EXPECT_EQ(Text(w.Label("lblResult", 4)), "2.12");
  EXPECT_EQ(Text(w.Label("lblResult", 2)), "3--7");
  EXPECT_EQ(Text(w.Label("lblResult", 7)), "6--4");
  EXPECT_EQ(Text(w.Label("lblResult", 15)), "16500");
  EXPECT_EQ(Text(w.Label("lblResult", 11)), "10");

  balance = 0;
  w.Results(average, hold, shorts, longs, winners, losers, balance, start);
  EXPECT_EQ(Text(w.Label("lblResult", 15)), "0");
  EXPECT_EQ(Text(w.Label("lblResult", 11)), "0");

  // A starting investment of 0 shows no return instead of failing.
  Parms().dblStartInvestment = 0;
  balance = 100;
  w.Results(average, hold, shorts, longs, winners, losers, balance, start);
  EXPECT_EQ(Text(w.Label("lblResult", 11)), "0");
}

TEST_F(WindowTest, TradeResultCaptions) {
  ui::frmMain& w = LoadedWindow();
  double average = 1.25, unused = 0;
  int32_t shorts = 7, longs = 35, winners = 12, losers = 30;
  w.BuySellResults(average, shorts, longs, winners, losers, unused, unused);
  EXPECT_EQ(Text(w.Label("lblResult", 22)), "12--30");
  EXPECT_EQ(Text(w.Label("lblResult", 13)), "7--35");
  EXPECT_EQ(Text(w.Label("lblResult", 26)), "1.25");
  average = -0.5;
  w.BuySellResults(average, shorts, longs, winners, losers, unused, unused);
  EXPECT_EQ(Text(w.Label("lblResult", 26)), "-0.5");
}

TEST_F(WindowTest, ProgressHandlersAndTheirBars) {
  ui::frmMain& w = LoadedWindow();
  int32_t count = 1, total = 250;
  w.pbProgress->setRange(0, 7);
  w.Progress(count, total);
  EXPECT_EQ(w.pbProgress->maximum(), 7);
  EXPECT_EQ(Text(w.lblTime), "00:00:00");
  count = 2;
  w.Progress(count, total);
  EXPECT_EQ(w.pbProgress->maximum(), 250);
  EXPECT_EQ(w.pbProgress->value(), 2);
  EXPECT_EQ(Text(w.Label("lblCurrStock", 1)), "# 2 of 250");

  int32_t day = 17;
  w.Progress2(day, total);
  EXPECT_EQ(Text(w.Label("Label1", 4)), "# 17 of 250");
  EXPECT_EQ(w.pbStatus->value(), 17);

  std::string symbol = "IBM";
  int32_t current = 5, symbols = 40;
  bool flag = false, countOnly = true;
  w.StockCount(symbol, symbols, current, flag, countOnly);
  EXPECT_EQ(Text(w.Label("lblCurrStock", 1)), "5 of 40");
  countOnly = false;
  w.StockCount(symbol, symbols, current, flag, countOnly);
  EXPECT_EQ(Text(w.Label("lblCurrStock", 1)), "IBM - 5 of 40");

  // Odd maxima and values never fail the bar.
  symbols = 0;
  current = 9;
  w.StockCount(symbol, symbols, current, flag, countOnly);
  EXPECT_EQ(w.pbProgress->value(), w.pbProgress->maximum());
  current = -3;
  symbols = 10;
  w.StockCount(symbol, symbols, current, flag, countOnly);
  EXPECT_EQ(w.pbProgress->value(), 0);
}

TEST_F(WindowTest, SwingCountersInternetStatusAndMarketConditions) {
  ui::frmMain& w = LoadedWindow();
  std::string stage = "range", symbol = "IBM";
  rt::Date day;
  for (int i = 0; i < 3; ++i) w.Swing(stage, day, symbol);
  stage = "RANGE";
  w.Swing(stage, day, symbol);
  stage = "macd";
  w.Swing(stage, day, symbol);
  EXPECT_EQ(Text(w.Label("lblSimOption", 40)), "3");
  EXPECT_EQ(Text(w.Label("lblSimOption", 43)), "1");
  w.Label("lblSimOption", 41)->setText("2147483647");
  stage = "price";
  EXPECT_THROW(w.Swing(stage, day, symbol), rt::Error);

  bool busy = true;
  w.Interneting(busy, symbol);
  EXPECT_EQ(Text(w.Label("lblStatus", 0)), "Updating --IBM--");
  EXPECT_EQ(w.Label("lblStatus", 0)->palette().color(QPalette::WindowText), QColor(0, 64, 0));
  busy = false;
  w.Interneting(busy, symbol);
  EXPECT_EQ(Text(w.Label("lblStatus", 0)), "Connected to Internet");
  EXPECT_EQ(w.Label("lblStatus", 0)->palette().color(QPalette::WindowText), QColor(192, 0, 0));

  int16_t djMA = -3, djRSI = 61, nsMA = 4, nsRSI = 38;
  w.MarketConditions(djMA, djRSI, nsMA, nsRSI);
  EXPECT_EQ(Text(w.Label("Label2", 10)), "-3");
  EXPECT_EQ(Text(w.Label("Label2", 9)), "61");
  EXPECT_EQ(Text(w.Label("Label2", 8)), "4");
  EXPECT_EQ(Text(w.Label("Label2", 7)), "38");
}

// A SHORT winner's index values are shown and stored mirrored once; read back
// from the table (Open Simulation) the row shows what it showed during the run.
TEST_F(WindowTest, WinnerRowsMirrorShortsAndShowStoredResults) {
  ui::frmMain& w = LoadedWindow();
  w.LoadParms();
  Parms().strSimTable = "sim_handler";
  w.objResearch->CreateSimulationTable("sim_handler");
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  clsStock shortOne = Candidate("SHORT");
  bool store = true;
  w.Winner(shortOne, store);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Text(0, 0), "1/5/2004");
  EXPECT_EQ(list.Text(0, 3), "25.12");
  EXPECT_EQ(list.Text(0, 10), "30");
  EXPECT_EQ(list.Text(0, 11), "-3");
  EXPECT_EQ(list.Text(0, 12), "60");
  EXPECT_EQ(list.Text(0, 13), "2");
  EXPECT_EQ(list.Text(0, 15), "1.5");
  EXPECT_EQ(list.Text(0, 16), "-0.5");
  EXPECT_EQ(list.Text(0, 18), "20040105");
  EXPECT_EQ(shortOne.DJ_RSI, 70);  // the engine's record is only read
  const auto firstRow = [&list] {
    QStringList cells;
    for (int column = 0; column <= 16; ++column) cells << list.Text(0, column);
    return cells;
  };
  const QStringList duringRun = firstRow();
  list.Clear();
  w.objResearch->LoadWinners();
  EXPECT_EQ(firstRow(), duringRun);

  clsStock longOne = Candidate("LONG");
  store = false;
  w.Winner(longOne, store);
  EXPECT_EQ(list.Text(1, 10), "70");
  EXPECT_EQ(list.Text(1, 13), "-2");
  EXPECT_EQ(list.Text(1, 17), "3.75");  // a reloaded row shows its stored result
}

TEST_F(WindowTest, AStoredWinnerIsWrittenAndItsTradeResultFindsItsRow) {
  ui::frmMain& w = LoadedWindow();
  w.LoadParms();
  Parms().strSimTable = "sim_handler";
  w.objResearch->CreateSimulationTable("sim_handler");
  clsStock stock = Candidate("LONG");
  bool store = true;
  w.Winner(stock, store);
  EXPECT_EQ(w.objResearch->QueryDB("SELECT AcquirePrice FROM [sim_handler]"), "25.12");
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  EXPECT_EQ(list.Text(0, 17), "");

  w.Check("chkCalculateResults")->SetValue(1);
  rt::Date day = stock.AcquireDate;
  std::string symbol = "IBM", side = "LONG", otherSide = "SHORT";
  double gain = -2.5, price = 25.3;
  w.UpdateWinnerView(day, symbol, otherSide, gain, price);  // no such row: nothing happens
  EXPECT_EQ(list.Text(0, 17), "");
  w.UpdateWinnerView(day, symbol, side, gain, price);
  EXPECT_EQ(list.Text(0, 17), "-2.5");
  EXPECT_EQ(list.Text(0, 3), "25.12");  // a Select's row keeps its signal day's close

  // Read back from the table, a row shows the price the Trade stage stores.
  list.Clear();
  store = false;
  w.Winner(stock, store);
  w.UpdateWinnerView(day, symbol, side, gain, price);
  EXPECT_EQ(list.Text(0, 3), "25.3");
}

// A reloaded simulation of a hundred thousand winners, the event loop served
// at the handler's yields as the program serves it: the list keeps a few
// megabytes of its rows in memory and the others in a temporary file, and
// its view hears of them in a few batches and is shown no more than it can
// use, however long the list grows. A Trade stage's result reaches a row the
// file holds, by its key, through a table of keys made while the window is
// served. A header click sorts them all (in several runs of
// keys merged), rows of equal keys in the order they had. When the file
// fills up, the rows it cannot take stay in memory, and none is lost.
TEST_F(WindowTest, AHundredThousandWinnersCostFewBytesEachReachTheViewInBatchesAndSort) {
  ui::frmMain& w = LoadedWindow();
  w.Check("chkCalculateResults")->SetValue(1);
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  ui::Pace pace(ui::kDisplayInterval);
  int yields = 0;
  scripted->OnDoEvents([&pace, &yields](int) {
    ++yields;
    if (pace.Due()) QCoreApplication::processEvents();
  });
  int insertions = 0;
  QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&insertions] { ++insertions; });
  auto allocated = [] {
    struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
  };
  struct Case {
    const char* name;
    rlim_t fileBytes;  // the largest file the process may write
    double bytesPerRow;
    // The order toggles on every click, the list cleared or not: the second
    // case's first click sorts descending, its second ascending again.
    int clicks;
  };
  for (const Case& c : {Case{"a temporary file takes the rows", RLIM_INFINITY, 64, 1},
                        Case{"the temporary file fills up", 1 << 20, 256, 2}}) {
    SCOPED_TRACE(c.name);
    list.Clear();
    insertions = 0;
    struct rlimit unlimited {};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    struct rlimit limit = unlimited;
    limit.rlim_cur = c.fileBytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    auto* oldSignal = std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
    const size_t before = allocated();
    constexpr int kRows = 100000;
    clsStock stock = Candidate("LONG");
    bool store = false;
    rt::Date firstDay = rt::DateSerial(2000, 1, 3);
    std::string firstSymbol = "S0", firstSide = "LONG";
    double gain = -2.5, price = 25.3;
    for (int i = 0; i < kRows; ++i) {
      stock.AcquireDate = rt::DateSerial(2000, 1, 3 + i / 200);
      stock.Symbol = "S" + std::to_string(i % 100);
      stock.Positioning = i % 2 ? "SHORT" : "LONG";
      stock.MACDFastLine = i * 0.001;
      stock.Volume = i;
      w.Winner(stock, store);
    }
    QCoreApplication::processEvents();
    const double bytesPerRow = static_cast<double>(allocated() - before) / kRows;
    // The first look-up of a run makes its table of keys over every row, and
    // serves the window as it goes (the handler's own yield comes after).
    yields = 0;
    w.UpdateWinnerView(firstDay, firstSymbol, firstSide, gain, price);
    EXPECT_GE(yields, 2);
    ASSERT_EQ(list.Count(), kRows);
    EXPECT_EQ(list.Text(kRows - 1, 7), "99999");
    EXPECT_EQ(list.Text(0, 17), "-2.5");
    EXPECT_LT(bytesPerRow, c.bytesPerRow);
    EXPECT_LE(insertions, 10);
    EXPECT_LT(list.model()->rowCount(), kRows);

    for (int click = 0; click < c.clicks; ++click) emit list.header()->sectionClicked(2);  // "Symbol"
    for (int row = 1; row < kRows; ++row) {
      const int order = list.Text(row - 1, 2).compare(list.Text(row, 2), Qt::CaseInsensitive);
      if (order > 0 || (order == 0 && list.Text(row - 1, 7).toInt() > list.Text(row, 7).toInt())) {
        ADD_FAILURE() << "out of order at row " << row;
        break;
      }
    }
    EXPECT_EQ(list.Text(0, 17), "-2.5");  // the first "S0" row
    std::signal(SIGXFSZ, oldSignal);
    setrlimit(RLIMIT_FSIZE, &unlimited);
  }
}

TEST_F(WindowTest, PortfolioRowsAndDaySeparators) {
  ui::frmMain& w = LoadedWindow();
  ui::ListView& list = *ui::ResultsWindow().lvwPortfolio;
  clsStock held = Candidate("LONG");
  held.CurrentDate = rt::DateSerial(2004, 2, 3);
  held.BoughtDate = rt::DateSerial(2004, 1, 6);
  held.AmountPurchased = 5000;
  held.SharesPurchased = 199;
  held.PurchasePrice = 25.1;
  bool done = false;
  Parms().blnCalculateResults = false;
  w.UpdateDisplay(held, done);
  EXPECT_EQ(list.Count(), 0);
  done = true;
  w.UpdateDisplay(held, done);  // the day's separator comes whatever the switch
  EXPECT_EQ(list.Count(), 1);

  Parms().blnCalculateResults = true;
  done = false;
  w.UpdateDisplay(held, done);
  w.UpdateDisplay(held, done);
  done = true;
  w.UpdateDisplay(held, done);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(1, 0), "2/3/2004");
  EXPECT_EQ(list.Text(1, 3), "1/6/2004");
  EXPECT_EQ(list.Text(1, 5), "199");
  EXPECT_EQ(list.Text(1, 7), "25.1");
  EXPECT_EQ(list.Text(1, 12), "20040203");
  EXPECT_EQ(list.Text(1, 13), "20040106");
  EXPECT_EQ(list.Text(1, 14), "18991230");  // not released yet: the zero date
  EXPECT_EQ(list.Text(3, 0), "");
}
