// One portfolio replay over a year of a simulation table made from the
// shipped data by the Select stage (no criterion: every day of five years a
// LONG and a SHORT candidate of every shipped symbol) and the Trade stage (a
// Market order): milliseconds of processor time per replay, and where the
// time goes.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/connection.h"
#include "platform/runtime/date.h"
#include "simulation/portfolio_records.h"
#include "simulation/portfolio_replay_candidates.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_simulation.h"

namespace {

const rt::Date kTableStart = rt::DateSerial(2012, 1, 3);
const rt::Date kTableEnd = rt::DateSerial(2016, 12, 30);
const rt::Date kReplayStart = rt::DateSerial(2015, 1, 1);
const rt::Date kReplayEnd = rt::DateSerial(2015, 12, 31);

// Processor time of this thread: other work on a busy machine does not count.
double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
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

}  // namespace

int main() {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  const long rows = testsupport::BuildShippedSimulation(bed, "sim_Bench", kTableStart, kTableEnd);
  clsResearch& engine = bed.Engine();
  engine.SetListener(nullptr);

  RunParameters& p = Parms();
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

  // The day's candidates, over every day of the year: as the replay finds
  // them among the rows it holds, and as the statement's text with the
  // values pasted in finds them in the database (prepared anew each day).
  db::Connection& cn = SharedConnection();
  const long days = static_cast<long>(kReplayEnd - kReplayStart) + 1;
  const auto table = simulation::ReplayTable::Read(p.strSimTable, std::nullopt, simulation::CurrentDatabaseStamp());
  simulation::ReplayCandidates candidates(*table, p, std::nullopt);
  const double heldMs = BestOf(7, 1, [&] {
    for (rt::Date day = kReplayStart; day <= kReplayEnd; day = day + 1)
      for (simulation::DayCandidates c = candidates.Day(day, 5000); !c.Eof(); c.MoveNext()) {
      }
  });
  const double pastedMs = BestOf(7, 1, [&] {
    for (rt::Date day = kReplayStart; day <= kReplayEnd; day = day + 1)
      cn.OpenRecordset(engine.BuildQuery(day, 5000, true, rt::Date()));
  });

  std::printf("portfolio_table_rows: %ld rows\n", rows);
  std::printf("portfolio_replay_days: %ld days\n", days);
  std::printf("portfolio_positions_bought: %zu positions\n", bought);
  std::printf("portfolio_replay: %.2f ms\n", replayMs);
  std::printf("portfolio_candidates_held: %.1f us\n", heldMs * 1000 / days);
  std::printf("portfolio_candidate_query_pasted: %.1f us\n", pastedMs * 1000 / days);
  std::printf("portfolio_final_balance: %.0f dollars\n", balance);
  return 0;
}
