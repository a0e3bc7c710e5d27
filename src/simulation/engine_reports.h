#pragma once
// The engine's report files under the Reports folder: tab-separated text with
// CR LF line ends, read by spreadsheets. The per-symbol summary of a
// simulation table is written anew each time; the two logs of the portfolio
// replay are created with their header by the report menu, and each replay
// that ends whole adds its lines to them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/date.h"
#include "simulation/portfolio_records.h"
#include "simulation/report_files.h"

namespace simulation {

inline constexpr const char* kPortfolioSummaryFile = "\\Reports\\Portfolio Summary.csv";
inline constexpr const char* kAllStocksReportFile = "\\Reports\\Simulation Summary by Symbol.csv";
inline constexpr const char* kPerDayReportFile = "\\Reports\\Portfolio Summary by Date.csv";

// Gains and losses of one symbol over a simulation table.
struct SymbolTotals {
  std::string symbol;
  int32_t longs = 0;
  int32_t shorts = 0;
  int32_t total = 0;
  double gainLoss = 0;
};

// Totals per symbol in order of first appearance. Starts with one empty entry,
// which the first symbol takes over, so a table without a traded row still
// gives one (empty) line.
class SymbolSummary {
 public:
  SymbolSummary() : entries_(1) {}
  void Add(const std::string& symbol, const std::string& positioning, double gainLoss);
  const std::vector<SymbolTotals>& Entries() const { return entries_; }

 private:
  std::vector<SymbolTotals> entries_;
};

// The lines of "Portfolio Summary.csv": an empty line, the header, one line per symbol.
std::vector<std::string> SimulationSummaryLines(const SymbolSummary& summary);

// The cells of one report line joined by TAB (no quoting).
std::string JoinCells(const std::vector<std::string>& cells);

// One line (without its CR LF) of "Simulation Summary by Symbol.csv".
std::string AllStocksReportLine(const PortfolioSlot& slot);
// One line (without its CR LF) of the block of day D in "Portfolio Summary by Date.csv".
std::string PerDayReportLine(rt::Date day, const PortfolioSlot& slot);

// Create the two replay logs anew with an empty line and their header line.
void CreateAllStocksReport();
void CreatePerDayReport();

// Writes a report file anew with the lines; one that cannot be written whole
// leaves the older file as it was.
void WriteReportFile(const std::string& location, const std::vector<std::string>& lines);

// The lines one replay adds to its two logs, each begun at its first line (so
// that a missing Reports folder fails there, as it always has) and added to
// the log only when the replay ends whole.
struct ReplayLogs {
  std::unique_ptr<ReportAddition> perDay;
  std::unique_ptr<ReportAddition> allStocks;
  bool allStocksFailed = false;  // told once; the replay goes on without that log
};

}  // namespace simulation
