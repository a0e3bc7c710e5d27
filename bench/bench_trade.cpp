// The Trade stage over the candidates of a Select run on the shipped data:
// rows per second of BuildResults (best of three, and as a multiple of
// single-row commits), and the time of a row's history and of its entry and
// walk, measured by running those steps one by one over the same rows; the
// rest of a row's time is its UPDATE.
//
// Usage: bench_trade [first year] [last year]   (default 2010 2019)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "simulation/trade_history_cache.h"
#include "single_row_commits.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

struct Candidate {
  rt::Date date;
  std::string symbol, positioning;
};

// Adds the time a step takes to its total.
template <typename Step>
auto Timed(double& total, Step step) {
  auto t = Clock::now();
  auto result = step();
  total += Seconds(t);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int firstYear = argc > 1 ? std::stoi(argv[1]) : 2010;
  int lastYear = argc > 2 ? std::stoi(argv[2]) : 2019;
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();

  // The candidates: every day of the period, LONG and SHORT, of every shipped symbol.
  rt::Date periodStart = testsupport::Day(firstYear, 1, 4), periodEnd = testsupport::Day(lastYear, 12, 31);
  auto t0 = Clock::now();
  if (testsupport::SelectShippedSymbols(bed, "sim_bench", periodStart, periodEnd) != "complete") {
    std::fprintf(stderr, "the Select run did not complete\n");
    return 1;
  }
  double selectSeconds = Seconds(t0);
  long rows = std::stol(bed.Scalar("SELECT COUNT(*) FROM [sim_bench]"));
  std::printf("candidates: %ld rows\n", rows);
  std::printf("select_time: %.2f s\n", selectSeconds);  // import and download included

  // The Trade settings as the window first shows them, with a Market order.
  parms.strTypeOfPurchase = "Market";
  parms.intDecline = 3;
  parms.strSimEnd = rt::FormatShortDate(periodEnd);
  parms.blnUseInternet = false;

  double buildSeconds = 1e300;
  for (int i = 0; i < 3; ++i) {
    auto t1 = Clock::now();
    engine.BuildResults();
    buildSeconds = std::min(buildSeconds, Seconds(t1));
  }
  std::printf("build_results_time: %.2f s\n", buildSeconds);
  std::printf("build_results: %.0f rows/s\n", rows / buildSeconds);
  std::printf("rows_not_traded: %d rows\n", engine.RowsNotTraded());
  bench::PrintRatio("build_results", rows / buildSeconds);

  // The same rows step by step.
  double resetSeconds = 0, historySeconds = 0, walkSeconds = 0;
  std::vector<Candidate> candidates;
  Timed(resetSeconds, [&] {
    SharedConnection().Execute(
        "Update [sim_bench] SET Bought = NULL, MaxPrice = 0, MinPrice = 0, TargetPrice = NULL, AcquirePrice = -1, "
        "Shares = NULL, ReleaseDate = NULL, GainLoss = NULL, ReleasePrice = NULL");
    db::Recordset rs =
        SharedConnection().OpenRecordset("SELECT [AcquireDate], [Symbol], [Positioning] from [sim_bench]");
    for (; !rs.Eof(); rs.MoveNext())
      candidates.push_back({rs.Field(0).ToDate(), rs.Field(1).ToText(), rs.Field(2).ToText()});
    return 0;
  });
  clsResearch::TradeHistoryCache cache(engine);
  for (Candidate& row : candidates) {
    rt::Date start = row.date, end = rt::CDate(parms.strSimEnd);
    int16_t lookBack = parms.intWinDays;
    clsResearch::TradeHistoryCache::Served history =
        Timed(historySeconds, [&] { return cache.Load(row.symbol, start, end, lookBack); });
    if (history.result == NotEnoughData()) continue;
    std::optional<trade::DaysInUse> days;
    if (history.days) days.emplace(*history.days);
    clsResearch::TradePosition& trade = engine.TradeState();
    trade = {};
    trade.strSymbol = row.symbol;
    trade.strPositioning = row.positioning;
    trade.datAcquireDate = row.date;
    try {
      Timed(walkSeconds, [&] {
        rt::Date signal = row.date;
        if (engine.PurchaseStock(signal) != 0) return false;
        engine.SetStopPrice();
        engine.UpdateAndSell();
        engine.ApplySellBuffer();
        return true;
      });
    } catch (const std::exception&) {
      // An order that cannot be worked out: the driver leaves the row reset.
    }
  }
  std::printf("reset_and_read_time: %.3f s\n", resetSeconds);
  std::printf("history_time: %.3f s\n", historySeconds);
  std::printf("history_symbols_read: %zu symbols\n", cache.SymbolsRead());
  std::printf("entry_and_walk_time: %.3f s\n", walkSeconds);
  std::printf("row_update_and_driver_time: %.3f s\n", buildSeconds - resetSeconds - historySeconds - walkSeconds);

  // Reading each row's history from the database instead, on a sample.
  size_t sample = std::min<size_t>(candidates.size(), 2000);
  double loadDataSeconds = 0;
  for (size_t k = 0; k < sample; ++k) {
    Candidate& row = candidates[k * candidates.size() / sample];
    rt::Date start = row.date, end = rt::CDate(parms.strSimEnd);
    int16_t lookBack = parms.intWinDays;
    Timed(loadDataSeconds, [&] { return engine.LoadData(row.symbol, start, end, lookBack); });
  }
  std::printf("history_per_row_cached: %.1f us\n", historySeconds / candidates.size() * 1e6);
  std::printf("history_per_row_load_data: %.1f us\n", loadDataSeconds / sample * 1e6);
  return 0;
}
