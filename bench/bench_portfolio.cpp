// One portfolio replay over a year of a simulation table built from the
// shipped histories: milliseconds (processor time) per replay, and where the
// time goes.
//
// The table holds a LONG and a SHORT candidate for every symbol and trading
// day of five years, each traded the way the Trade stage leaves rows: bought
// at the next day's close and released five trading days later (the newest
// days stay open). The replay runs over one of those years.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/connection.h"
#include "platform/runtime/date.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "simulation/portfolio_records.h"
#include "support/history_csv.h"
#include "support/temp_app_folder.h"

namespace {

const rt::Date kTableStart = rt::DateSerial(2012, 1, 1);
const rt::Date kTableEnd = rt::DateSerial(2016, 12, 31);
const rt::Date kReplayStart = rt::DateSerial(2015, 1, 1);
const rt::Date kReplayEnd = rt::DateSerial(2015, 12, 31);
constexpr int kHoldDays = 5;

// Processor time of this thread: other work on a busy machine does not count.
double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::map<std::string, std::string> Markets() {
  std::map<std::string, std::string> markets;
  std::ifstream in(std::filesystem::path(KESTROVANE_DATA_DIR) / "SymbolList");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t comma = line.find(',');
    if (comma != std::string::npos) markets[line.substr(0, comma)] = line.substr(comma + 1);
  }
  return markets;
}

// Percent from the 30-day average close of each day, by date.
std::map<double, double> IndexPercentMA(const DayRecords& days) {
  std::map<double, double> byDate;
  for (size_t i = 0; i + 30 < days.size(); ++i) {
    double sum = 0;
    for (size_t k = i; k < i + 30; ++k) sum += days[k].strClose.Value();
    const double ma = sum / 30;
    byDate[days[i].datDamnDate.Serial()] = std::round(100 * (days[i].strClose.Value() - ma) / ma);
  }
  return byDate;
}

// The fastest of `rounds` rounds of `repeat` calls, in milliseconds per call.
template <typename Work>
double BestOf(int rounds, int repeat, Work&& work) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    const double start = CpuMilliseconds();
    for (int i = 0; i < repeat; ++i) work();
    best = std::min(best, (CpuMilliseconds() - start) / repeat);
  }
  return best;
}

std::string DateLiteral(rt::Date d) { return "#" + rt::FormatDate(d) + "#"; }

long BuildTable(clsResearch& engine, const std::string& table) {
  engine.CreateSimulationTable(table);
  const std::filesystem::path data(KESTROVANE_DATA_DIR);
  const auto dji = IndexPercentMA(testsupport::LoadHistoryCsv(data / "^DJI.csv", "^DJI"));
  const auto nasdaq = IndexPercentMA(testsupport::LoadHistoryCsv(data / "^IXIC.csv", "^IXIC"));
  db::Connection& cn = SharedConnection();
  long rows = 0;
  cn.BeginTrans();
  for (const auto& [symbol, market] : Markets()) {
    const DayRecords days = testsupport::LoadHistoryCsv(data / (symbol + ".csv"), symbol);
    // Rows run newest first: day i + 1 is the trading day before day i.
    for (size_t i = 0; i + 31 < days.size(); ++i) {
      const DayRecord& d = days[i];
      if (d.datDamnDate < kTableStart || d.datDamnDate > kTableEnd) continue;
      double sumClose = 0, sumVolume = 0;
      for (size_t k = i; k < i + 30; ++k) sumClose += days[k].strClose.Value(), sumVolume += days[k].lngVolume;
      const double close = d.strClose.Value();
      const double ma = sumClose / 30, avgVolume = sumVolume / 30;
      const double previous = days[i + 1].strClose.Value();
      if (close <= 0 || ma <= 0 || previous <= 0) continue;
      const double percentMA = std::round(100 * (close - ma) / ma);
      const double volumeChange = avgVolume > 0 ? rt::Round(100 * (d.lngVolume / avgVolume - 1), 2) : 0;
      const double priceChange = rt::Round(100 * (close / previous - 1), 2);
      const auto djiIt = dji.find(d.datDamnDate.Serial());
      const auto nsIt = nasdaq.find(d.datDamnDate.Serial());
      for (const char* side : {"LONG", "SHORT"}) {
        const bool isLong = std::string(side) == "LONG";
        std::string trade;
        if (i >= 1) {
          const DayRecord& fill = days[i - 1];
          const double acquire = rt::Round(fill.strClose.Value(), 2);
          if (i >= 1 + kHoldDays) {
            const DayRecord& exit = days[i - 1 - kHoldDays];
            const double release = rt::Round(exit.strClose.Value(), 2);
            const double gain = rt::Round(100 * (isLong ? release - acquire : acquire - release) / acquire, 2);
            trade = rt::FormatNumber(acquire) + ", 'B', " + DateLiteral(fill.datDamnDate) + ", " +
                    DateLiteral(exit.datDamnDate) + ", " + rt::FormatNumber(release) + ", " + rt::FormatNumber(gain);
          } else {
            trade = rt::FormatNumber(acquire) + ", '" + rt::FormatShortDate(days[0].datDamnDate) + "', " +
                    DateLiteral(fill.datDamnDate) + ", #12:00:00 AM#, 0, 0";
          }
        } else {
          trade = "-1, NULL, NULL, NULL, NULL, NULL";
        }
        const double djMA = djiIt == dji.end() ? 0 : djiIt->second;
        const double nsMA = nsIt == nasdaq.end() ? 0 : nsIt->second;
        cn.Execute("INSERT INTO [" + table + "] (AcquireDate, Symbol, Market, Positioning, AcquirePrice, Bought, "
                   "BoughtDate, ReleaseDate, ReleasePrice, GainLoss, RSI, RSIChange, MACD, PercentMA, MaxPrice, "
                   "MinPrice, Volume, VolumeChange, PriceChange, BBDistance, DJ_RSI, DJ_MA, NS_RSI, NS_MA) VALUES (" +
                   DateLiteral(d.datDamnDate) + ", '" + symbol + "', '" + market + "', '" + side + "', " + trade +
                   ", 50, 1, 0.5, " + rt::FormatNumber(isLong ? percentMA : -percentMA) + ", 0, 0, " +
                   std::to_string(static_cast<long>(avgVolume)) + ", " + rt::FormatNumber(volumeChange) + ", " +
                   rt::FormatNumber(priceChange) + ", 0.5, 50, " + rt::FormatNumber(isLong ? djMA : -djMA) +
                   ", 50, " + rt::FormatNumber(isLong ? nsMA : -nsMA) + ")");
        ++rows;
      }
    }
  }
  cn.CommitTrans();
  return rows;
}

}  // namespace

