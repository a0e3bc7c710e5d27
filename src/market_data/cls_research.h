#pragma once
// clsResearch: the engine. One class holds every database, download,
// indicator and simulation operation and reports through ResearchEvents.
// Its members are implemented in one file per concern, named in the section
// headings below (market_data/ for the data side, simulation/ for the stages).
//
// Every instance shares the one database connection (cnDatabase); the last
// live instance closes it.
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "market_data/cls_stock.h"
#include "market_data/research_events.h"
#include "market_data/statement_yield.h"
#include "platform/runtime/date.h"

namespace db {
struct BoundStatement;
class Recordset;
class Value;
class WriteGroup;
}  // namespace db
namespace simulation {
struct ReplayLogs;
class WinnerTableWatch;
}  // namespace simulation

namespace simulation {
class DayCandidates;
class ReplayTable;
}  // namespace simulation

class clsResearch {
 public:
  // Opens the shared connection on the configured database, creating the
  // file when it is missing. A failure is logged and surfaces at the next
  // database call.
  clsResearch();
  // A short-lived engine beside the main one (the query window's): it uses
  // the shared connection that is open now, so the main engine keeps the
  // very connection it works on; it opens one only when none is open.
  struct JoinSharedConnection {};
  explicit clsResearch(JoinSharedConnection);
  ~clsResearch();
  clsResearch(const clsResearch&) = delete;
  clsResearch& operator=(const clsResearch&) = delete;

  // Where the events go; nullptr for none. The listener must outlive the calls.
  void SetListener(ResearchEvents* listener) { listener_ = listener; }

  // ===== database utilities (engine_frame.cpp) =====
 public:
  std::string QueryDB(const std::string& sql);
  bool TestDatabase();
  // Why the last TestDatabase answered False, as the database reported it
  // (why the file could not be opened, when it could not); "" after True.
  const std::string& DatabaseFailure() const { return strDatabaseFailure_; }

 private:
  std::string strDatabaseFailure_;
  // ===== end database utilities =====

  // ===== schema (schema.cpp) =====
 public:
  void CreateTable(const std::string& symbol);
  void CreateTable_Master();
  // ===== end schema =====

  // ===== symbol import (symbol_import.cpp) =====
 public:
  // Adds the symbols of a "SYMBOL,market" file that Stock_Master does not
  // hold yet; creates the master tables when they are missing. False when
  // the import failed (the error was shown) or a stop cut it short.
  bool ImportNewStocks(const std::string& path);

  // ===== end symbol import =====

  // ===== quote download (quote_download.cpp) =====
 public:
  // True when the connectivity test page answers with a non-empty body.
  bool TestInternet();
  // Fetches one page of daily history of the symbol between the two dates
  // (newest first, at most 200 rows) into udtStockDays.
  bool PullFromNet(std::string& symbol, rt::Date& startDate, rt::Date& endDate);
  // Why the last PullFromNet brought no page, for the status line: "" when
  // it brought one or a Stop ended it. A download whose first page held no
  // row leaves its reason here too.
  const std::string& LastDownloadFailure() const { return strDownloadFailure_; }
  // For the user, once per run: the symbols whose history could not be
  // updated and why, the downloaded rows left out for bad values, the
  // stocks whose stored history ends before the period, the days missing
  // inside the histories and the symbols left out for their names; "" when
  // the loads since ClearDownloadReport went well.
  std::string DownloadReport() const;
  void ClearDownloadReport();

 private:
  bool ParseQuotePage(const std::string& page, bool isIndex);
  // Notes the symbol as not updated, with the reason PullFromNet recorded.
  void NoteDownloadFailure(const std::string& symbol);

  std::string strDownloadFailure_;
  bool blnNoConnection_ = false;                                       // the last PullFromNet reached no quote service
  size_t intPageRowsLeftOut_ = 0;                                      // rows of the last page left out
  std::vector<rt::Date> pageDatesLeftOut_;                             // the readable dates among them
  std::vector<std::pair<std::string, std::string>> downloadFailures_;  // symbol, reason
  bool blnNoConnectionReported_ = false;                               // a noted failure was a missing connection
  std::map<std::string, size_t> quoteRowsLeftOut_;                     // by symbol

