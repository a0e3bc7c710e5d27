// The program at the scale of a whole market: N new symbols with twenty years
// of made-up daily quotes (a random walk from a fixed seed), served by the
// stand-in quote service and taken through the stages as the main window runs
// them. For each N it prints the time of
//   select_first    the first Select with RSI on (download, store, RSI scan),
//   select_stored   the same Select again on the stored quotes,
//   trade           the Trade stage over the RSI winners,
//   select_loose    a Select with no criterion (every day a LONG and a SHORT),
// the loose Select's winners, time per winner and longest time between two
// yields to the window system (what the window would wait at most), and the
// peak memory of the process after the Trade stage.
//
// Each N runs in its own child process, so that its peak memory is its own
// and no cache of one N helps the next; its quotes and application folder are
// temporary and removed at the end.
//
// Usage: bench_scale [--large] [--trade]   (N = 50 and 200; --large adds
// 1,000; --trade runs only the stages the Trade figure needs)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "synthetic_market.h"

namespace {

using bench::Clock;
using bench::PeakMiB;
using bench::Seconds;

// The longest time between two yields to the window system, from when it starts.
class LongestYieldGap {
 public:
  explicit LongestYieldGap(testsupport::EngineTestBed& bed) : bed_(bed), last_(Clock::now()) {
    bed_.User().OnDoEvents([this](int) { Note(); });
  }
  ~LongestYieldGap() { bed_.User().OnDoEvents(nullptr); }
  LongestYieldGap(const LongestYieldGap&) = delete;
  LongestYieldGap& operator=(const LongestYieldGap&) = delete;
  double Longest() {
    Note();
    return longest_;
  }

 private:
  void Note() {
    longest_ = std::max(longest_, Seconds(last_));
    last_ = Clock::now();
  }
  testsupport::EngineTestBed& bed_;
  Clock::time_point last_;
  double longest_ = 0;
};

long Rows(testsupport::EngineTestBed& bed, const std::string& table) {
  return std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + table + "]"));
}

void RunAtScale(int count, bool tradeOnly) {
  bench::ScratchFolder quotes;
  testsupport::EngineTestBed bed;
  bench::WriteMarket(quotes.Path(), bed.Folder().File("SymbolList"), count);
  testsupport::QuoteServiceProcess service(quotes.Path());
  clsResearch& engine = bed.Engine();
  bench::WinnerStore winners(engine);
  engine.SetListener(&winners);
  if (!engine.ImportNewStocks(bed.Folder().File("SymbolList").string()))
    throw std::runtime_error("the symbol import failed");

  RunParameters& parms = Parms();
  bench::SetDownloadingSelect(parms);
  std::printf("select_first_%d: %.2f s\n", count, bench::TimedSelect(engine, "sim_rsi"));
  if (!tradeOnly) std::printf("select_stored_%d: %.2f s\n", count, bench::TimedSelect(engine, "sim_rsi"));
  std::printf("select_rsi_winners_%d: %ld winners\n", count, Rows(bed, "sim_rsi"));

  // The Trade settings as the window first shows them, with a Market order.
  parms.strTypeOfPurchase = "Market";
  parms.intDecline = 3;
  parms.strSimEnd = rt::FormatShortDate(bench::kPeriodEnd);
  auto t = Clock::now();
  engine.BuildResults();
  std::printf("trade_%d: %.2f s\n", count, Seconds(t));
  std::printf("trade_peak_rss_%d: %.0f MiB\n", count, PeakMiB());
  if (tradeOnly) return;

  parms.blnUseRSI = false;
  parms.blnNoWinCriteria = true;
  double longestGap = 0;
  double loose = 0;
  {
    LongestYieldGap gaps(bed);
    loose = bench::TimedSelect(engine, "sim_loose");
    longestGap = gaps.Longest();
  }
  long looseWinners = Rows(bed, "sim_loose");
  std::printf("select_loose_%d: %.2f s\n", count, loose);
  std::printf("select_loose_winners_%d: %ld winners\n", count, looseWinners);
  std::printf("select_loose_per_winner_%d: %.1f us\n", count, loose / looseWinners * 1e6);
  std::printf("select_loose_longest_gap_%d: %.0f ms\n", count, longestGap * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> counts{50, 200};
  bool tradeOnly = false;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--large") == 0) {
      counts.push_back(1000);
    } else if (std::strcmp(argv[a], "--trade") == 0) {
      tradeOnly = true;
    } else {
      std::fprintf(stderr, "usage: bench_scale [--large] [--trade]\n");
      return 2;
    }
  }
  bool allFinished = true;
  for (int count : counts)
    allFinished = bench::RunChild("N = " + std::to_string(count), [&] { RunAtScale(count, tradeOnly); }) && allFinished;
  return allFinished ? 0 : 1;
}
