// The Trade stage's driver: reset the trade columns of the simulation table,
// trade its rows one by one (load the history, enter, walk, store) and sum
// up the results for the main window.
#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "market_data/run_parameters.h"
#include "platform/db/bound_statement.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/write_group.h"
#include "platform/runtime/error.h"
#include "platform/runtime/named_list.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "platform/user/user_services.h"
#include "simulation/portfolio_records.h"
#include "simulation/simulation_table_key.h"
#include "simulation/table_steps.h"
#include "simulation/trade_days.h"
#include "simulation/trade_history_cache.h"
#include "simulation/trade_walk_order.h"

namespace {

// The error's number and text as the trace and the messages show them.
struct ErrorText {
  int32_t number = 0;
  std::string description;
};

ErrorText Describe(const std::exception& e) {
  if (const auto* error = dynamic_cast<const rt::Error*>(&e)) return {error->Number(), error->Description()};
  return {0, e.what()};
}

// Keeps the Trade stage offline for one load and puts the switch back after.
class OfflineScope {
 public:
  OfflineScope() : saved_(Parms().blnUseInternet) { Parms().blnUseInternet = false; }
  ~OfflineScope() { Parms().blnUseInternet = saved_; }
  OfflineScope(const OfflineScope&) = delete;
  OfflineScope& operator=(const OfflineScope&) = delete;

 private:
  bool saved_;
};

// The row's UPDATE, its values bound as the pasted text carried them:
// numbers in their plain text form, dates as date literals (Jet) or as their
// default text (SQL Server). No statement for any other database kind, and
// running the empty text fails.
db::BoundStatement ResultStatement(const clsResearch::TradePosition& trade, const std::string& bought) {
  const RunParameters& parms = Parms();
  if (parms.intDatabaseType != 1 && parms.intDatabaseType != 2) return {};
  auto date = [&](rt::Date d) { return parms.intDatabaseType == 1 ? db::Value(d) : db::Value(rt::FormatDate(d)); };
  return {"UPDATE [" + db::SqlName(parms.strSimTable) +
              "] SET AcquirePrice = ?, Bought = ?, ReleasePrice = ?, ReleaseDate = ?, BoughtDate = ?, GainLoss = ? "
              "WHERE AcquireDate = ? AND Symbol = ? AND Positioning = ?",
          {db::PastedNumber(rt::Round(trade.dblAcquirePrice, 2)), db::Value(bought),
           db::PastedNumber(rt::Round(trade.dblReleasePrice, 2)), date(trade.datReleaseDate), date(trade.datBoughtDate),
           db::PastedNumber(trade.dblGainLoss), date(trade.datAcquireDate), db::Value(trade.strSymbol),
           db::Value(trade.strPositioning)}};
}

// Trade rows are committed in blocks of this many (and at the end or a Stop).
constexpr size_t kRowsPerCommit = 250;

// Untraded rows named on the status line; the rest are counted.
constexpr size_t kRowsNamed = 3;

// "2 rows" and the first few of them by name, "and 5 more" for the rest.
std::string CountAndNames(int32_t count, const std::vector<std::string>& named) {
  return std::to_string(count) + (count == 1 ? " row" : " rows") + " (" +
         rt::NamedAndMore(named, static_cast<size_t>(std::max(count, 0))) + ")";
}

constexpr const char* kUnableToUpdate = "Unable to update simulation table.";

}  // namespace

