// The Select stage over every shipped symbol and ten years, once without a
// criterion (every day a long and a short) and once with every criterion on:
// wall time, symbols per second and winners written per second, with the time
// split into loading, indicators, the scan and storing the winners (the run
// against the same run that passes its winners over), and the storing rate as
// a multiple of single-row commits.
//
// The histories are downloaded from the stand-in service first (timed apart).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "market_data/database_connection.h"
#include "market_data/day_record.h"
#include "simulation/simulation_table.h"
#include "single_row_commits.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

const rt::Date kStart = testsupport::Day(2010, 11, 16);
const rt::Date kEnd = testsupport::Day(2020, 11, 16);

struct Figures {
  double wall = 0;
  long winners = 0;
  size_t symbols = 0;
};

// A Select run; each winner is stored as the window's Winner handler stores
// it, or (store false) passed over, which leaves the run without its writes.
Figures RunSelect(testsupport::EngineTestBed& bed, const std::string& table, bool store) {
  clsResearch& engine = bed.Engine();
  Parms().strSimTable = table;
  engine.CreateSimulationTable(table);
  Figures f;
  bed.Events().winners.clear();
  bed.Events().winnerStored.clear();
  long passedOver = 0;
  bed.Events().onWinner = [&](clsStock& stock, bool fresh) {
    if (!fresh) return;
    if (store) engine.LogWinner(simulation::WinnerInsertStatement(stock, table, 1));
    else ++passedOver;
  };
  std::vector<std::string> symbols{"all:"};
  auto t0 = Clock::now();
  std::string status = engine.Process(kStart, kEnd, symbols, true, true, "", Parms().intWinDays);
  f.wall = Seconds(t0);
  if (status != "complete") std::fprintf(stderr, "Select ended with %s\n", status.c_str());
  f.winners = store ? std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + table + "]")) : passedOver;
  f.symbols = symbols.size();
  bed.Events().winners.clear();  // the recording listener keeps copies; not part of the figures
  return f;
}

// LoadData and CrunchData alone for every symbol, as the run does them.
void LoadAndCrunch(testsupport::EngineTestBed& bed, double& loading, double& crunching) {
  clsResearch& engine = bed.Engine();
  loading = crunching = 0;
  db::Recordset rows = SharedConnection().OpenRecordset("SELECT Symbol FROM Stock_Master");
  for (; !rows.Eof(); rows.MoveNext()) {
    std::string symbol = rows.Field(0).ToText();
    rt::Date start = kStart, end = kEnd;
    int16_t lookBack = Parms().intWinDays;
    auto t = Clock::now();
    engine.LoadData(symbol, start, end, lookBack);
    loading += Seconds(t);
    t = Clock::now();
    engine.CrunchData(symbol);
    crunching += Seconds(t);
  }
}

// The storing time is the run's wall time less that of the same run without
// its writes: the statements and commits of every winner.
void Print(const char* name, const Figures& stored, const Figures& passed, double loading, double crunching) {
  std::printf("%s_wall_time: %.2f s\n", name, stored.wall);
  std::printf("%s_symbols: %.1f symbols/s\n", name, stored.symbols / stored.wall);
  std::printf("%s_winners_written: %ld winners\n", name, stored.winners);
  std::printf("%s_winner_rate: %.0f winners/s\n", name, stored.winners / stored.wall);
  std::printf("%s_wall_time_without_storing: %.2f s\n", name, passed.wall);
  double storing = stored.wall - passed.wall;
  std::printf("%s_store_time: %.2f s\n", name, storing);
  if (stored.winners > 0 && storing > 0) std::printf("%s_store_rate: %.0f winners/s\n", name, stored.winners / storing);
  std::printf("%s_scan_time: %.2f s\n", name, passed.wall - loading - crunching);
}

}  // namespace

int main() {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  // Download every history once (the first run), then time runs on stored data.
  auto t = Clock::now();
  if (testsupport::SelectShippedSymbols(bed, "sim_download", kStart, kEnd) != "complete") {
    std::fprintf(stderr, "the first Select run did not complete\n");
    return 1;
  }
  std::printf("download_and_first_select_time: %.2f s\n", Seconds(t));
  RunParameters& parms = Parms();
  parms.blnUseInternet = false;

  double loading = 0, crunching = 0;
  LoadAndCrunch(bed, loading, crunching);
  std::printf("load_data_time: %.2f s\n", loading);
  std::printf("crunch_data_time: %.2f s\n", crunching);

  // Best of three of each, alternating.
  Figures none, noneUnstored;
  for (int i = 0; i < 3; ++i) {
    Figures stored = RunSelect(bed, "sim_no_criteria", true);
    Figures passed = RunSelect(bed, "sim_no_criteria_unstored", false);
    if (i == 0 || stored.wall < none.wall) none = stored;
    if (i == 0 || passed.wall < noneUnstored.wall) noneUnstored = passed;
  }
  Print("no_criteria", none, noneUnstored, loading, crunching);
  if (none.wall > noneUnstored.wall) {
    bench::PrintRatio("winner_storage", none.winners / (none.wall - noneUnstored.wall));
    bench::PrintRatio("select_run", none.winners / none.wall);
  }

  parms.blnNoWinCriteria = false;
  parms.blnUseMA = parms.blnUseRSI = parms.blnUseBoll = parms.blnUseMinVol = true;
  parms.blnUseMACD = parms.blnUseADX = parms.blnUseSwing = true;
  Figures all = RunSelect(bed, "sim_all_criteria", true);
  Figures allUnstored = RunSelect(bed, "sim_all_criteria_unstored", false);
  Print("all_criteria", all, allUnstored, loading, crunching);
  return 0;
}
