// The Select driver: turns the symbol choice into symbols with markets, loads
// and computes the two market indices, then loads, computes and scans every
// symbol, honouring Stop and Pause, and repairs missing master data through
// the user.
#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "market_data/run_parameters.h"
#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/write_group.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "simulation/select_run_check.h"
#include "simulation/simulation_table.h"
#include "simulation/simulation_table_key.h"
#include "simulation/winner_table_watch.h"

namespace {

constexpr int32_t kErrNoIndexHistory = 69;
constexpr const char* kCrLf = "\r\n";

rt::Date TradingDayOnOrBefore(rt::Date day) { return PreviousTradingDay(day); }

// The WHERE clause of a "like:" pick ("" for "all:"): the symbols that begin
// with the text, "%" and "_" in it matched as themselves.
std::string ListQueryFilter(const std::string& first) {
  if (first == "all:") return "";
  return "WHERE Symbol LIKE '" + db::SqlLikeText(first.substr(5)) + "%' ESCAPE '\\' ";
}

// The market indices in the order they load: the message of too short a history, the computation.
struct MarketIndex {
  const char* symbol;
  const char* shortage;
  void (clsResearch::*crunch)();
};
constexpr MarketIndex kMarketIndices[] = {
    {"^DJI", "Insufficient Data to Calculate DJI.", &clsResearch::CrunchMarketDJI},
    {"^IXIC", "Insufficient Data to Calculate NASDAQ.", &clsResearch::CrunchMarketNASDAQ}};

// What the user can do about an index that has too little history. Offline
// the answer is to connect; online it is what the download found, unless the
// run's report names the cause already (a failed download, the records of
// missing days that could not be read).
std::string IndexShortageAdvice(const std::string& shortage, const std::string& downloadFailure, bool causeReported) {
  const RunParameters& parms = Parms();
  if (causeReported) return "";
  if (!parms.blnUseInternet) return "Connect to Internet to Get Data.";
  if (!parms.blnUpdateData) return "Tick \"Update Data (Internet Required)\" to download its history.";
  std::string index;
  for (const MarketIndex& known : kMarketIndices)
    if (shortage == known.shortage) index = known.symbol;
  if (downloadFailure.empty()) return "Connected, but the history of " + index + " is too short for the period.";
  return "Connected, but no history of " + index + " could be had: " + downloadFailure + ".";
}

bool IsListQuery(const std::string& first) { return first == "all:" || first.compare(0, 5, "like:") == 0; }

// A symbol named more than once (in any case) is scanned once, where it is
// first named: a second scan would only offer its winners again as duplicates.
void DropRepeatedSymbols(std::vector<std::string>& symbols) {
  std::set<std::string> seen;
  std::vector<std::string> kept;
  for (std::string& symbol : symbols) {
    std::string key = symbol;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (seen.insert(key).second) kept.push_back(std::move(symbol));
  }
  symbols = std::move(kept);
}

}  // namespace

std::string clsResearch::Process(rt::Date periodStart, rt::Date periodEnd, std::vector<std::string>& symbols,
                                 bool simulationFlag, bool /*spareFlag*/, const std::string& resumeSymbol,
                                 int16_t lookBackDays) {
  ClearDownloadReport();
  std::string status = RunSelectStage(periodStart, periodEnd, symbols, simulationFlag, resumeSymbol, lookBackDays);
  // Download trouble is told once per run, however the run ended.
  if (std::string report = DownloadReport(); !report.empty()) user::MsgBox(report);
  return status;
}

std::string clsResearch::RunSelectStage(rt::Date periodStart, rt::Date periodEnd, std::vector<std::string>& symbols,
                                        bool simulationFlag, const std::string& resumeSymbol, int16_t lookBackDays) {
  // The flags are not cleared here: a Stop or a Pause given since the run
  // began (while its old table was set aside) ends it at its next step.
  // A Pause before the first symbol resumes where this run started.
  strLastStock_ = resumeSymbol;
  blnSimulation_ = simulationFlag;
  // Settings that would fail every symbol are refused once, before any work.
  if (std::string refusal = simulation::SelectRunRefusal(Parms()); !refusal.empty()) {
    user::MsgBox(refusal, user::kOKOnly + user::kExclamation);
    return "error";
  }
  if (symbols.empty()) symbols.push_back("");

  WriteRun run(*this, WriteRun::Pages::kAppended);
  // A write failure was shown when it happened; the run ends in error.
  auto ended = [this](const std::string& status) { return strWriteFailure_.empty() ? status : "error"; };
  // The old winners go first: the tables the simulation's earlier runs set
  // aside, this run's old table among them.
  if (!RemoveOldWinners()) return ended("stop");
  std::string symbolInError;
  try {
    std::vector<std::string> markets;
    if (IsListQuery(symbols[0])) markets = ExpandSymbolQuery(symbols);
    else DropRepeatedSymbols(symbols);
    LeaveOutOwnTableSymbols(symbols, markets);

    int16_t total = rt::CInt(static_cast<double>(symbols.size()));
    Raise(&ResearchEvents::TotalStocks, total);

    if (markets.empty()) markets = LookUpMarkets(symbols, symbolInError);
    symbolInError.clear();

    if (!LoadMarketIndices(periodStart, periodEnd, lookBackDays)) return ended("stop");
    return ended(ScanSymbols(symbols, markets, periodStart, periodEnd, resumeSymbol, lookBackDays));
  } catch (const rt::Error& error) {
    if (!strWriteFailure_.empty()) return "error";
    return ReportSelectError(error.Number(), error.Description(), symbolInError);
  }
}