void clsResearch::BuildResults() {
  const RunParameters& parms = Parms();
  lngRowsNotTraded_ = 0;
  rowsShortOfHistory_ = rowsUnreadable_ = UntradedRows{};
  WriteRun run(*this, WriteRun::Pages::kRewritten);
  stageEnd_ = StageEnd::kComplete;
  try {
    ResetPortfolio();
    user::DoEvents();
    std::string table = db::SqlName(parms.strSimTable);
    // A Select killed before its end left the table without the key by
    // which each row's result is stored.
    if (std::string refused = simulation::KeyTable(SharedConnection(), table); !refused.empty())
      ShowRowFailure(refused, user::kOKOnly);
    simulation::RunInSteps(SharedConnection(), table,
                           "Update [" + table +
                               "] SET Bought = NULL, MaxPrice = 0, MinPrice = 0, TargetPrice = NULL, AcquirePrice = "
                               "-1, Shares = NULL, ReleaseDate = NULL, GainLoss = NULL, ReleasePrice = NULL");
    const std::vector<trade::Candidate> rows = trade::CandidatesInPasses(SharedConnection(), table);
    int32_t total = static_cast<int32_t>(rows.size());
    int32_t count = 0;
    // Rows of one symbol share its stored history, held until they are traded.
    TradeHistoryCache cache(*this);
    historyCache_ = &cache;
    struct Detach {
      TradeHistoryCache*& cache;
      ~Detach() { cache = nullptr; }
    } detach{historyCache_};
    db::WriteGroup results(SharedConnection());
    GroupInUse inUse(*this, results);

    for (const trade::Candidate& row : rows) {
      // Pause does not interrupt this stage; Stop ends it between rows, and
      // so does a write that failed for a lasting reason.
      if (StageStopped() || WritesEnded()) break;
      ++count;
      user::DoEvents();
      int32_t progressCount = count, progressTotal = total;
      Raise(&ResearchEvents::Progress, progressCount, progressTotal);

      rt::Date acquireDate = row.acquireDate;
      std::string symbol = row.symbol;
      std::string positioning = row.positioning;
      rt::Date endDate = rt::CDate(parms.strSimEnd);
      rt::Date rowDate = acquireDate;
      std::string rowSymbol = symbol, rowPositioning = positioning;
      dblRowPriceStored_ = -1;  // as the reset left it
      if (!UpdateTargetPrice(rowDate, endDate, rowSymbol, rowPositioning)) {
        ++lngRowsNotTraded_;
        UntradedRows& kind = rowShortOfHistory_ ? rowsShortOfHistory_ : rowsUnreadable_;
        if (kind.named.size() < kRowsNamed)
          kind.named.push_back(symbol + " " + rt::FormatShortDate(acquireDate) + " " + positioning);
        ++kind.count;
      }

      if (parms.blnCalculateResults) {
        double gainLoss = trade_.dblGainLoss;
        double acquirePrice = dblRowPriceStored_;
        Raise(&ResearchEvents::UpdateWinnerView, acquireDate, symbol, positioning, gainLoss, acquirePrice);
      }
      trade_.dblGainLoss = 0;
      if (row.lastOfSymbol) cache.Release(row.symbol);
      if (results.Rows() >= kRowsPerCommit) CommitGroup(results, kUnableToUpdate);
    }
    CommitGroup(results, kUnableToUpdate);
    if (WritesEnded()) NoteStageEnd(StageEnd::kFailed);
  } catch (const std::exception& e) {
    NoteStageEnd(StageEnd::kFailed);
    user::User().SetPointer(user::kPointerDefault);
    if (db::IsLastingFailure(e)) {
      EndRunOnWriteFailure(e, kUnableToUpdate);
      return;
    }
    ErrorText error = Describe(e);
    user::MsgBox(error.description, user::kOKOnly);
    LogError("Error in BuildResults: " + std::to_string(error.number) + " - " + error.description);
  }
}

bool clsResearch::UpdateTargetPrice(rt::Date& acquireDate, rt::Date& endDate, std::string& symbol,
                                    std::string& positioning) {
  bool traded = false;
  LogError("Entering UpdateTargetPrice");
  try {
    traded = TradeRow(acquireDate, endDate, symbol, positioning);
    rowShortOfHistory_ = !traded;
  } catch (const std::exception& e) {
    ErrorText error = Describe(e);
    // A walk past the newest loaded day: the days after the signal day are
    // not stored. Any other error is a stored value that cannot be read.
    rowShortOfHistory_ = error.number == rt::kErrSubscriptOutOfRange;
    LogError("Error: " + std::to_string(error.number) + " - " + error.description);
  }
  ClearTradeState();
  LogError(std::string("Exiting UpdateTargetPrice: ") + (traded ? "True" : "False"));
  return traded;
}

bool clsResearch::TradeRow(rt::Date& acquireDate, rt::Date& endDate, std::string& symbol, std::string& positioning) {
  int16_t lookBack = Parms().intWinDays;
  // A trace line with values is made only when it is written: making it was
  // a cost of every row.
  if (blnLogging)
    LogError("Calling LoadData: " + symbol + ", " + rt::FormatDate(acquireDate) + ", " + rt::FormatDate(endDate) +
             ", " + std::to_string(lookBack));
  TradeHistoryCache::Served history;
  {
    OfflineScope offline;
    history = historyCache_ ? historyCache_->Load(symbol, acquireDate, endDate, lookBack)
                            : TradeHistoryCache::Served{LoadData(symbol, acquireDate, endDate, lookBack), {}};
  }
  const rt::Date firstFullDay = history.result;
  LogError("LoadData returned");
  // Too little stored history: no position can be worked out, and storing
  // one would record a purchase on the zero date. The row stays reset.
  if (firstFullDay == NotEnoughData()) return false;
  // No CrunchData here: the order and exit rules read prices only, and
  // computing every indicator column per row was three quarters of the stage.
  std::optional<trade::DaysInUse> days;
  if (history.days) days.emplace(*history.days);

  trade_.strPositioning = positioning;
  trade_.strSymbol = symbol;
  // The row's key, so that an order that never fills is stored on its row too.
  trade_.datAcquireDate = acquireDate;
  if (blnLogging) LogError("Calling PurchaseStock: " + rt::FormatDate(acquireDate));
  int32_t purchased = PurchaseStock(acquireDate);
  if (blnLogging) LogError("PurchaseStock returned, RC: " + std::to_string(purchased));
  if (purchased == -1) {
    LogError("Calling LogResults: False");
    LogResults(false);
    LogError("LogResults returned");
    return true;
  }
  LogError("Calling SetStopPrice");
  SetStopPrice();
  LogError("SetStopPrice returned");
  LogError("Calling UpdateAndSell");
  UpdateAndSell();
  LogError("UpdateAndSell returned");
  if (Parms().blnUseSellLoss != 0) {
    LogError("Calling ApplySellBuffer");
    ApplySellBuffer();
    LogError("ApplySellBuffer returned");
  }
  LogError("Calling LogResults: True");
  LogResults(true);
  LogError("LogResults returned");
  return true;
}

