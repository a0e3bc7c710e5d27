#include "simulation/engine_reports.h"

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/recordset.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "platform/user/user_services.h"

namespace simulation {
namespace {

// The columns after the first, shared by both replay logs.
constexpr const char* kLogHeaderTail =
    "Symbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\tTarget Price\t"
    "Release Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD";

std::string Rounded(double value, int places) { return rt::FormatNumber(rt::Round(value, places)); }

// Fields 5 to 14 of a position line: amount to market.
std::vector<std::string> AmountToMarket(const PortfolioSlot& s) {
  return {Rounded(s.dblAmount, 0),       Rounded(SharesBought(s), 0),
          Rounded(s.dblPercentMA, 1),    Rounded(s.dblAcquirePrice, 2),
          Rounded(s.dblTargetPrice, 2),  rt::FormatDate(s.datReleaseDate),
          Rounded(s.dblReleasePrice, 2), Rounded(s.dblGainLoss, 1),
          std::to_string(s.lngVolume),   s.strMarket};
}

}  // namespace

std::string JoinCells(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += '\t';
    line += fields[i];
  }
  return line;
}

void SymbolSummary::Add(const std::string& symbol, const std::string& positioning, double gainLoss) {
  SymbolTotals* entry = nullptr;
  for (SymbolTotals& e : entries_) {
    if (e.symbol == symbol) {
      entry = &e;
      break;
    }
  }
  if (entry) {
    entry->gainLoss += gainLoss;
  } else {
    if (!entries_.back().symbol.empty()) entries_.emplace_back();
    entry = &entries_.back();
    entry->symbol = symbol;
    entry->gainLoss = gainLoss;
  }
  entry->total += 1;
  if (positioning == "LONG") entry->longs += 1;
  else entry->shorts += 1;
}

std::vector<std::string> SimulationSummaryLines(const SymbolSummary& summary) {
  std::vector<std::string> lines{"", "Symbol\tLong\tShort\tTotal\tGainLoss"};
  for (const SymbolTotals& e : summary.Entries())
    lines.push_back(JoinCells({e.symbol, std::to_string(e.longs), std::to_string(e.shorts), std::to_string(e.total),
                               rt::FormatNumber(e.gainLoss)}));
  return lines;
}

std::string AllStocksReportLine(const PortfolioSlot& s) {
  std::vector<std::string> fields{rt::FormatDate(s.datAcquireDate), s.strSymbol, s.strPositioning,
                                  rt::FormatDate(s.datBoughtDate)};
  for (std::string& f : AmountToMarket(s)) fields.push_back(std::move(f));
  fields.push_back(Rounded(s.dblVolumeChange, 2));
  fields.push_back(Rounded(s.dblPriceChange, 2));
  fields.push_back(Rounded(s.dblMACD, 2));
  return JoinCells(fields);
}

std::string PerDayReportLine(rt::Date day, const PortfolioSlot& s) {
  // The fourth column is headed "Bought Date" but has always held the acquire
  // date; spreadsheets built on the file expect it there.
  std::vector<std::string> fields{rt::FormatDate(day), s.strSymbol, s.strPositioning, rt::FormatDate(s.datAcquireDate)};
  for (std::string& f : AmountToMarket(s)) fields.push_back(std::move(f));
  return JoinCells(fields);
}

void CreateAllStocksReport() {
  WriteReportFile(kAllStocksReportFile, {"", std::string("Acquire Date\t") + kLogHeaderTail});
}

void CreatePerDayReport() { WriteReportFile(kPerDayReportFile, {"", std::string("Date\t") + kLogHeaderTail}); }

void WriteReportFile(const std::string& location, const std::vector<std::string>& lines) {
  ReportReplacement report(rt::AppPath(location));
  report.Append(lines);
  report.Commit();
}

}  // namespace simulation

// ----- the engine's members -----

std::string clsResearch::CreateSimulationSummary() {
  user::User().SetPointer(user::kPointerHourglass);
  try {
    rsResearch_ = std::make_unique<db::Recordset>();
    *rsResearch_ = SharedConnection().OpenRecordset("SELECT [AcquireDate], [Symbol], [Positioning], [GainLoss] from [" +
                                                    db::SqlName(Parms().strSimTable) + "]");
    simulation::SymbolSummary summary;
    for (; !rsResearch_->Eof(); rsResearch_->MoveNext()) {
      const db::Value& gainLoss = rsResearch_->Field("GainLoss");
      if (gainLoss.IsNull()) continue;  // not traded
      summary.Add(rsResearch_->Field("Symbol").ToText(), rsResearch_->Field("Positioning").ToText(),
                  gainLoss.ToDouble());
    }
    rsResearch_.reset();
    simulation::WriteReportFile(simulation::kPortfolioSummaryFile, simulation::SimulationSummaryLines(summary));
    user::User().SetPointer(user::kPointerDefault);
    return rt::AppPath(simulation::kPortfolioSummaryFile).string();
  } catch (const std::exception& failure) {
    rsResearch_.reset();
    user::User().SetPointer(user::kPointerDefault);
    // A file that could not be written says so; the table or the Reports
    // folder missing means the simulation is not ready for the report.
    const auto* error = dynamic_cast<const rt::Error*>(&failure);
    if (error && error->Number() == rt::kErrPathFileAccess) user::MsgBox(error->Description());
    else
      user::MsgBox(
          "This Report cannot be run now. Ensure you have run a simulation and created a portfolio from the results.");
    return "";
  }
}

void clsResearch::OuputAllStocksReport(size_t k) {
  simulation::ReplayLogs& logs = *replayLogs_;
  if (logs.allStocksFailed) return;
  try {
    if (k >= udtPortfolio.size()) rt::RaiseSubscript();
    if (!logs.allStocks)
      logs.allStocks = std::make_unique<simulation::ReportAddition>(rt::AppPath(simulation::kAllStocksReportFile));
    logs.allStocks->Append({simulation::AllStocksReportLine(udtPortfolio[k])});
  } catch (const std::exception& e) {
    // Every later line would fail alike: the log stays as it was, told once.
    logs.allStocksFailed = true;
    logs.allStocks.reset();
    user::MsgBox(e.what());
  }
}

void clsResearch::OutputPerDayReport(rt::Date D) {
  std::vector<std::string> lines{""};  // an empty line opens each day's block
  for (const PortfolioSlot& slot : udtPortfolio)
    if (HeldOnDay(slot, D)) lines.push_back(simulation::PerDayReportLine(D, slot));
  std::unique_ptr<simulation::ReportAddition>& log = replayLogs_->perDay;
  if (!log) log = std::make_unique<simulation::ReportAddition>(rt::AppPath(simulation::kPerDayReportFile));
  log->Append(lines);
}

clsResearch::ReplayReports::ReplayReports(clsResearch& engine)
    : engine_(engine), logs_(std::make_unique<simulation::ReplayLogs>()) {
  engine_.replayLogs_ = logs_.get();
}

clsResearch::ReplayReports::~ReplayReports() { engine_.replayLogs_ = nullptr; }

void clsResearch::ReplayReports::Finish() {
  if (logs_->allStocks) {
    try {
      logs_->allStocks->Commit();
    } catch (const std::exception& e) {
      user::MsgBox(e.what());
    }
  }
  if (logs_->perDay) logs_->perDay->Commit();  // its errors go to the caller, as its lines' do
}