std::string clsResearch::ScanSymbols(const std::vector<std::string>& symbols, const std::vector<std::string>& markets,
                                     rt::Date periodStart, rt::Date periodEnd, const std::string& resumeSymbol,
                                     int16_t lookBackDays) {
  const std::string& tableName = Parms().strSimTable;
  std::optional<simulation::WinnerTableWatch> table;
  try {
    table.emplace(SharedConnection(), tableName);
    // The winners go into the table in the order they are found, symbol by
    // symbol; its key, which runs by day, is built once when the scan ends.
    simulation::DropTableKey(SharedConnection(), tableName);
  } catch (const std::exception& failed) {
    EndRunOnWriteFailure(failed, simulation::kUnableToStoreWinners);
    return "stop";
  }

  std::string status = "complete";
  try {
    // Each symbol's winners are committed together, also when a Stop or a
    // Pause cut its scan short; an error leaving its scan undoes them.
    db::WriteGroup winners(SharedConnection());
    GroupInUse inUse(*this, winners);
    bool started = resumeSymbol.empty();
    for (size_t k = 0; k < symbols.size(); ++k) {
      if (blnStopProcess_) {
        status = "stop";
        break;
      }
      if (!started) {
        // The resume symbol was scanned before the pause; start after it.
        started = symbols[k] == resumeSymbol;
        continue;
      }
      strLastStock_ = symbols[k];
      ScanSymbol(symbols[k], markets[k], periodStart, periodEnd, lookBackDays);
      CommitWinners(winners, *table);
      if (blnPauseProcess_) {
        status = "stop";
        break;
      }
    }
  } catch (...) {
    // The symbols scanned whole before the error keep their rows.
    BuildWinnersKey();
    throw;
  }
  BuildWinnersKey();
  return status;
}

void clsResearch::CommitWinners(db::WriteGroup& winners, simulation::WinnerTableWatch& table) {
  const auto pending = static_cast<int64_t>(winners.Rows());
  try {
    table.CheckBeforeCommit(pending);
  } catch (const std::exception& replaced) {
    winners.Rollback();
    EndRunOnWriteFailure(replaced, simulation::kUnableToStoreWinners);
    return;
  }
  CommitGroup(winners, simulation::kUnableToStoreWinners);
  table.Committed(pending);
}

void clsResearch::BuildWinnersKey() {
  // A run whose writes failed leaves the table without its key, which the
  // next Select builds anew and the Trade stage builds before it starts.
  if (WritesEnded()) return;
  ShowStatus(simulation::kStoringWinners);
  try {
    std::string refused = simulation::KeyTable(SharedConnection(), Parms().strSimTable);
    if (!refused.empty()) ShowRowFailure(refused, user::kOKOnly);
  } catch (const std::exception& failed) {
    EndRunOnWriteFailure(failed, simulation::kUnableToStoreWinners);
  }
}

std::vector<std::string> clsResearch::ExpandSymbolQuery(std::vector<std::string>& symbols) {
  const std::string first = symbols[0];
  std::string sql = "SELECT Symbol, Market FROM Stock_Master " + ListQueryFilter(first) + "ORDER BY Symbol";
  user::DoEvents();
  db::Recordset rows = SharedConnection().OpenRecordset(sql);
  user::DoEvents();
  std::vector<std::string> found, foundMarkets;
  for (; !rows.Eof(); rows.MoveNext()) {
    found.push_back(rows.Field("Symbol").ToText());
    foundMarkets.push_back(rows.Field("Market").ToText());
  }
  // An empty pick is not a symbol to offer for adding: no current record,
  // and no symbol in error, so the user is told and the run ends.
  if (found.empty()) {
    std::string what = first == "all:" ? std::string("the database holds no symbols.")
                                       : "the database holds no symbol beginning with " + first.substr(5) + ".";
    throw rt::Error(db::kErrNoCurrentRecord, "No symbols match: " + what);
  }
  symbols = std::move(found);
  return foundMarkets;
}