void clsResearch::LogResults(bool sold) {
  std::string bought;
  if (sold && trade_.dblReleasePrice != 0) {
    bought = "B";
    double acquire = trade_.dblAcquirePrice, release = trade_.dblReleasePrice;
    trade_.dblGainLoss = trade_.strPositioning == "LONG" ? rt::Round(100 * (release - acquire) / acquire, 2)
                                                         : rt::Round(100 * (acquire - release) / acquire, 2);
  } else {
    // An open position or an order that never filled: the day the walk stands on.
    bought = rt::FormatDate(trade::DayDate(trade_.intCurrentDay));
  }

  if (WritesEnded()) {
    ++lngRowsNotTraded_;
    return;
  }
  try {
    // The run read the row from the table: when the table no longer holds
    // it, the table was replaced under the run, and every later row would
    // miss it too.
    if (WriteRow(ResultStatement(trade_, bought)) == 0 && intWriteRunDepth_ > 0)
      throw db::LastingFailure(db::kErrProviderFailure,
                               "The simulation table '" + Parms().strSimTable + "' no longer holds the row of " +
                                   trade_.strSymbol + " " + trade_.strPositioning + " " +
                                   rt::FormatShortDate(trade_.datAcquireDate) + ": it was replaced during the run.");
    dblRowPriceStored_ = rt::Round(trade_.dblAcquirePrice, 2);
  } catch (const std::exception& failed) {
    // The row keeps its reset values either way.
    ++lngRowsNotTraded_;
    NoteStageEnd(StageEnd::kFailed);
    if (EndsTheRun(failed)) EndRunOnWriteFailure(failed, kUnableToUpdate);
    else ShowRowFailure(std::string(kUnableToUpdate) + "\r\n" + failed.what(), user::kOKOnly);
  }
}

std::string clsResearch::RowsNotTradedSummary() const {
  std::string summary;
  if (const UntradedRows& rows = rowsShortOfHistory_; rows.count > 0)
    summary = CountAndNames(rows.count, rows.named) +
              " could not be traded: not enough stored history after the signal day. A later period end, or a "
              "Select run with Update Data ticked, stores the days " +
              (rows.count == 1 ? "it needs." : "they need.");
  if (const UntradedRows& rows = rowsUnreadable_; rows.count > 0)
    summary += (summary.empty() ? "" : " ") + CountAndNames(rows.count, rows.named) +
               " could not be traded: " + (rows.count == 1 ? "its" : "their") +
               " stored history holds a value that is not a price.";
  return summary;
}

void clsResearch::ClearTradeState() {
  double gainLoss = trade_.dblGainLoss;  // cleared by the driver after it is reported
  trade_ = TradePosition{};
  trade_.dblGainLoss = gainLoss;
}

void clsResearch::BuySellResults() {
  // Each count reads the whole table.
  YieldInStatements yield;
  try {
    rsResearch_ = std::make_unique<db::Recordset>();
    std::string table = db::SqlName(Parms().strSimTable);
    auto expr = [&](const std::string& sql) {
      *rsResearch_ = SharedConnection().OpenRecordset(sql);
      db::Value value = rsResearch_->Field("EXPR");
      rsResearch_->Close();
      return value;
    };
    double average = rt::Round(expr("SELECT AVG(GainLoss) AS EXPR FROM [" + table + "]").ToDouble(), 2);
    std::string count = "SELECT COUNT(symbol) AS EXPR FROM [" + table;
    auto shorts = static_cast<int32_t>(expr(count + "] WHERE Positioning = 'SHORT'").ToInteger());
    auto longs = static_cast<int32_t>(expr(count + "] WHERE Positioning = 'LONG'").ToInteger());
    auto winners = static_cast<int32_t>(expr(count + "] WHERE GainLoss > 0").ToInteger());
    auto losers = static_cast<int32_t>(expr(count + "] WHERE GainLoss <= 0").ToInteger());
    double unusedA = 0, unusedB = 0;
    Raise(&ResearchEvents::BuySellResults, average, shorts, longs, winners, losers, unusedA, unusedB);
  } catch (const std::exception& e) {
    ErrorText error = Describe(e);
    LogError("Error: " + std::to_string(error.number) + " - " + error.description);
  }
  rsResearch_.reset();
}