  // ===== end quote download =====

  // ===== quote storage (quote_storage.cpp) =====
 public:
  // Downloads the symbol's history between the dates page by page and stores
  // it; a zero start date means "from the earliest date for analysis" and
  // records the inception date when the download reached the first day the
  // service has. False, keeping nothing of the download, when a page could
  // not be fetched, read or stored (LastDownloadFailure says why).
  bool UpdateStock(rt::Date& startDate, rt::Date& endDate, std::string& symbol);
  void UpdateInceptionDate(const std::string& symbol, rt::Date inceptionDate);
  // The symbol's first trading day from Stock_Master; the zero date when
  // unknown (also for symbols without a master row, such as the indices).
  rt::Date GetInceptionDate(const std::string& symbol);

 private:
  // Ends a download that cannot be kept whole: records the reason for the
  // run's message and gives False (the download's rows are undone).
  bool DownloadFailed(const std::string& reason);
  // The same for an error met on the way (of the database or not), named by its kind.
  bool DownloadFailed(const std::exception& error);

  // ===== end quote storage =====

  // ===== history loading (history_loading.cpp) =====
 public:
  // Loads the symbol's history for the period plus the look-back into the
  // day records (topping up the table from the quote service when allowed).
  // Returns the first date with a full look-back, or 1 January 1800 when
  // there is not enough data (kNotEnoughData).
  rt::Date LoadData(std::string& symbol, rt::Date& startDate, rt::Date& endDate, int16_t& lookBackDays);

 private:
  // The download phase of LoadData: the first and last stored day of the
  // window (Null when none; the quote table made when missing) once a run
  // that downloads brought the history up to date, or noted it stale when
  // it does not. False when the symbol is not to be used: its download was
  // stopped or failed, named with its cause in the run's message (one of a
  // lasting kind ends the run, told once). Without downloads a failure
  // passes to the caller.
  bool BringHistoryUpToDate(std::string& symbol, rt::Date startDate, rt::Date endDate, const std::string& rangeQuery,
                            db::Value& minDate, db::Value& maxDate);

  // ===== end history loading =====

  // ===== stale history (stale_history.cpp) =====
 public:
  // The stocks loaded since ClearDownloadReport whose stored history ends
  // before the period does while nothing downloaded the rest, so that a run
  // over them does not look complete: "the stored history of 2 symbols ends
  // on 6/28/2019"; "" when there were none.
  std::string StaleHistorySummary() const;

 private:
  // Notes the stock when its last stored day is before the period's end.
  void NoteStaleHistory(const std::string& symbol, rt::Date lastStored, rt::Date periodEnd);
  // The paragraph of the run's one message that tells of it and what to do.
  std::string StaleHistoryReport() const;

  std::map<std::string, rt::Date> staleHistory_;  // symbol, its last stored day
  rt::Date datStalePeriodEnd_;

  // ===== end stale history =====

  // ===== missing days (missing_days.cpp) =====
 public:
  // The days missing inside the stored histories that the loads since
  // ClearDownloadReport used (with their look-back), days a download left
  // out: "1 day of the stored history of IBM is missing (5/15/2019)"; "" when
  // there were none.
  std::string MissingDaysSummary() const;

 private:
  // Downloads again, at most once per run, the range holding the symbol's
  // recorded days between the dates, storing those that now come readable.
  void FetchMissingDaysAgain(const std::string& symbol, rt::Date from, rt::Date to);
  // Notes the symbol's recorded days between the dates, and its records
  // whose date cannot be read, for the run's end.
  void NoteMissingDays(const std::string& symbol, rt::Date from, rt::Date to);
  // The paragraph of the run's one message that names them and what to do.
  std::string MissingDaysReport() const;
  // The paragraph that names the records whose date cannot be read, which
  // the run left out, and what to do; or, when the records could not be
  // read at all, why.
  std::string UnreadableMissingDaysReport() const;

  std::map<std::string, std::vector<rt::Date>> missingDays_;               // symbol, its recorded days in the window
  std::map<std::string, std::vector<std::string>> unreadableMissingDays_;  // symbol, its records as stored
  std::set<std::string> missingDaysFetched_;                               // symbols fetched again this run
  std::string strMissingDaysUnread_;  // why the records could not be read; "" when they could

