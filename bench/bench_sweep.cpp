// A portfolio sweep through the main window over a simulation table made from
// the shipped data (every day of five years a LONG and a SHORT candidate of
// every shipped symbol, traded with a Market order), replaying 2015: the
// milliseconds of processor time per variation, against the bare replay, so
// that the window's own work per variation shows.
#include <QApplication>
#include <cstdio>
#include <ctime>
#include <string>

#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_simulation.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace {

double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Sweeps the six ranking choices, the three markets and the two sides, and
// the distance from the moving average from -10 to 10 by 5: 6 * 3 * 2 * (5 + 4).
constexpr int kVariations = 324;

double SweepMilliseconds(ui::frmMain& w, user::ScriptedUserServices& user, bool autoCalculate) {
  w.Check("chkCalculateResults")->SetValue(autoCalculate ? 1 : 0);
  w.ClearPauseCriteria();
  user.AnswerMsgBox(user::kAnswerYes, "This report will yield " + std::to_string(kVariations) + " variations.");
  user.AnswerSaveFile(rt::AppPath(autoCalculate ? "\\Reports\\listed.csv" : "\\Reports\\quiet.csv").string());
  const double start = CpuMilliseconds();
  w.OutputPortfolioVariations();
  return (CpuMilliseconds() - start) / kVariations;
}

}  // namespace

int main(int argc, char** argv) {
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
  w.Text("txtPercDiff", 0)->setText("-10");
  w.Text("txtPercDiff", 1)->setText("10");
  w.Text("txtStep", 0)->setText("5");

  const double quiet = SweepMilliseconds(w, bed.User(), false);
  const double listed = SweepMilliseconds(w, bed.User(), true);

  // The same replays without the window: the run parameters set directly,
  // no listener.
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
  const double bare = (CpuMilliseconds() - start) / replays;

  std::printf("sweep_table_rows: %ld rows\n", rows);
  std::printf("sweep_variations: %d variations\n", kVariations);
  std::printf("sweep_per_variation: %.2f ms\n", quiet);
  std::printf("sweep_per_variation_auto_calculate: %.2f ms\n", listed);
  std::printf("sweep_bare_replays: %d replays\n", replays);
  std::printf("sweep_bare_replay: %.2f ms\n", bare);
  delete &ui::ResultsWindow();
  return 0;
}
