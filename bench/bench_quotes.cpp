// Quote history through the stand-in service into the database, and back
// into the day records: rows per second for a download-and-store of a
// 20-year history (best of five, and as a multiple of single-row commits),
// and for LoadData of the stored history.
//
// Usage: bench_quotes [symbol]   (default IBM, from the project's data folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "market_data/day_record.h"
#include "single_row_commits.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main(int argc, char** argv) {
  std::string symbol = argc > 1 ? argv[1] : "IBM";
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  clsResearch& engine = bed.Engine();
  engine.CreateTable(symbol);
  Parms().datEarliestDate = testsupport::Day(1990, 1, 1);

  // The whole history into an empty table, best of several downloads.
  double downloadSeconds = 1e300;
  long rows = 0;
  for (int i = 0; i < 5; ++i) {
    bed.Execute("DELETE FROM [" + symbol + "]");
    rt::Date start, end = testsupport::Day(2020, 11, 16);
    auto t0 = std::chrono::steady_clock::now();
    if (!engine.UpdateStock(start, end, symbol)) {
      std::fprintf(stderr, "download of %s failed\n", symbol.c_str());
      return 1;
    }
    downloadSeconds = std::min(downloadSeconds, Seconds(t0));
    rows = std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + symbol + "]"));
  }
  std::printf("download_rows: %ld rows\n", rows);
  std::printf("download_and_store: %.0f rows/s\n", rows / downloadSeconds);
  std::printf("download_and_store_time: %.1f ms\n", downloadSeconds * 1000);
  bench::PrintRatio("download_and_store", rows / downloadSeconds);

  // LoadData of the whole stored history, best of several runs.
  double best = 1e300;
  size_t loaded = 0;
  for (int i = 0; i < 20; ++i) {
    rt::Date from = testsupport::Day(2000, 6, 1), to = testsupport::Day(2020, 11, 16);
    int16_t lookBack = Parms().intWinDays;
    auto t1 = std::chrono::steady_clock::now();
    rt::Date result = engine.LoadData(symbol, from, to, lookBack);
    double s = Seconds(t1);
    if (result == rt::Date(-36522.0)) {
      std::fprintf(stderr, "LoadData found not enough data\n");
      return 1;
    }
    best = std::min(best, s);
    loaded = udtStockDays.size();
  }
  std::printf("load_rows: %zu rows\n", loaded);
  std::printf("load_data_time: %.2f ms\n", best * 1000);
  std::printf("load_data: %.0f rows/s\n", loaded / best);
  return 0;
}