  // ===== end missing days =====

  // ===== symbols named like the program's own tables (own_table_symbols.cpp) =====
 private:
  // Takes out of the list (and of markets, when it runs beside it) every
  // symbol named like one of the program's own tables, noting each: such a
  // name can never be a quote table.
  void LeaveOutOwnTableSymbols(std::vector<std::string>& symbols, std::vector<std::string>& markets);
  // Notes, once, a symbol left out for its name.
  void NoteOwnTableSymbol(const std::string& symbol);
  // The paragraph of the run's one message that names them.
  std::string OwnTableSymbolsReport() const;

  std::vector<std::string> ownTableSymbols_;  // in the order met

  // ===== end symbols named like the program's own tables =====

  // ===== indicator columns and ADX (indicators.cpp, adx.cpp) =====
 public:
  // Fills the indicator columns 11 to 46 (15 aside) and 51 to 67 of
  // udtStockDays with the run parameters of the moment. False when the
  // history has fewer than 35 days (nothing is computed, so that the symbol
  // is skipped) or a step fails (the columns before it keep their values);
  // symbol only names the history in the error log.
  bool CrunchData(const std::string& symbol);

  // The steps of CrunchData, each writing one column of every row:
  // f 11, g 12, h 13, i 16, j 17, k 18, l 19, m 20, n 21, o 22, p 23, q 24,
  // r 25, s 26, t 27, u 28, v 29, w 30, Y 32, z 33, aa 34, ac 36, ad 37,
  // ag 40, ah 41. Each raises rt::Error where CrunchData would fail.
  void f();
  void g();
  void h();
  void i();
  void j();
  void k();
  void l();
  void m();
  void n();
  void o();
  void p();
  void q();
  void r();
  void s();
  void t();
  void u();
  void v();
  void w();
  void Y();
  void z();
  void aa();
  void ac();
  void ad();
  void ag();
  void ah();

 private:
  void AverageVolumeB();        // 14
  void AverageVolumeSwing();    // 15, run by the swing criterion, not by CrunchData
  void ComputeFastEma();        // 42
  void ComputeSlowEma();        // 43
  void ComputeMacdLine();       // 44
  void ComputeMacdSignal();     // 45
  void ComputeMacdHistogram();  // 46

  // The ADX pipeline, columns 51 to 67 in this order.
  void CalculateADX();
  void CalcRawPlusDM();
  void CalcRawMinusDM();
  void CalcPlusDM();
  void CalcMinusDM();
  void SmoothPlusDM();
  void SmoothMinusDM();
  void CalcRangeHighLow();
  void CalcRangeHighClose();
  void CalcRangeLowClose();
  void CalcTrueRange();
  void SmoothTrueRange();
  void CalcPlusDI();
  void CalcMinusDI();
  void CalcDIDifference();
  void CalcDISum();
  void CalcDX();
  void CalcADX();
  // ===== end indicator columns =====

  // ===== market index indicators (market_indicators.cpp) =====
 public:
  // Fill dblIndexRSI and dblIndexPercentMA (and the columns they need) of
  // every row of udtDJIDays / udtNASDAQDays. Errors (an RSI period that
  // reaches past the oldest day, a period of 0, a close reading 0) pass to
  // the caller as rt::Error.
  void CrunchMarketDJI();
  void CrunchMarketNASDAQ();
  // ===== end market index indicators =====

  // ===== run flags and Select driver (select_driver.cpp) =====
 public:
  bool StopProcess() const { return blnStopProcess_; }
  // A Stop that is not a Pause: the work in hand ends now. (A Pause sets the
  // stop flag too, but lets the current symbol or step finish.)
  bool StopRequested() const { return blnStopProcess_ && !blnPauseProcess_; }
  // A Stop overrides a Pause still waiting for its symbol to finish: the
  // work in hand ends now and the run ends stopped, not paused.
  void StopProcess(bool value) {
    blnStopProcess_ = value;
    if (value) blnPauseProcess_ = false;
  }
  bool PauseProcess() const { return blnPauseProcess_; }
  // Pause also stops; clearing pause clears stop too.
  void PauseProcess(bool value) { blnPauseProcess_ = blnStopProcess_ = value; }
  // The symbol Process started last: a paused run resumes after it.
  const std::string& LastStock() const { return strLastStock_; }