std::vector<std::string> clsResearch::LookUpMarkets(const std::vector<std::string>& symbols,
                                                    std::string& symbolInError) {
  // One query per symbol fetches its market before any scanning starts, so a
  // missing symbol stops the run before the indices load.
  std::vector<std::string> markets(symbols.size());
  for (size_t k = 0; k < symbols.size(); ++k) {
    symbolInError = symbols[k];
    db::SqlName(symbols[k]);  // a symbol names its quote table: refuse one that cannot
    std::string sql = "SELECT Market FROM Stock_Master WHERE Symbol = '" + db::SqlText(symbols[k]) + "'";
    user::DoEvents();
    db::Recordset row = SharedConnection().OpenRecordset(sql);
    markets[k] = row.Field(0).ToText();  // no row: "no current record"
  }
  return markets;
}

bool clsResearch::LoadMarketIndices(rt::Date periodStart, rt::Date periodEnd, int16_t lookBackDays) {
  for (const MarketIndex& index : kMarketIndices) {
    std::string symbol = index.symbol;
    rt::Date start = TradingDayOnOrBefore(periodStart - 5);
    rt::Date end = TradingDayOnOrBefore(periodEnd);
    int16_t lookBack = lookBackDays;
    if (LoadData(symbol, start, end, lookBack) == NotEnoughData()) {
      if (StopRequested()) return false;  // the download was stopped, not short of data
      throw rt::Error(kErrNoIndexHistory, index.shortage);
    }
    (this->*index.crunch)();
  }
  return true;
}

void clsResearch::ScanSymbol(const std::string& symbol, const std::string& market, rt::Date periodStart,
                             rt::Date periodEnd, int16_t lookBackDays) {
  std::string name = symbol;
  rt::Date start = TradingDayOnOrBefore(periodStart);
  rt::Date end = TradingDayOnOrBefore(periodEnd);
  int16_t lookBack = lookBackDays;
  if (LoadData(name, start, end, lookBack) == NotEnoughData()) return;  // too little history: skipped quietly
  if (!CrunchData(symbol)) {
    LogError("Error Crunching Data for:" + symbol);
    return;
  }
  const bool noCriteria = Parms().blnNoWinCriteria;
  const rt::Date firstDay = TradingDayOnOrBefore(periodStart);
  if (noCriteria) {
    for (const char* side : {"LONG", "SHORT"}) {
      std::string positioning = side;
      OutputWinners(symbol, market, blnSimulation_, firstDay, noCriteria, positioning);
    }
  } else {
    std::string positioning;
    OutputWinners(symbol, market, blnSimulation_, firstDay, noCriteria, positioning);
  }
}

std::string clsResearch::ReportSelectError(int32_t number, const std::string& description,
                                           const std::string& symbolInError) {
  LogError("Error in Process: " + std::to_string(number) + " - " + description);
  if (number == db::kErrTableMissing) {
    int answer = user::MsgBox(std::string("It appears no symbols have been imported in to your database.") + kCrLf +
                                  "Would you like to import symbols now?",
                              user::kYesNo);
    // A failed import was reported by the import itself: no confirmation then.
    if (answer == user::kAnswerYes && ImportNewStocks(rt::AppPath("\\SymbolList").string()))
      user::MsgBox(std::string("Stock symbols have been imported.") + kCrLf + "You may now run simulations on them!");
  } else if (number == db::kErrNoCurrentRecord && !symbolInError.empty()) {
    int answer = user::MsgBox(
        "Requested stock -- " + symbolInError + " -- not found in database." + kCrLf + "Would you like to add it?",
        user::kYesNo);
    if (answer == user::kAnswerYes) AddStock(symbolInError);
  } else if (number == kErrNoIndexHistory) {
    // A failed index download explains the shortage: one message for both.
    std::string report = DownloadReport();
    // A cause the report names (a failed download, unreadable records) needs no advice of its own.
    std::string advice = IndexShortageAdvice(description, strDownloadFailure_,
                                             !downloadFailures_.empty() || !strMissingDaysUnread_.empty());
    ClearDownloadReport();
    user::MsgBox(description + (advice.empty() ? "" : kCrLf + advice) + (report.empty() ? "" : "\r\n\r\n" + report));
  } else {
    user::MsgBox(description);
  }
  return "error";
}

void clsResearch::AddStock(const std::string& symbol) {
  db::SqlName(symbol);  // the symbol would name a quote table: refuse one that cannot
  std::string market;
  for (;;) {
    std::string answer = user::User().InputBox("What market is " + symbol + " in? (ny, ns, am)");
    if (answer.empty()) return;
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (answer == "NS" || answer == "NY" || answer == "AM") {
      market = answer;
      break;
    }
  }
  // Stored lower-case: the market rules and the portfolio filter compare with "ny", "ns", "am".
  std::transform(market.begin(), market.end(), market.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  SharedConnection().Execute("INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('" + db::SqlText(symbol) + "', '" +
                             market + "')");
  user::MsgBox("Stock symbol added. You can now rerun your simulation.");
}
