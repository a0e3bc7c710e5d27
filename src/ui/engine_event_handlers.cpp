// The handlers of the engine's events (objResearch_Winner and its siblings):
// progress, status, the result labels and the rows of the results window.
// Most yield once at their end, which is when Pause and Stop take effect.
// The result labels' captions are also the cells of the sweep reports.
#include <algorithm>
#include <cstdint>

#include "market_data/run_parameters.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "platform/user/user_services.h"
#include "simulation/simulation_table.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/results_window.h"

namespace ui {
namespace {

void Yield() { user::DoEvents(); }

QString Number(double value) { return Q(rt::FormatNumber(value)); }
QString Whole(int64_t value) { return Q(std::to_string(value)); }
QString Pair(int64_t first, int64_t second) { return Whole(first) + "--" + Whole(second); }
QString Rounded(double value, int places) { return Number(rt::Round(value, places)); }

// Sets a bar's maximum and value; odd maxima and values never fail.
void SetBar(QProgressBar* bar, double maximum, double value) {
  const DrawnLater drawing(bar);
  int top = maximum >= 1 ? static_cast<int>(std::min<double>(maximum, INT32_MAX)) : 1;
  bar->setRange(0, top);
  bar->setValue(static_cast<int>(std::clamp<double>(value, 0, top)));
}

void SetColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

void frmMain::Winner(clsStock& stock, bool& store) {
  try {
    // A row read back from the simulation table holds the values as shown.
    const simulation::IndexValuesShown index =
        store ? simulation::ShownIndexValues(stock)
              : simulation::IndexValuesShown{stock.DJ_RSI, stock.DJ_MA, stock.NS_RSI, stock.NS_MA};
    ResultsWindow().lvwWinners->AddRow(
        {Cell::Date(stock.AcquireDate), Cell::Text(stock.Positioning), Cell::Text(stock.Symbol),
         Cell::Number(rt::Round(stock.ClosePrice, 2)), Cell::Whole(stock.PercentMA), Cell::Whole(stock.RSI),
         Cell::Number(stock.MACDFastLine), Cell::Whole(stock.Volume), Cell::Number(stock.PriceChange),
         Cell::Number(stock.VolumeChange), Cell::Whole(index.DJ_RSI), Cell::Whole(index.DJ_MA),
         Cell::Whole(index.NS_RSI), Cell::Whole(index.NS_MA), Cell::Text(stock.Market), Cell::Single(stock.BBDistance),
         Cell::Single(stock.RSIChange), store ? Cell::Empty() : Cell::Number(stock.GainLoss)});
    winnersReadBack_ = !store;
    if (store) {
      objResearch->LogWinner(simulation::WinnerInsertStatement(stock, Parms().strSimTable, Parms().intDatabaseType));
    }
  } catch (const std::exception& error) {
    ShowError(error);
    return;
  }
  Yield();
}

void frmMain::UpdateWinnerView(rt::Date& acquireDate, std::string& symbol, std::string& positioning, double& gainLoss,
                               double& acquirePrice) {
  try {
    if (Check("chkCalculateResults")->Value() == 1) {
      // A row read back shows the price the table now holds for it (it showed
      // -1 while a stopped stage had it reset); a Select's row keeps its
      // signal day's close.
      const Cell gain = Cell::Number(gainLoss);
      const Cell price = Cell::Number(rt::Round(acquirePrice, 2));
      const std::initializer_list<Cell> key = {Cell::Date(acquireDate), Cell::Text(positioning), Cell::Text(symbol)};
      ListView& winners = *ResultsWindow().lvwWinners;
      if (winnersReadBack_)
        winners.SetByKey(key, {{frmResults::kWinnersGainLossColumn, gain}, {frmResults::kWinnersCloseColumn, price}});
      else winners.SetByKey(key, {{frmResults::kWinnersGainLossColumn, gain}});
    }
  } catch (const std::exception&) {
    // A row that cannot be shown is passed over.
  }
  Yield();
}

void frmMain::TotalStocks(int16_t& count) { totalStocks_ = count; }

void frmMain::StockCount(std::string& symbol, int32_t& total, int32_t& index, bool&, bool& countOnly) {
  // Raised on every scanned day of every symbol: the display follows at most
  // every few hundredths of a second, and always on a symbol's first and
  // last day and on each symbol of an import, while Pause and Stop land
  // every day.
  const bool newSymbol = !countOnly && symbol != symbolInHand_;
  if (!countOnly) symbolInHand_ = symbol;
  if (countOnly || newSymbol || index >= total || stockCountPace_.Due()) {
    QString count = Whole(index) + " of " + Whole(total);
    // A pending Pause keeps saying what it waits for; a total of 0 is a
    // text alone (what a long step of the run is doing).
    if (!(objResearch && objResearch->PauseProcess()))
      Label("lblCurrStock", 1)->setText(total == 0 ? Q(symbol) : countOnly ? count : Q(symbol) + " - " + count);
    SetBar(pbProgress, total, index);
    lblTime->setText(Q(ElapsedTime()));
  }
  Yield();
}

void frmMain::UpdateProgress(int32_t& daysReached, int32_t& daysInRange, int32_t&) {
  // A long download shows how far back in its range the pages have reached.
  SetBar(pbProgress, daysInRange, daysReached);
  lblTime->setText(Q(ElapsedTime()));
  // Between two pages the download goes on: the status keeps saying so.
  if (daysReached < daysInRange) ShowUpdating(symbolInHand_);
  Yield();
}

void frmMain::Progress(int32_t& count, int32_t& total) {
  if (count > 1) {
    SetBar(pbProgress, total, count);
    Label("lblCurrStock", 1)->setText("# " + Whole(count) + " of " + Whole(total));
    Yield();
  }
  lblTime->setText(Q(ElapsedTime()));
  Yield();
}

void frmMain::Progress2(int32_t& day, int32_t& total) {
  // Raised once per simulated day, hundreds of times per sweep variation: the
  // display follows at most every few hundredths of a second and at the end
  // of the replay (ShowDayProgress), while Pause and Stop land every day.
  dayProgress_ = {day, total};
  if (dayProgressPace_.Due()) ShowDayProgress();
  Yield();
}

void frmMain::ShowDayProgress() {
  if (!dayProgress_) return;
  const auto [day, total] = *dayProgress_;
  dayProgress_.reset();
  if (day > 1) {
    SetBar(pbStatus, total, day);
    Label("Label1", 4)->setText("# " + Whole(day) + " of " + Whole(total));
  }
  lblTime->setText(Q(ElapsedTime()));
}

void frmMain::Results(double& averageReturn, double& averageHold, int16_t& shorts, int16_t& longs, int16_t& winners,
                      int16_t& losers, double& balance, int32_t& startBalance) {
  Label("lblResult", 3)->setText(Rounded(averageReturn, 1));
  Label("lblResult", 4)->setText(Rounded(averageHold, 2));
  Label("lblResult", 2)->setText(Pair(shorts, longs));
  Label("lblResult", 7)->setText(Pair(winners, losers));
  Label("lblResult", 15)->setText(Rounded(balance, 0));
  // A starting investment of 0 gives no return to divide by.
  double investment = Parms().dblStartInvestment;
  bool noReturn = balance <= 0 || investment == 0;
  Label("lblResult", 11)->setText(noReturn ? "0" : Rounded((balance - startBalance) / investment * 100, 0));
  portfolioResultsShown_ = true;
  Yield();
}

void frmMain::Swing(std::string& stage, rt::Date&, std::string&) {
  static const std::pair<const char*, int> kCounters[] = {{"range", 40}, {"price", 41}, {"volume", 42}, {"macd", 43}};
  for (const auto& [name, label] : kCounters) {
    if (stage != name) continue;
    QLabel* counter = Label("lblSimOption", label);
    int64_t next = static_cast<int64_t>(rt::CLng(S(counter->text()))) + 1;
    if (next > INT32_MAX) rt::RaiseOverflow();
    counter->setText(Whole(next));
  }
  Yield();
}

void frmMain::ShowUpdating(const std::string& symbol) {
  QLabel* status = Label("lblStatus", 0);
  SetColour(status, QColor(0, 64, 0));
  status->setText("Updating --" + Q(symbol) + "--");
}

void frmMain::Interneting(bool& busy, std::string& symbol) {
  QLabel* status = Label("lblStatus", 0);
  if (busy) {
    lblTime->setText(Q(ElapsedTime()));
    if (symbol != symbolInHand_) SetBar(pbProgress, 1, 0);  // a new download: nothing fetched yet
    symbolInHand_ = symbol;
    ShowUpdating(symbol);
  } else {
    SetColour(status, QColor(192, 0, 0));
    const std::string failure = objResearch ? objResearch->LastDownloadFailure() : "";
    status->setText(failure.empty() ? QString("Connected to Internet")
                                    : "Not updated --" + Q(symbol) + "--: " + Q(failure));
    lblTime->setText(Q(ElapsedTime()));
  }
  Yield();
}

void frmMain::BuySellResults(double& average, int32_t& shorts, int32_t& longs, int32_t& winners, int32_t& losers,
                             double&, double&) {
  Label("lblResult", 22)->setText(Pair(winners, losers));
  Label("lblResult", 13)->setText(Pair(shorts, longs));
  Label("lblResult", 26)->setText(Number(average));
}

void frmMain::MarketConditions(int16_t& djiMA, int16_t& djiRSI, int16_t& nasdaqMA, int16_t& nasdaqRSI) {
  Label("Label2", 10)->setText(Whole(djiMA));
  Label("Label2", 9)->setText(Whole(djiRSI));
  Label("Label2", 8)->setText(Whole(nasdaqMA));
  Label("Label2", 7)->setText(Whole(nasdaqRSI));
  Yield();
}

void frmMain::UpdateDisplay(clsStock& stock, bool& done) {
  ListView& list = *ResultsWindow().lvwPortfolio;
  if (done) {
    list.AddRow({});
  } else if (Parms().blnCalculateResults) {
    list.AddRow({Cell::Date(stock.CurrentDate), Cell::Text(stock.Symbol), Cell::Text(stock.Positioning),
                 Cell::Date(stock.BoughtDate), Cell::Number(stock.AmountPurchased), Cell::Whole(stock.SharesPurchased),
                 Cell::Whole(stock.PercentMA), Cell::Number(stock.PurchasePrice), Cell::Date(stock.ReleaseDate),
                 Cell::Whole(stock.Volume), Cell::Text(stock.Market), Cell::Number(stock.GainLoss)});
  }
  Yield();
}

}  // namespace ui