  // The Select stage. symbols(0) is "all:", "like:" and a pattern, or the
  // first of the symbols to scan; "all:" and "like:" are replaced in place by
  // the matching Stock_Master symbols. Removes the old winners set aside,
  // loads and computes both indices, then loads, computes and scans each
  // symbol after resumeSymbol (from the first when it is ""). Returns
  // "complete", "stop" (Stop, or Pause after the current symbol or step) or
  // "error" (shown to the user, who may repair the data). The flags are the
  // caller's to clear before the run: one already set ends it at once.
  std::string Process(rt::Date periodStart, rt::Date periodEnd, std::vector<std::string>& symbols, bool simulationFlag,
                      bool spareFlag, const std::string& resumeSymbol, int16_t lookBackDays);
  // Asks for the market of a symbol missing from Stock_Master and adds it.
  void AddStock(const std::string& symbol);

 private:
  // Replaces "all:" or "like:" by the matching Stock_Master symbols; their markets.
  std::vector<std::string> ExpandSymbolQuery(std::vector<std::string>& symbols);
  // The market of each listed symbol; symbolInError names the one being looked up.
  std::vector<std::string> LookUpMarkets(const std::vector<std::string>& symbols, std::string& symbolInError);
  // Process without its closing download report.
  std::string RunSelectStage(rt::Date periodStart, rt::Date periodEnd, std::vector<std::string>& symbols,
                             bool simulationFlag, const std::string& resumeSymbol, int16_t lookBackDays);
  // Loads and computes both indices; false when a Stop cut a download short.
  bool LoadMarketIndices(rt::Date periodStart, rt::Date periodEnd, int16_t lookBackDays);
  // Scans the symbols after resumeSymbol, each one's winners committed
  // together into the simulation table, whose key is built when the scan
  // ends, however it ends. "complete" or "stop".
  std::string ScanSymbols(const std::vector<std::string>& symbols, const std::vector<std::string>& markets,
                          rt::Date periodStart, rt::Date periodEnd, const std::string& resumeSymbol,
                          int16_t lookBackDays);
  // Commits one symbol's winners, unless the table was replaced under the
  // run; a failure ends the run by the write-failure rule.
  void CommitWinners(db::WriteGroup& winners, simulation::WinnerTableWatch& table);
  // Builds the simulation table's key over the run's winners, with the
  // status saying so, unless the run's writes have ended; a failure ends the
  // run by the write-failure rule.
  void BuildWinnersKey();
  // Loads, computes and scans one symbol; one with too little history is
  // skipped, one whose indicators fail is logged and skipped.
  void ScanSymbol(const std::string& symbol, const std::string& market, rt::Date periodStart, rt::Date periodEnd,
                  int16_t lookBackDays);
  // Removes the tables that simulation tables were moved aside into, a step
  // of rows at a time, with the status saying so. False when a Stop or a
  // Pause ended it between two steps (the rest waits for the next run), or
  // when it failed (the run ends by the write-failure rule).
  bool RemoveOldWinners();
  // Tells the user what stopped the run and offers the repair; "error".
  std::string ReportSelectError(int32_t number, const std::string& description, const std::string& symbolInError);

  bool blnStopProcess_ = false;
  bool blnPauseProcess_ = false;
  bool blnSimulation_ = false;
  std::string strLastStock_;
  // ===== end run flags and Select driver =====

  // ===== selection criteria (selection_criteria.cpp) =====
 public:
  // Each judges day i of udtStockDays with the run parameters: "LONG" or
  // "SHORT" votes for a side, "X" vetoes the day, "" (Bollinger, ADX) has no
  // opinion; the minimum-volume rule answers "OK" or "X". A row that is not
  // loaded (i + 1, i + 2, the swing window) raises "Subscript out of range".
  std::string WinMA(int i);
  std::string WinRSI(int i);
  std::string WinBoll(int i);
  std::string WinMinVolume(int i);
  std::string WinMACD(int i);
  std::string WinADX(int i);
  // Breakout from a narrow range; fills the swing columns 47 to 49 of row
  // i + 2 and column 15, raises Swing for each stage passed. "LONG" or "X".
  std::string WinSwing(int i, const std::string& symbol);

