// A portfolio sweep through the main window over a simulation table made from
// the shipped data (every day of five years a LONG and a SHORT candidate of
// every shipped symbol, traded with a Market order), replaying 2015: the
// milliseconds of processor time per variation, against the bare replay, so
// that the window's own work per variation shows. Each time is the best of
// five rounds and the ratio the median of the rounds' ratios, which keeps
// other work on the machine out of the figures. The replays read the table's
// rows once; the time of that read, which a sweep's first replay and a
// single run on a changed table pay, is printed too. The sweep is then timed
// again with the main window shown, as a user has it.
//
// The same sweep with both replay logs on (each replay adds its lines to
// "Simulation Summary by Symbol.csv" and "Portfolio Summary by Date.csv")
// runs twice: the milliseconds per variation of the first run, into new logs,
// and of the second, into the logs the first left, stay alike while adding
// to a log costs what is added; the second grows past the first when a long
// log costs more to add to.
//
// With --full it then runs the largest sweep the window accepts, close to
// 65,000 variations, once, and prints its wall-clock and processor time.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "simulation/portfolio_replay_table.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_simulation.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace {

constexpr int kRounds = 5;

double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Sweeps the six ranking choices, the three markets and the two sides, and
// the distance from the moving average from -10 to `to` by `step`.
void SetUpSweep(ui::frmMain& w, const char* to, const char* step) {
  w.Text("txtPercDiff", 0)->setText("-10");
  w.Text("txtPercDiff", 1)->setText(to);
  w.Text("txtStep", 0)->setText(step);
}

// Runs the sweep through the window; the variations it ran.
int32_t RunSweep(ui::frmMain& w, user::ScriptedUserServices& user, bool autoCalculate, const std::string& report) {
  w.Check("chkCalculateResults")->SetValue(autoCalculate ? 1 : 0);
  w.ClearPauseCriteria();
  user.AnswerMsgBox(user::kAnswerYes, "This report will yield ");
  user.AnswerSaveFile(rt::AppPath("\\Reports\\" + report).string());
  // Each round writes its report anew.
  if (std::filesystem::exists(rt::AppPath("\\Reports\\" + report)))
    user.AnswerMsgBox(user::kAnswerYes, "already exists. Do you wish to overwrite?");
  w.OutputPortfolioVariations();
  return w.pbProgress->maximum();
}

// The same replays as the 324-variation sweep without the window: the run
// parameters set directly, no listener.
double BareReplayMilliseconds(ui::frmMain& w) {
  w.Check("chkCalculateResults")->SetValue(0);
  w.LoadParms();
  w.objResearch->SetListener(nullptr);
  RunParameters& p = Parms();
  const double start = CpuMilliseconds();
  int replays = 0;
  for (int c = 0; c < 6; ++c)
    for (const char* market : {"ny", "ns", "am"})
      for (const char* side : {"LONG", "SHORT"})
        for (int pass = 0; pass <= 1; ++pass)
          for (int bound = pass == 0 ? -10 : 5; pass == 0 ? bound <= 10 : bound >= -10; bound += pass == 0 ? 5 : -5) {
            p.intBuyCriteria = static_cast<int16_t>(c);
            p.strSelectMarket = market;
            p.strSelectPositioning = side;
            p.strPercentMAMin = std::to_string(pass == 0 ? bound : -10);
            p.strPercentMAMax = std::to_string(pass == 0 ? 10 : bound);
            double balance = p.dblStartInvestment;
            w.objResearch->SimResults(true, balance);
            ++replays;
          }
  w.objResearch->SetListener(&w);
  return (CpuMilliseconds() - start) / replays;
}

}  // namespace

