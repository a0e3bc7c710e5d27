#include "simulation/engine_reports.h"

#include <cstdio>
#include <filesystem>

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

constexpr const char* kLineEnd = "\r\n";

// The columns after the first, shared by both replay logs.
constexpr const char* kLogHeaderTail =
    "Symbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\tTarget Price\t"
    "Release Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD";

std::string Rounded(double value, int places) { return rt::FormatNumber(rt::Round(value, places)); }

// Fields 5 to 14 of a position line: amount to market.
std::vector<std::string> AmountToMarket(const PortfolioSlot& s) {
  return {Rounded(s.dblAmount, 0),       Rounded(SharesBought(s), 0),    Rounded(s.dblPercentMA, 1),
          Rounded(s.dblAcquirePrice, 2), Rounded(s.dblTargetPrice, 2),   rt::FormatDate(s.datReleaseDate),
          Rounded(s.dblReleasePrice, 2), Rounded(s.dblGainLoss, 1),      std::to_string(s.lngVolume),
          s.strMarket};
}

// Writes the lines in one call: a sweep appends a row after every variation.
void WriteLines(const std::string& location, const std::vector<std::string>& lines, const char* mode) {
  const std::filesystem::path path = rt::AppPath(location);
  std::error_code ec;
  if (!std::filesystem::is_directory(path.parent_path(), ec)) throw rt::Error(rt::kErrPathNotFound, "Path not found");
  std::string text;
  for (const std::string& line : lines) text.append(line).append(kLineEnd);
  std::FILE* out = std::fopen(path.c_str(), mode);
  if (!out) throw rt::Error(rt::kErrPathFileAccess, "Path/File access error");
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) throw rt::Error(rt::kErrPathFileAccess, "Path/File access error");
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
    lines.push_back(JoinCells({e.symbol, std::to_string(e.longs), std::to_string(e.shorts),
                               std::to_string(e.total), rt::FormatNumber(e.gainLoss)}));
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
  std::vector<std::string> fields{rt::FormatDate(day), s.strSymbol, s.strPositioning,
                                  rt::FormatDate(s.datAcquireDate)};
  for (std::string& f : AmountToMarket(s)) fields.push_back(std::move(f));
  return JoinCells(fields);
}

void CreateAllStocksReport() {
  WriteReportFile(kAllStocksReportFile, {"", std::string("Acquire Date\t") + kLogHeaderTail});
}

void CreatePerDayReport() { WriteReportFile(kPerDayReportFile, {"", std::string("Date\t") + kLogHeaderTail}); }

void AppendReportLines(const std::string& location, const std::vector<std::string>& lines) {
  WriteLines(location, lines, "ab");
}

void WriteReportFile(const std::string& location, const std::vector<std::string>& lines) {
  WriteLines(location, lines, "wb");
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
  } catch (const std::exception&) {
    rsResearch_.reset();
    user::User().SetPointer(user::kPointerDefault);
    user::MsgBox("This Report cannot be run now. Ensure you have run a simulation and created a portfolio from the results.");
    return "";
  }
}

void clsResearch::OuputAllStocksReport(size_t k) {
  try {
    if (k >= udtPortfolio.size()) rt::RaiseSubscript();
    simulation::AppendReportLines(simulation::kAllStocksReportFile, {simulation::AllStocksReportLine(udtPortfolio[k])});
  } catch (const std::exception& e) {
    user::MsgBox(e.what());
  }
}

void clsResearch::OutputPerDayReport(rt::Date D) {
  std::vector<std::string> lines{""};  // an empty line opens each day's block
  for (const PortfolioSlot& slot : udtPortfolio)
    if (HeldOnDay(slot, D)) lines.push_back(simulation::PerDayReportLine(D, slot));
  simulation::AppendReportLines(simulation::kPerDayReportFile, lines);
}