 private:
  void FindSwingHigh(int i);
  void FindSwingMacdHigh(int i);
  void FindSwingLow(int i);
  void FindSwingMacdLow(int i);
  // ===== end selection criteria =====

  // ===== winner scan (winner_scan.cpp) =====
 public:
  // Scans the loaded symbol from startDate (or, when that day is not loaded,
  // from the first day with a full look-back) to the newest day, and raises
  // Winner(stock, true) for every day that the enabled criteria (or, with
  // noCriteria, the forced side in positioning) and the gates let through.
  // A day whose values cannot be computed gives no winner; a Stop ends the
  // scan at the next day, a Pause lets it finish. The result is unused ("").
  std::string OutputWinners(const std::string& symbol, const std::string& market, bool simulationFlag,
                            rt::Date startDate, bool noCriteria, std::string& positioning);

 private:
  // The side that the enabled criteria give day i ("" for none); fills the
  // swing answer.
  std::string JudgeDay(int i, const std::string& symbol, std::string& swingAnswer);
  // The winner record of day i for the side (the market-index values left to
  // the scan), or nothing when a gate drops the day.
  std::unique_ptr<clsStock> BuildWinner(int i, const std::string& symbol, const std::string& market,
                                        bool simulationFlag, const std::string& positioning,
                                        const std::string& swingAnswer);
  // ===== end winner scan =====

  // ===== simulation table (simulation_table.cpp) =====
 public:
  // Creates the simulation table of that name empty, with its key; an old
  // table of that name is moved aside in the same transaction, for the next
  // Select run to remove (RemoveOldWinners). Only the Jet dialect (database
  // kind 1) has the table; for another kind nothing is touched and the
  // Select run refuses to start. A name that cannot stand between brackets,
  // or that is not a simulation table's ("sim_" and the simulation's name),
  // is refused with a message: the removal must never reach the master list
  // or a quote table. False, after a message, when the name is refused or
  // the table could not be moved aside or created: a run must not write
  // into the old table.
  bool CreateSimulationTable(const std::string& tableName);
  // Deletes every row of the table named by strSimTable; errors reach the caller.
  void ClearSimPort();
  // Stores one winner (the statement the window's Winner handler builds):
  // in the open symbol's group during a Select run, else in a transaction
  // of its own. A failure is rolled back and never passed on: a failed
  // statement quietly, a row's own failure (a duplicate key) shown once per
  // run, a lasting one by the write-failure rule below.
  void LogWinner(const db::BoundStatement& statement);
  // Raises Winner(stock, false) for every row of the table named by
  // strSimTable, by symbol, side and day, so that the winners list refills.
  void LoadWinners();

 private:
  // Says what a long step of a run is doing, through the event that shows
  // the run's progress (a count of 0 of 0: the text alone).
  void ShowStatus(std::string text);
  // ===== end simulation table =====

  // ===== order entry and initial stop (order_entry.cpp) =====
 public:
  // The position the Trade stage is working on: one set per engine, filled
  // row by row and cleared between rows. Day indexes count into udtStockDays
  // (0 the newest day).
  struct TradePosition {
    std::string strSymbol;
    std::string strPositioning;  // "LONG" or "SHORT"
    rt::Date datAcquireDate;     // signal day
    double dblAcquirePrice = 0;  // fill price, to the cent
    rt::Date datBoughtDate;      // fill day
    int16_t intBoughtDay = 0;    // index of the fill day
    int16_t intCurrentDay = 0;   // index the walk has reached
    double dblStopPrice = 0;     // not rounded
    std::string strProfitFlag;   // "P" once the profit level was reached
    rt::Date datReleaseDate;
    double dblReleasePrice = 0;  // to the cent
    double dblGainLoss = 0;      // percent, two decimals
    double dblPrevHigh = 0;      // of the day before the fill day
    double dblPrevLow = 0;
  };
  TradePosition& TradeState() { return trade_; }
  const TradePosition& TradeState() const { return trade_; }