int main() {
  testsupport::TempAppFolder folder;
  RunParameters& p = Parms();
  p = RunParameters::DesignDefaults();
  clsResearch engine;
  p.strSimTable = "sim_Bench";
  const long rows = BuildTable(engine, p.strSimTable);

  p.strSimEnd = rt::FormatShortDate(kTableEnd);
  p.blnSelectByDate = true;
  p.datSelectStart = kReplayStart;
  p.datSelectEnd = kReplayEnd;
  p.intMaxStocks = 3;
  p.intBuyPerDay = 2;
  p.intBuyCriteria = 0;
  p.blnCalculateResults = false;

  // Each figure is the best of several rounds, so that a busy machine does
  // not decide it.
  double balance = 15000;
  const double replayMs = BestOf(7, 10, [&] {
    balance = 15000;
    engine.SimResults(true, balance);
  });
  const size_t bought = udtPortfolio.size();

  // The two kinds of query the replay runs, timed alone over the same year.
  db::Connection& cn = SharedConnection();
  const long days = static_cast<long>(kReplayEnd - kReplayStart) + 1;
  const double candidateMs = BestOf(7, 1, [&] {
    for (rt::Date day = kReplayStart; day <= kReplayEnd; day = day + 1)
      cn.OpenRecordset(engine.BuildQuery(day, 5000, true, rt::Date()));
  });
  // The same count of queries with one text: what is left once the statement is prepared.
  const std::string oneDay = engine.BuildQuery(kReplayStart + 40, 5000, true, rt::Date());
  const double preparedMs = BestOf(7, 1, [&] {
    for (long d = 0; d < days; ++d) cn.OpenRecordset(oneDay);
  });
  const std::vector<PortfolioSlot> positions = udtPortfolio;
  const double rereadMs = BestOf(7, 1, [&] {
    for (const PortfolioSlot& s : positions)
      cn.OpenRecordset("SELECT PercentMA, AcquireDate ,BoughtDate, Positioning, RSI, ReleaseDate, GainLoss, Symbol, "
                       "Volume, AcquirePrice, Market, TargetPrice, ReleasePrice, Bought, VolumeChange, PriceChange, "
                       "MACD From [sim_Bench] WHERE (((AcquireDate)=" + DateLiteral(s.datAcquireDate) +
                       ") AND ((Symbol)='" + s.strSymbol + "') AND ((Positioning)='" + s.strPositioning + "'))");
  });

  std::printf("portfolio_table_rows: %ld rows\n", rows);
  std::printf("portfolio_replay_days: %ld days\n", days);
  std::printf("portfolio_positions_bought: %zu positions\n", bought);
  std::printf("portfolio_replay: %.2f ms\n", replayMs);
  std::printf("portfolio_candidate_queries_every_day: %.2f ms\n", candidateMs);
  std::printf("portfolio_candidate_queries_one_text: %.2f ms\n", preparedMs);
  std::printf("portfolio_bought_row_reads: %.2f ms\n", rereadMs);
  std::printf("portfolio_final_balance: %.0f dollars\n", balance);
  return 0;
}
