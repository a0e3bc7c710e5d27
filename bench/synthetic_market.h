#pragma once
// A whole market made up for the scale benchmarks: N new symbols with twenty
// years of daily quotes (a random walk from a fixed seed, so every machine
// writes the same quotes) and both market indices, in the layout the
// stand-in quote service reads, with the symbol file that lists them; and
// what the benchmarks around it share: the scanned period, a temporary
// folder, a listener that stores winners as the window does, the peak
// memory, and one child process per N.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>

#include "market_data/cls_research.h"
#include "market_data/research_events.h"
#include "market_data/run_parameters.h"
#include "simulation/simulation_table.h"
#include "support/engine_test_bed.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Twenty years are scanned; the quotes start earlier by more than the
// indicators' look-back, so that a Select on stored quotes downloads nothing.
inline constexpr std::chrono::sys_days kFirstQuote = std::chrono::year{1999} / 8 / 2;
inline constexpr std::chrono::sys_days kLastQuote = std::chrono::year{2019} / 12 / 31;
inline const rt::Date kPeriodStart = testsupport::Day(2000, 1, 3);
inline const rt::Date kPeriodEnd = testsupport::Day(2019, 12, 31);

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
inline void WriteHistory(const std::filesystem::path& file, QuoteWalk walk) {
  namespace chrono = std::chrono;
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

inline std::string SymbolName(int k) {
  char name[16];
  std::snprintf(name, sizeof name, "S%04d", k);
  return name;
}

// The quotes of `count` symbols and of both market indices, and the symbol
// file ("SYMBOL,market" lines) that lists the symbols.
inline void WriteMarket(const std::filesystem::path& quotes, const std::filesystem::path& symbolFile, int count) {
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

// A temporary folder, removed with everything in it.
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
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
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

// The settings of the Select that downloads the market: Update Data on, the
// whole history from 1999 and an RSI criterion, so that it stores few winners.
inline void SetDownloadingSelect(RunParameters& parms) {
  parms.blnUseInternet = parms.blnUpdateData = true;
  parms.datEarliestDate = testsupport::Day(1999, 1, 1);
  parms.blnNoWinCriteria = false;
  parms.blnUseRSI = true;
}

// A Select over the whole period into the table, created anew as the window
// does; its wall time.
inline double TimedSelect(clsResearch& engine, const std::string& table) {
  Parms().strSimTable = table;
  engine.CreateSimulationTable(table);
  std::vector<std::string> symbols{"all:"};
  auto t = Clock::now();
  std::string status = engine.Process(kPeriodStart, kPeriodEnd, symbols, true, true, "", Parms().intWinDays);
  double seconds = Seconds(t);
  if (status != "complete") throw std::runtime_error("the Select into " + table + " ended with " + status);
  return seconds;
}

// The peak resident memory of this process so far.
inline double PeakMiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

// Runs the work in a child process, so that its peak memory is its own and
// no cache of one run helps the next; true when it finished.
inline bool RunChild(const std::string& name, const std::function<void()>& work) {
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int code = 0;
    try {
      work();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s: %s\n", name.c_str(), error.what());
      code = 1;
    }
    std::fflush(stdout);
    ::_exit(code);
  }
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace bench