  // Each order answers 0 when it bought and -1 when it did not.
  int32_t PurchaseStock(rt::Date& signalDate);
  int32_t MarketPurchase(rt::Date& signalDate);
  int32_t LimitPurchase(rt::Date& signalDate);
  int32_t StopPurchase(rt::Date& signalDate);
  void SetStopPrice();

 private:
  TradePosition trade_;
  // ===== end order entry =====

  // ===== exit rules and sell buffer (exit_rules.cpp) =====
 public:
  void UpdateAndSell();
  bool MaxAge();
  void ProfitableLoss();
  void NewExtreme();
  void ApplySellBuffer();

 private:
  // Walks the position from its fill day toward the newest day, testing the
  // exit before moving the stop with the given rule.
  void WalkToExit(void (clsResearch::*updateStop)(int16_t day));
  void TrailProfitableStop(int16_t day);
  void FollowSwingExtreme(int16_t day);
  // ===== end exit rules =====

  // ===== trade driver and results (trade_driver.cpp) =====
 public:
  // Resets the trade columns of the simulation table and trades every row.
  void BuildResults();
  // Loads the row's history, enters, walks and stores one position; False
  // when the row could not be traded and keeps its reset values.
  bool UpdateTargetPrice(rt::Date& acquireDate, rt::Date& endDate, std::string& symbol, std::string& positioning);
  void LogResults(bool sold);
  // Averages and counts the traded rows; raises BuySellResults.
  void BuySellResults();
  // Rows of the last BuildResults left untraded (too little stored history,
  // an order that could not be worked out, a failed write).
  int32_t RowsNotTraded() const { return lngRowsNotTraded_; }
  // The rows of the last BuildResults that could not be worked out, for the
  // status line: those short of stored history, then those whose stored
  // history could not be read; how many, the first few by symbol, signal day
  // and side, and what brings the days they need. "" when there were none.
  std::string RowsNotTradedSummary() const;
  // Symbols whose stored history the running Trade stage holds.
  size_t HistoriesHeld() const;
  // How the last Trade stage or replay (SimResults) ended: run to its end,
  // cut short by Stop, or failed after showing its own message (its error, a
  // row it could not store, a table it cannot replay). A sweep goes on to
  // its next variation only after one that ran to its end.
  enum class StageEnd { kComplete, kStopped, kFailed };
  StageEnd LastStageEnd() const { return stageEnd_; }

  // Serves each row's window of a symbol's stored history from one read of
  // the quote table per run.
  class TradeHistoryCache;

 private:
  bool TradeRow(rt::Date& acquireDate, rt::Date& endDate, std::string& symbol, std::string& positioning);
  void ClearTradeState();
  int32_t lngRowsNotTraded_ = 0;
  double dblRowPriceStored_ = -1;  // the AcquirePrice the current row holds: -1 until LogResults stores one
  // Rows of one kind left untraded: how many, and the first few named.
  struct UntradedRows {
    int32_t count = 0;
    std::vector<std::string> named;
  };
  UntradedRows rowsShortOfHistory_, rowsUnreadable_;
  bool rowShortOfHistory_ = false;             // why the last UpdateTargetPrice traded nothing
  TradeHistoryCache* historyCache_ = nullptr;  // set while BuildResults runs
  // A failure is not undone by what the stage does after it.
  void NoteStageEnd(StageEnd end) {
    if (stageEnd_ != StageEnd::kFailed) stageEnd_ = end;
  }
  // True when Stop (not Pause) asks the running stage to end; the stage is then noted stopped.
  bool StageStopped() {
    if (!StopRequested()) return false;
    NoteStageEnd(StageEnd::kStopped);
    return true;
  }
  StageEnd stageEnd_ = StageEnd::kComplete;
  // ===== end trade driver =====

  // ===== write failures (write_failures.cpp) =====
 public:
  // The message of the first write of the current or last run that failed
  // for a lasting reason (a read-only or full database, a lock held past the
  // busy timeout); "" when none did. Such a run ends stopped with an error,
  // never "complete".
  const std::string& WriteFailure() const { return strWriteFailure_; }

