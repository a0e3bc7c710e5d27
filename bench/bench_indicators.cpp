// CrunchData's columns over every shipped daily history: nanoseconds per row
// for all columns together, and the same for the two market indices.
//
// Usage: bench_indicators [folder]   (default: the project's data folder;
// every *.csv in it or below it with the history header is read).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "market_data/indicator_steps.h"
#include "market_data/market_index_steps.h"
#include "market_data/run_parameters.h"
#include "support/history_csv.h"

namespace {

constexpr int kRepeats = 7;

struct History {
  std::string symbol;
  DayRecords days;
};

bool IsHistoryFile(const std::filesystem::path& file) {
  if (file.extension() != ".csv") return false;
  std::ifstream in(file);
  std::string header;
  std::getline(in, header);
  if (!header.empty() && header.back() == '\r') header.pop_back();
  return header == "Date,Open,High,Low,Close,Adj Close,Volume";
}

// The best of kRepeats runs of `crunch` on a fresh copy of each history, in
// nanoseconds summed over the histories.
template <typename Crunch>
double BestNanoseconds(const std::vector<History>& histories, Crunch crunch) {
  double total = 0;
  for (const History& history : histories) {
    double best = 1e300;
    for (int r = 0; r < kRepeats; ++r) {
      DayRecords days = history.days;  // CrunchData runs on a freshly loaded array
      const auto start = std::chrono::steady_clock::now();
      crunch(days);
      const auto finish = std::chrono::steady_clock::now();
      best = std::min(best, std::chrono::duration<double, std::nano>(finish - start).count());
    }
    total += best;
  }
  return total;
}

size_t Rows(const std::vector<History>& histories) {
  size_t rows = 0;
  for (const History& history : histories) rows += history.days.size();
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : KESTROVANE_DATA_DIR;
  if (!std::filesystem::is_directory(folder)) {
    std::fprintf(stderr, "no history folder at %s\n", folder.c_str());
    return 1;
  }
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && IsHistoryFile(entry.path())) files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  std::vector<History> stocks, indices;
  int skipped = 0;
  for (const auto& file : files) {
    const std::string symbol = testsupport::SymbolOfHistoryFile(file);
    try {
      History history{symbol, testsupport::LoadHistoryCsv(file, symbol)};
      (symbol[0] == '^' ? indices : stocks).push_back(std::move(history));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "skipped %s: %s\n", symbol.c_str(), e.what());
      ++skipped;
    }
  }
  if (stocks.empty()) {
    std::fprintf(stderr, "no stock history in %s\n", folder.c_str());
    return 1;
  }

  const RunParameters parms = RunParameters::DesignDefaults();
  int failed = 0;
  const double stockNs = BestNanoseconds(stocks, [&](DayRecords& days) {
    if (indicators::CrunchStock(days, parms) != indicators::CrunchOutcome::kDone) ++failed;
  });
  const double indexNs = BestNanoseconds(indices, [&](DayRecords& days) { indicators::CrunchIndexDays(days, parms); });

  std::printf("crunch_data_histories: %zu histories\n", stocks.size());
  std::printf("crunch_data_rows: %zu rows\n", Rows(stocks));
  std::printf("crunch_data_per_row: %.1f ns/row\n", stockNs / static_cast<double>(Rows(stocks)));
  std::printf("crunch_data_per_history: %.3f ms\n", stockNs / 1e6 / static_cast<double>(stocks.size()));
  if (!indices.empty())
    std::printf("crunch_market_per_row: %.1f ns/row\n", indexNs / static_cast<double>(Rows(indices)));
  std::printf("histories_not_loaded: %d histories\n", skipped);
  std::printf("crunch_data_failures: %d histories\n", failed / kRepeats);
  return 0;
}