int main(int argc, char** argv) {
  const bool full = argc > 1 && std::strcmp(argv[1], "--full") == 0;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  rt::EnsureAppFolders();
  const long rows =
      testsupport::BuildShippedSimulation(bed, "sim_Bench", rt::DateSerial(2012, 1, 3), rt::DateSerial(2016, 12, 30));

  bed.User()
      .AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage)
      .AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  ui::frmMain w;
  w.showTutorialModally = [](ui::frmTutorial&) { return 1; };
  w.Form_Load();
  Parms().strSimTable = "sim_Bench";
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2012, 1, 3));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2016, 12, 30));
  w.Check("chkSelectByDate")->SetValue(1);
  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2015, 1, 1));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2015, 12, 31));
  w.Check("chkSelectByMarket")->SetValue(1);
  w.Check("chkResult", 4)->SetValue(1);
  for (int box : {10, 21, 22, 11}) w.Check("chkBuildOption", box)->SetValue(1);
  SetUpSweep(w, "10", "5");

  // Each sweep is compared with the bare replays measured just before and
  // just after it, so that a burst of other work weighs on both sides.
  double read = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    const double start = CpuMilliseconds();
    simulation::ReplayTable::Read("sim_Bench", std::nullopt, simulation::CurrentDatabaseStamp());
    read = std::min(read, CpuMilliseconds() - start);
  }
  double quiet = 1e300, listed = 1e300, bare = BareReplayMilliseconds(w);
  double bareBefore = bare;
  std::vector<double> ratios;
  int32_t variations = 0;
  for (int round = 0; round < kRounds; ++round) {
    double start = CpuMilliseconds();
    variations = RunSweep(w, bed.User(), false, "quiet.csv");
    const double quietRound = (CpuMilliseconds() - start) / variations;
    quiet = std::min(quiet, quietRound);
    const double bareAfter = BareReplayMilliseconds(w);
    bare = std::min(bare, bareAfter);
    ratios.push_back(quietRound / ((bareBefore + bareAfter) / 2));
    start = CpuMilliseconds();
    RunSweep(w, bed.User(), true, "listed.csv");
    listed = std::min(listed, (CpuMilliseconds() - start) / variations);
    bareBefore = BareReplayMilliseconds(w);
    bare = std::min(bare, bareBefore);
  }
  std::sort(ratios.begin(), ratios.end());

  std::printf("sweep_table_rows: %ld rows\n", rows);
  std::printf("sweep_variations: %d variations\n", variations);
  std::printf("sweep_per_variation: %.2f ms\n", quiet);
  std::printf("sweep_per_variation_auto_calculate: %.2f ms\n", listed);
  std::printf("sweep_bare_replay: %.2f ms\n", bare);
  std::printf("sweep_table_read: %.1f ms\n", read);
  std::printf("sweep_window_to_engine: %.2f x\n", ratios[ratios.size() / 2]);
  std::fflush(stdout);

  {
    // The same sweep with the main window on screen, as a user has it: what
    // the window draws of its own accord during a variation, rather than at
    // the run's yields, shows here (this bench's yields draw nothing).
    w.show();
    QApplication::processEvents();
    double shown = 1e300;
    for (int round = 0; round < kRounds; ++round) {
      const double start = CpuMilliseconds();
      const int32_t ran = RunSweep(w, bed.User(), false, "quiet.csv");
      shown = std::min(shown, (CpuMilliseconds() - start) / ran);
    }
    w.hide();
    std::printf("sweep_per_variation_window_shown: %.2f ms\n", shown);
    std::fflush(stdout);
  }

  {
    w.Menu("mnuReportAllStocks")->trigger();
    w.Menu("mnuReportStockperDay")->trigger();
    std::vector<double> runs;
    for (int run = 0; run < 2; ++run) {
      const auto wallStart = std::chrono::steady_clock::now();
      const int32_t ran = RunSweep(w, bed.User(), false, "logged.csv");
      runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count() /
                     ran);
    }
    const auto logBytes = std::filesystem::file_size(rt::AppPath("\\Reports\\Portfolio Summary by Date.csv")) +
                          std::filesystem::file_size(rt::AppPath("\\Reports\\Simulation Summary by Symbol.csv"));
    std::printf("sweep_with_new_logs: %.2f ms per variation\n", runs[0]);
    std::printf("sweep_with_grown_logs: %.2f ms per variation\n", runs[1]);
    std::printf("sweep_with_logs_log_size: %.1f MB\n", logBytes / 1e6);
    std::fflush(stdout);
    w.Menu("mnuReportAllStocks")->trigger();
    w.Menu("mnuReportStockperDay")->trigger();
  }

  if (full) {
    // The lists as above and the distance from -10 to 80.2 by 0.1: 36 * (903 + 902) variations.
    SetUpSweep(w, "80.2", "0.1");
    const auto wallStart = std::chrono::steady_clock::now();
    const double start = CpuMilliseconds();
    const int32_t ran = RunSweep(w, bed.User(), false, "full.csv");
    const double cpu = (CpuMilliseconds() - start) / 1e3;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("sweep_full_variations: %d variations\n", ran);
    std::printf("sweep_full_wall_time: %.1f s\n", wall);
    std::printf("sweep_full_processor_time: %.1f s\n", cpu);
  }
  delete &ui::ResultsWindow();
  return 0;
}
