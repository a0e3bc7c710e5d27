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
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "simulation/simulation_table.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace chrono = std::chrono;

double Seconds(Clock::time_point from) { return chrono::duration<double>(Clock::now() - from).count(); }

// Twenty years are scanned; the quotes start earlier by more than the
// indicators' look-back, so that a Select on stored quotes downloads nothing.
constexpr chrono::sys_days kFirstQuote = chrono::year{1999} / 8 / 2;
constexpr chrono::sys_days kLastQuote = chrono::year{2019} / 12 / 31;
const rt::Date kPeriodStart = testsupport::Day(2000, 1, 3);
const rt::Date kPeriodEnd = testsupport::Day(2019, 12, 31);

// A random walk of plausible trading days: positive prices in cents, Low <=
// Open, Close <= High, whole volumes. Built on the generator's raw bits, whose
// sequence the standard fixes, so every machine writes the same quotes.
class QuoteWalk {
 public:
  QuoteWalk(uint64_t seed, double firstClose, double volume) : bits_(seed), close_(firstClose), volume_(volume) {
    floor_ = firstClose / 8;
    ceiling_ = firstClose * 8;
  }

  // One day's "Open,High,Low,Close,Adj Close,Volume" cells.
  std::string NextDay() {
    double open = Step(close_, 0.004);
    close_ = Step(open, 0.015);
    double high = Cents(std::max(open, close_) * (1 + 0.01 * Uniform()));
    double low = Cents(std::min(open, close_) * (1 - 0.01 * Uniform()));
    open = Cents(open);
    double close = Cents(close_);
    high = std::max({high, open, close});
    low = std::min({low, open, close});
    long long volume = std::llround(volume_ * (0.2 + 1.8 * Uniform()));
    char cells[160];
    std::snprintf(cells, sizeof cells, "%.2f,%.2f,%.2f,%.2f,%.2f,%lld", open, high, low, close, close, volume);
    return cells;
  }

 private:
  double Uniform() { return static_cast<double>(bits_() >> 11) * 0x1.0p-53; }
  double Normal() { return std::sqrt(-2 * std::log(1 - Uniform())) * std::cos(2 * std::numbers::pi * Uniform()); }
  static double Cents(double price) { return std::round(price * 100) / 100; }

  // A log-normal move, reflected back into the band so that twenty years
  // stay within a plausible price range.
  double Step(double price, double volatility) {
    double next = price * std::exp(volatility * Normal());
    if (next < floor_) next = floor_ * floor_ / next;
    if (next > ceiling_) next = ceiling_ * ceiling_ / next;
    return next;
  }

  std::mt19937_64 bits_;
  double close_, volume_, floor_, ceiling_;
};

// One history file in the layout the stand-in service reads: ISO dates,
// oldest first, weekdays only.
void WriteHistory(const std::filesystem::path& file, QuoteWalk walk) {
  std::ofstream out(file, std::ios::binary);
  out << "Date,Open,High,Low,Close,Adj Close,Volume\n";
  for (chrono::sys_days day = kFirstQuote; day <= kLastQuote; day += chrono::days{1}) {
    chrono::weekday weekday{day};
    if (weekday == chrono::Saturday || weekday == chrono::Sunday) continue;
    chrono::year_month_day date{day};
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02u-%02u", static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    out << iso << ',' << walk.NextDay() << '\n';
  }
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string SymbolName(int k) {
  char name[16];
  std::snprintf(name, sizeof name, "S%04d", k);
  return name;
}

// The quotes of `count` symbols and of both market indices, and the symbol
// file ("SYMBOL,market" lines) that lists the symbols.
void WriteMarket(const std::filesystem::path& quotes, const std::filesystem::path& symbolFile, int count) {
  WriteHistory(quotes / "^DJI.csv", QuoteWalk(1, 11000, 2e8));
  WriteHistory(quotes / "^IXIC.csv", QuoteWalk(2, 4000, 1.5e9));
  std::ofstream list(symbolFile, std::ios::binary);
  std::mt19937_64 starts(3);
  for (int k = 1; k <= count; ++k) {
    double firstClose = 5 + static_cast<double>(starts() % 9500) / 100;
    WriteHistory(quotes / (SymbolName(k) + ".csv"), QuoteWalk(1000 + k, firstClose, 2e6));
    list << SymbolName(k) << (k % 3 == 0 ? ",ns" : k % 3 == 1 ? ",ny" : ",am") << "\r\n";
  }
  if (!list) throw std::runtime_error("cannot write " + symbolFile.string());
}

// A temporary folder for the quotes, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrovane-scale-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Stores each winner as the main window's Winner handler does, and keeps no
// copy: a loose Select offers millions.
class WinnerStore : public ResearchEvents {
 public:
  explicit WinnerStore(clsResearch& engine) : engine_(engine) {}
  void Winner(clsStock& stock, bool& store) override {
    const RunParameters& parms = Parms();
    if (store) engine_.LogWinner(simulation::WinnerInsertStatement(stock, parms.strSimTable, parms.intDatabaseType));
  }

 private:
  clsResearch& engine_;
};

// The longest time between two yields to the window system, from when it starts.
class LongestYieldGap {
 public:
  explicit LongestYieldGap(testsupport::EngineTestBed& bed) : bed_(bed), last_(Clock::now()) {
    bed_.User().OnDoEvents([this](int) { Note(); });
  }
  ~LongestYieldGap() { bed_.User().OnDoEvents(nullptr); }
  double Seconds() {
    Note();
    return longest_;
  }

 private:
  void Note() {
    const Clock::time_point now = Clock::now();
    longest_ = std::max(longest_, chrono::duration<double>(now - last_).count());
    last_ = now;
  }
  testsupport::EngineTestBed& bed_;
  Clock::time_point last_;
  double longest_ = 0;
};

// A Select into the table, created anew as the window does; its wall time,
// and the longest time between two yields when `longestGap` is given.
double TimedSelect(testsupport::EngineTestBed& bed, const std::string& table, double* longestGap = nullptr) {
  Parms().strSimTable = table;
  std::optional<LongestYieldGap> gaps;
  if (longestGap) gaps.emplace(bed);
  bed.Engine().CreateSimulationTable(table);
  std::vector<std::string> symbols{"all:"};
  auto t = Clock::now();
  std::string status = bed.Engine().Process(kPeriodStart, kPeriodEnd, symbols, true, true, "", Parms().intWinDays);
  double seconds = Seconds(t);
  if (gaps) *longestGap = gaps->Seconds();
  if (status != "complete") throw std::runtime_error("the Select into " + table + " ended with " + status);
  return seconds;
}

long Rows(testsupport::EngineTestBed& bed, const std::string& table) {
  return std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + table + "]"));
}

double PeakMiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void RunAtScale(int count, bool tradeOnly) {
  ScratchFolder quotes;
  testsupport::EngineTestBed bed;
  WriteMarket(quotes.Path(), bed.Folder().File("SymbolList"), count);
  testsupport::QuoteServiceProcess service(quotes.Path());
  clsResearch& engine = bed.Engine();
  WinnerStore winners(engine);
  engine.SetListener(&winners);
  if (!engine.ImportNewStocks(bed.Folder().File("SymbolList").string()))
    throw std::runtime_error("the symbol import failed");

  RunParameters& parms = Parms();
  parms.blnUseInternet = parms.blnUpdateData = true;
  parms.datEarliestDate = testsupport::Day(1999, 1, 1);
  parms.blnNoWinCriteria = false;
  parms.blnUseRSI = true;
  std::printf("select_first_%d: %.2f s\n", count, TimedSelect(bed, "sim_rsi"));
  if (!tradeOnly) std::printf("select_stored_%d: %.2f s\n", count, TimedSelect(bed, "sim_rsi"));
  std::printf("select_rsi_winners_%d: %ld winners\n", count, Rows(bed, "sim_rsi"));

  // The Trade settings as the window first shows them, with a Market order.
  parms.strTypeOfPurchase = "Market";
  parms.intDecline = 3;
  parms.strSimEnd = rt::FormatShortDate(kPeriodEnd);
  auto t = Clock::now();
  engine.BuildResults();
  std::printf("trade_%d: %.2f s\n", count, Seconds(t));
  std::printf("trade_peak_rss_%d: %.0f MiB\n", count, PeakMiB());
  if (tradeOnly) return;

  parms.blnUseRSI = false;
  parms.blnNoWinCriteria = true;
  double longestGap = 0;
  double loose = TimedSelect(bed, "sim_loose", &longestGap);
  long looseWinners = Rows(bed, "sim_loose");
  std::printf("select_loose_%d: %.2f s\n", count, loose);
  std::printf("select_loose_winners_%d: %ld winners\n", count, looseWinners);
  std::printf("select_loose_per_winner_%d: %.1f us\n", count, loose / looseWinners * 1e6);
  std::printf("select_loose_longest_gap_%d: %.0f ms\n", count, longestGap * 1e3);
}

// Runs one N in a child process; true when it finished.
bool RunChild(int count, bool tradeOnly) {
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int code = 0;
    try {
      RunAtScale(count, tradeOnly);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "N = %d: %s\n", count, error.what());
      code = 1;
    }
    std::fflush(stdout);
    ::_exit(code);
  }
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
  for (int count : counts) allFinished = RunChild(count, tradeOnly) && allFinished;
  return allFinished ? 0 : 1;
}
