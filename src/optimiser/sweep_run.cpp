// The sweep branch of Simulate: the simulation file is saved, the database
// compacted (which replaces the engine), then the sweep of the current tab
// runs with the S.M.A.R.T. switch out of reach and Show Progress offered.
#include "market_data/indicator_periods.h"
#include "market_data/run_parameters.h"
#include "platform/db/sql_text.h"
#include "platform/user/user_services.h"
#include "simulation/portfolio_replay.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

void Yield() { user::DoEvents(); }

// Marks a sweep in progress for the life of the scope, with the Trade and
// Portfolio pages locked: a sweep keeps the plan it started with.
class SweepScope {
 public:
  SweepScope(bool& running, std::initializer_list<QWidget*> pages) : running_(running), pages_(pages) {
    running_ = true;
    for (QWidget* page : pages_) page->setEnabled(false);
  }
  ~SweepScope() {
    for (QWidget* page : pages_) page->setEnabled(true);
    running_ = false;
  }

 private:
  bool& running_;
  std::vector<QWidget*> pages_;
};

}  // namespace

void frmMain::RunSweep(std::shared_ptr<clsResearch>& engine) {
  RequireSimulation();
  if (!SettleStoppedSweepPlan()) {
    engine->StopProcess(true);  // left as it was: stopped, ready to resume
    return;
  }
  struct AfreshForThisSimulate {
    bool& afresh;
    ~AfreshForThisSimulate() { afresh = false; }
  } afreshForThisSimulate{sweepStartsAfresh_};
  // The simulation file holds the plan that runs.
  SaveSimulation(Parms().strSimTable, false);
  QLabel* caption = Label("lblCurrStock", 1);
  caption->setText("Preparing database...");
  Yield();
  // The file can be compacted only when no engine holds the connection open.
  engine.reset();
  RepairDatabaseAndRenewEngine();
  engine = objResearch;
  caption->clear();
  Yield();
  QPushButton* smart = Button("cmdSMART", 0);
  smart->hide();
  cmdShowProgress->setEnabled(true);
  Yield();
  {
    SweepScope sweeping(sweepRunning_, {tabResearch->widget(1), tabResearch->widget(2)});
    if (tabResearch->currentIndex() == 1) OutputTradeVariations();
    else OutputPortfolioVariations();
  }
  smart->show();
  cmdShowProgress->setEnabled(false);
  Yield();
}

void frmMain::RefuseSweepThatCannotRun() {
  // Whatever would fail every variation alike is told once, before the first.
  LoadParms();
  std::string refusal = indicators::CheckIndicatorPeriods(Parms());
  if (refusal.empty() && objResearch->QueryDB("SELECT COUNT(*) FROM [" + db::SqlName(Parms().strSimTable) + "]") == "0")
    refusal = simulation::kEmptySimulationTableMessage;
  if (refusal.empty()) return;
  user::MsgBox(refusal);
  throw ShownError(refusal);
}

void frmMain::cmdShowProgress_Click() {
  int tab = tabResearch->currentIndex();
  if (tab == 1) OpenFileWithDefaultApp(strTradeReportPath, true);
  else if (tab == 2) OpenFileWithDefaultApp(strPortfolioReportPath, true);
}

}  // namespace ui