 private:
  // A Select or Trade run for as long as it lives; a run inside another (a
  // download inside a Select) is part of the outer one.
  class WriteRun {
   public:
    // How the run's groups write: over pages earlier groups wrote (the Trade
    // stage's results), or onto new ones (a Select's winners).
    enum class Pages { kRewritten, kAppended };
    WriteRun(clsResearch& engine, Pages pages);
    ~WriteRun();
    WriteRun(const WriteRun&) = delete;
    WriteRun& operator=(const WriteRun&) = delete;

   private:
    clsResearch& engine_;
    YieldInStatements yield_;  // a run's long statements serve the window too
  };
  // Rows written while the object lives go to the group (one symbol's
  // winners, a block of Trade rows) instead of a transaction each.
  class GroupInUse {
   public:
    GroupInUse(clsResearch& engine, db::WriteGroup& group);
    ~GroupInUse();
    GroupInUse(const GroupInUse&) = delete;
    GroupInUse& operator=(const GroupInUse&) = delete;

   private:
    clsResearch& engine_;
    db::WriteGroup* previous_;
  };
  // Runs one row's statement in the group in use, or in a transaction of
  // its own: the rows it changed. Errors pass on with the row undone.
  int64_t WriteRow(const db::BoundStatement& row);
  int64_t WriteRow(const std::string& sql, const std::vector<db::Value>& parameters);
  // True for a failure that ends the run instead of failing one row: a
  // lasting one, or, during a run, the run's table gone from under it.
  bool EndsTheRun(const std::exception& failure) const;
  // Commits the group; a failed commit ends the run with the context message.
  void CommitGroup(db::WriteGroup& group, const std::string& context);
  // The write failure rule: the first lasting failure of a run is shown once,
  // as the context and then the database's text, recorded and stops the run;
  // outside a run it is shown each time.
  void EndRunOnWriteFailure(const std::exception& failure, const std::string& context);
  // True once the current run was ended by a write failure: its loops write
  // nothing more (a held lock would make every row wait).
  bool WritesEnded() const { return intWriteRunDepth_ > 0 && !strWriteFailure_.empty(); }
  // A row's own failure, shown once per run (every time outside a run).
  void ShowRowFailure(const std::string& message, int style);

  std::string strWriteFailure_;
  bool blnRowFailureShown_ = false;
  int intWriteRunDepth_ = 0;
  db::WriteGroup* rowGroup_ = nullptr;
  // ===== end write failures =====

  // ===== engine report files (engine_reports.cpp) =====
 public:
  // Writes "Portfolio Summary.csv" (totals per symbol of the simulation table)
  // and returns its full path; "" after an error, which it shows.
  std::string CreateSimulationSummary();

 private:
  // Adds udtPortfolio(k) to the replay's "Simulation Summary by Symbol.csv";
  // shows an error, after which the replay leaves that log as it was.
  void OuputAllStocksReport(size_t k);
  // Adds the block of day D to the replay's "Portfolio Summary by Date.csv"; errors go to the caller.
  void OutputPerDayReport(rt::Date D);
  // The two logs of a replay for as long as it runs: their lines are held
  // and added to the logs at Finish. A replay that fails or is stopped
  // before it leaves both logs as they were: its lines would hold part of a
  // replay that reports no results.
  class ReplayReports {
   public:
    explicit ReplayReports(clsResearch& engine);
    ~ReplayReports();
    ReplayReports(const ReplayReports&) = delete;
    ReplayReports& operator=(const ReplayReports&) = delete;
    // Shows a failure of the per-symbol log; the per-day log's goes to the caller.
    void Finish();

   private:
    clsResearch& engine_;
    std::unique_ptr<simulation::ReplayLogs> logs_;
  };
  simulation::ReplayLogs* replayLogs_ = nullptr;  // while a replay runs
                                                  // ===== end engine report files =====

  // ===== portfolio replay (portfolio_replay.cpp) =====
 public:
  // Replays the simulation table day by day into udtPortfolio and
  // udtBalanceHistory. dblBalance carries the start balance in (-1: value
  // the account once from AccountInfo and Portfolio) and the final balance out.
  void SimResults(bool blnReplay, double& dblBalance);
  // The money for each position bought on a day: the balance over the slots.
  double GetPurchaseAmount(double dblBalance);
  // Raises UpdateDisplay for every position held on the day, then once more with done.
  void UpdateDisplay(rt::Date datDay);

 private:
  // The replay from the table check to the Results event; errors go to SimResults.
  void ReplayDays(bool blnReplay, double& dblBalance);
  // The simulation table's rows that the replay from firstDay to lastDay
  // reads: the ones held since an earlier replay while the database has not
  // changed, else read anew.
  std::shared_ptr<simulation::ReplayTable> ReplayRows(rt::Date firstDay, rt::Date lastDay);
  // Buys the day's accepted candidates (the rows MarketRules kept) into
  // udtPortfolio; false when a stop ended the day.
  bool BuyCandidates(const std::vector<clsStock>& candidates, const simulation::DayCandidates& day, double amount,
                     int16_t& positionsBought, int16_t& openPositions);

  std::shared_ptr<simulation::ReplayTable> replayTable_;
  // ===== end portfolio replay =====

  // ===== candidate query and market rules (candidate_query.cpp) =====
 public:
  // The statement of the day's candidates (datLastDay the zero date) or of the
  // range check (datLastDay the replay's last day).
  std::string BuildQuery(rt::Date datDay, double dblAmount, bool blnReplay, rt::Date datLastDay);
  // Walks the day's candidates in rank order and keeps in objStocks (and
  // on rsCandidates) at most lngLimit that pass the market-index rules;
  // shows its own errors.
  void MarketRules(int32_t lngLimit, simulation::DayCandidates& rsCandidates, std::vector<clsStock>& objStocks);
  // ===== end candidate query =====

  // ===== account valuation (account_valuation.cpp) =====
 public:
  // The cash balance of the account (AccountInfo); errors go to the caller.
  double GetCashBalance();
  // The open positions of Portfolio at their latest closes; errors go to the caller.
  double GetStockBalance();
  // ===== end account valuation =====

  // ===== sweep pause state (sweep_pause_state.cpp) =====
 public:
  // Writes the pause row of the simulation strSimTable names (inserting it
  // the first time): a trade sweep's 9 values (isTrade) or a portfolio
  // sweep's 15, each a decimal text, into the 24 slots of SimStatus (created
  // when the database has none); the other sweep's slots become 0, except
  // that a portfolio update also writes its first value into TradePause0. A
  // failure (a value that is not a number, too few values) is rolled back
  // and logged, never reported; only a rollback that fails too reaches the
  // caller.
  void StorePauseCriteria(const std::vector<std::string>& values, const bool& isTrade);
  // Replaces values by the 24 slots of the pause row, in column order, each
  // the text of its number; "" for every slot when there is no row. Failures
  // are logged and leave the slots not yet read empty.
  void RetrievePauseCriteria(std::vector<std::string>& values);

 private:
  // Creates SimStatus for a store that found none; false when it cannot.
  bool CreatePauseTable();
  // ===== end sweep pause state =====

  // ===== sweep record (sweep_record.cpp) =====
 public:
  // What a sweep keeps beside its pause row: which sweep ("Trade",
  // "Portfolio"), the report it writes and that report's first line as the
  // sweep left it, and the settings it was started with (control lines).
  struct SweepRecord {
    std::string sweep, reportPath, reportFirstLine, plan;
  };
  // Writes the record of the simulation strSimTable names, creating its
  // table in a database that has none. A failure is logged, never reported.
  void StoreSweepRecord(const SweepRecord& record);
  // The record of the simulation strSimTable names; false when there is none.
  bool RetrieveSweepRecord(SweepRecord& record);
  void ClearSweepRecord();
  // ===== end sweep record =====

 private:
  // Raises an event on the listener when there is one.
  template <typename Method, typename... Args>
  void Raise(Method method, Args&... args) {
    if (listener_) (listener_->*method)(args...);
  }

  ResearchEvents* listener_ = nullptr;
  std::unique_ptr<db::Recordset> rsResearch_;
};
