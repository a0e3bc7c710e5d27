// Run control: Simulate starts what the current tab asks for, locks the
// window while the run is inside the engine, chains the stages, and leaves
// the window paused, stopped or complete. Pause and Stop reach the running
// code only through the engine's flags, at the run's next yield.
#include <QFileInfo>
#include <ctime>

#include "market_data/calendar_and_log.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "simulation/select_run_check.h"
#include "simulation/simulation_table.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/results_window.h"

namespace ui {
namespace {

constexpr int32_t kErrNoSimulation = 69;
constexpr const char* kNoSimulationMessage =
    "You must first either run or load a simulation to create a list of stocks to track.";
constexpr const char* kSimulationFilter = "Simulation File (*.sim)|*.sim";
constexpr const char* kPausingPrefix = "Pausing after ";

void Yield() { user::DoEvents(); }
void SetPointer(int pointer) { user::User().SetPointer(pointer); }

std::string SimulationsFolder() { return (rt::AppFolder() / "Simulations").string(); }

// Counts a run in progress for the life of the scope.
class RunScope {
 public:
  explicit RunScope(int& depth) : depth_(depth) { ++depth_; }
  ~RunScope() { --depth_; }

 private:
  int& depth_;
};

// What the Select pass's message told of: symbols short of the period and
// days missing inside histories; "" when every history was whole.
std::string IncompleteHistory(const clsResearch& engine) {
  std::string incomplete = engine.StaleHistorySummary();
  if (const std::string missing = engine.MissingDaysSummary(); !missing.empty())
    incomplete += (incomplete.empty() ? "" : "; ") + missing;
  return incomplete;
}

}  // namespace

std::string frmMain::ElapsedTime() const {
  // The text changes once a second; progress asks for it far more often.
  const std::time_t now = std::time(nullptr);
  if (now != elapsed_.at || datRunStart != elapsed_.from) {
    elapsed_ = {now, datRunStart, FormatElapsedTime(datRunStart, rt::Now())};
  }
  return elapsed_.text;
}

void frmMain::StartRunClock() {
  datRunStart = rt::Now();
  lblTime->setText("00:00:00");
}

void frmMain::SetRunLockEnabled(bool enabled) {
  // Every criterion of the Select, the swing one too: a box ticked during a
  // run would be saved as if the run had used it.
  for (QWidget* input : {Widget("optStockSelection", 0), Widget("optStockSelection", 1), Widget("optStockSelection", 2),
                         Widget("txtSelection"), Widget("chkOneDay"), Widget("chkUseMA"), Widget("chkSimOption", 0),
                         Widget("chkSimOption", 1), Widget("chkSimOption", 2), Widget("chkSimOption", 3),
                         Widget("chkUseADX"), Widget("chkUseMinVol"), Widget("txtLike")})
    input->setEnabled(enabled);
}

void frmMain::LockForRun() {
  pbProgress->setValue(0);
  pbStatus->setValue(0);
  for (QLabel* label : {Label("lblCurrStock", 1), Label("Label1", 4)}) {
    label->setVisible(true);
    label->clear();
  }
  cmdGraph->setEnabled(false);
  cmdSimulate->setEnabled(false);
  cmdPauseSim->setEnabled(true);
  cmdStopSim->setEnabled(true);
  // A run starts with neither flag; from here on a Stop or a Pause is the
  // user's, and the run takes it at its next step that can stop.
  objResearch->PauseProcess(false);
  Widget("dteSimDate", 0)->setEnabled(false);
  Widget("dteSimDate", 1)->setEnabled(false);
  SetRunLockEnabled(false);
  Label("lblCurrStock", 1)->clear();
  symbolInHand_.clear();
  datRunStart = rt::Now();
}

void frmMain::cmdSimulate_Click() {
  // The button is disabled during a run; a second start is refused here too.
  if (RunInProgress() || !objResearch) return;
  std::shared_ptr<clsResearch> engine = objResearch;  // the run's own share
  bool selectRun = false;
  bool sweepRun = false;
  {
    RunScope scope(runDepth_);
    try {
      LockForRun();
      selectEndedInError_ = false;
      if (tabResearch->currentIndex() == 0) {
        selectRun = true;
        StartSelectRun(*engine);
      } else if (SweepRequested()) {
        sweepRun = true;
        RunSweep(engine);  // the sweep goes on with a new engine
      } else {
        TradeAndPortfolioChain(*engine);
      }
      EndRun(*engine, selectRun, sweepRun);
    } catch (const std::exception& error) {
      const auto* runtimeError = dynamic_cast<const rt::Error*>(&error);
      if (runtimeError && runtimeError->Number() == kErrNoSimulation) ShowError(kNoSimulationMessage);
      else ShowError(error);
      RestoreIdleAfterError(engine ? engine.get() : objResearch.get());
    }
  }
  if (closeWhenRunEnds_) {
    closeWhenRunEnds_ = false;
    ShutDown();
    hide();
  }
}

void frmMain::RequireSimulation() const {
  if (Parms().strSimTable.empty()) throw rt::Error(kErrNoSimulation, kNoSimulationMessage);
}

void frmMain::TradeAndPortfolioChain(clsResearch& engine) {
  RequireSimulation();
  LoadParms();
  std::string signature = GetBuildValues();
  QLineEdit* lastBuild = Text("txtLastBuildValues");
  const bool build = signature != S(lastBuild->text());
  if (build) {
    SetPointer(user::kPointerHourglass);
    Yield();
    engine.BuildResults();
    SetPointer(user::kPointerDefault);
    Yield();
    // A Stop cuts the build short (a Pause does not), and so does a failed
    // write: the next run must build again.
    bool cutShort = (engine.StopProcess() && !engine.PauseProcess()) || !engine.WriteFailure().empty();
    lastBuild->setText(cutShort ? "" : Q(signature));
  } else {
    pbProgress->setRange(0, 1);
    pbProgress->setValue(1);
  }
  SaveSimulation(Parms().strSimTable, false);
  BuySellResults();
  // As after a Select run with Auto-Calculate: the replay's account history can be charted.
  cmdGraph->setEnabled(true);
  SimResults(true, Parms().dblStartInvestment, false);
  if (build) ShowRowsNotTraded(engine);
}

void frmMain::ShowRowsNotTraded(const clsResearch& engine) {
  // Told after the Portfolio replay, which shows its days on the same line.
  const std::string summary = engine.RowsNotTradedSummary();
  // Rows a failed write left untraded were told of with its cause.
  if (summary.empty() || !engine.WriteFailure().empty()) return;
  Label("Label1", 4)->setText(Q(summary));
}

void frmMain::EndRun(clsResearch& engine, bool selectRun, bool sweepRun) {
  QLabel* progress = Label("lblCurrStock", 1);
  bool paused = engine.PauseProcess();
  if (paused) {
    cmdSimulate->setEnabled(true);
    Widget("dteSimDate", 0)->setEnabled(false);
    Widget("dteSimDate", 1)->setEnabled(false);
    tabResearch->setEnabled(false);
    progress->setText("Processing Paused");
  } else if (!selectRun && !engine.WriteFailure().empty()) {
    // The stage lost writes (the engine named the cause): not complete.
    tabResearch->setEnabled(true);
    cmdSimulate->setEnabled(tabResearch->currentIndex() > 0);
    progress->setText("Processing Stopped: the Trade run could not complete");
  } else if (engine.StopProcess() && selectRun) {
    cmdGraph->setEnabled(true);
    cmdSimulate->setEnabled(true);
    engine.StopProcess(false);
    Widget("dteSimDate", 0)->setEnabled(true);
    Widget("dteSimDate", 1)->setEnabled(true);
    tabResearch->setEnabled(true);
    SetRunLockEnabled(true);
    if (selectEndedInError_ || !engine.WriteFailure().empty())
      progress->setText("Processing Stopped: the Select run could not complete");
    else if (progress->text().startsWith(kPausingPrefix) || progress->text() == simulation::kStoringWinners ||
             progress->text() == simulation::kRemovingOldWinners)
      progress->setText("Processing Stopped");  // a Stop overrode the Pause, or the step it ended is done
    Yield();
  } else if (engine.StopProcess() && sweepRun) {
    // A stopped sweep keeps its pause row: the next Simulate resumes it with
    // the variation the Stop cut short.
    tabResearch->setEnabled(true);
    cmdSimulate->setEnabled(true);
    progress->setText("Processing Stopped");
  } else {
    tabResearch->setEnabled(true);
    cmdSimulate->setEnabled(tabResearch->currentIndex() > 0);
    progress->setText("Processing Complete");
    // A run that ended normally leaves no sweep paused.
    ClearPauseCriteria();
  }
  cmdPauseSim->setEnabled(false);
  cmdStopSim->setEnabled(false);
  engine.StopProcess(false);
  engine.PauseProcess(false);
  lastSelectPaused_ = paused && selectRun;
  // A download that a Stop cut short does not report its end: the run is over, so is the update.
  if (Label("lblStatus", 0)->text().startsWith("Updating --")) ShowInternetState(Parms().blnUseInternet);
}

void frmMain::RestoreIdleAfterError(clsResearch* engine) {
  // Leave the window usable: nothing of the failed run stays locked.
  cmdSimulate->setEnabled(true);
  cmdPauseSim->setEnabled(false);
  cmdStopSim->setEnabled(false);
  Button("cmdSMART", 0)->setVisible(tabResearch->currentIndex() != 0);
  cmdShowProgress->setEnabled(false);
  Widget("dteSimDate", 0)->setEnabled(true);
  Widget("dteSimDate", 1)->setEnabled(Check("chkOneDay")->Value() != 1);
  tabResearch->setEnabled(true);
  SetRunLockEnabled(true);
  if (engine) engine->PauseProcess(false);
  lastSelectPaused_ = false;
  SetPointer(user::kPointerDefault);
}

bool frmMain::MayReplaceTable(const std::string& table) {
  std::string rows = objResearch->QueryDB("SELECT COUNT(*) FROM [" + db::SqlName(table) + "]");
  if (rows == "ERROR!!" || rows == "No Result" || rows == "0") return true;
  return user::MsgBox("The simulation table " + table + " already holds the results of another simulation." +
                          "\r\nAre you sure you wish to overwrite them?",
                      user::kYesNo | user::kDefaultButton2) == user::kAnswerYes;
}

bool frmMain::SelectRunRefused(clsResearch& engine) {
  // A box that does not convert is left to the pass's own copy of the
  // parameters, which names the box and ends the run.
  try {
    LoadParms();
  } catch (const rt::Error&) {
    return false;
  }
  std::string refusal = simulation::SelectRunRefusal(Parms());
  if (refusal.empty()) return false;
  user::MsgBox(refusal, user::kOKOnly + user::kExclamation);
  // Ends as a stopped Select run: the next one scans from the first symbol.
  engine.StopProcess(true);
  selectEndedInError_ = true;
  strLastSymbol.clear();
  return true;
}

bool frmMain::ChooseNewSimulation() {
  tabResearch->setCurrentIndex(0);
  user::FileDialogRequest request;
  request.title = "Save Simulation";
  request.startFolder = SimulationsFolder();
  request.filter = kSimulationFilter;
  std::string path = user::User().SaveFileDialog(request);
  if (path.empty()) return false;
  std::string title = S(QFileInfo(Q(path)).fileName());
  bool fileExists = QFileInfo::exists(Q(path));
  if (fileExists && user::MsgBox("The Simulation " + title + " already exists." +
                                     "\r\nAre you sure you wish to overwrite the results?",
                                 user::kYesNo | user::kDefaultButton2) == user::kAnswerNo)
    return false;
  std::string table = std::string(kSimulationTablePrefix) + title.substr(0, title.find('.'));
  // Another simulation file of the same name up to its first "." uses the
  // same table: ask before dropping rows that the question above did not cover.
  if (!fileExists && !MayReplaceTable(table)) return false;
  strSimFilePath = path;
  Parms().strSimTable = table;
  blnNewSimulation = true;
  setWindowTitle(Q(table.substr(kSimulationTablePrefix.size())));
  Yield();
  lblTime->setText("00:00:00");
  return true;
}

void frmMain::StartSelectRun(clsResearch& engine) {
  CheckWinOption();
  // Settings with which no symbol could be scanned are refused before a file
  // is asked for, anything is downloaded or a table is changed.
  if (SelectRunRefused(engine)) return;
  RunParameters& p = Parms();
  if ((p.strSimTable.empty() || blnNewSimulation) && !ChooseNewSimulation()) {
    engine.StopProcess(true);
    return;
  }

  datRunStart = rt::Now();
  bool resume = lastSelectPaused_;
  // A table that could not be dropped and created anew (the engine said
  // why) ends the run before it writes a row into the old one.
  if ((!resume || blnNewSimulation) && !engine.CreateSimulationTable(p.strSimTable)) {
    engine.StopProcess(true);
    selectEndedInError_ = true;
    return;
  }
  tabResearch->setTabEnabled(1, true);
  if (!resume) {
    for (int i = 40; i <= 43; ++i) Label("lblSimOption", i)->setText("0");
    ResultsWindow().lvwWinners->Clear();
  }
  SetPointer(user::kPointerHourglass);
  Yield();
  std::string table = p.strSimTable;
  RunSim(table);
  SaveSimulation(p.strSimTable, false);
  tabResearch->setTabEnabled(1, true);
  tabResearch->setTabEnabled(2, true);
  SetPointer(user::kPointerDefault);
  Yield();
}

void frmMain::RunSim(std::string& table) {
  std::shared_ptr<clsResearch> engine = objResearch;
  try {
    LoadParms();
    const std::string status = RunSelectPass(*engine);
    const std::string incomplete = IncompleteHistory(*engine);
    // The table changed: trades built before no longer match it.
    Text("txtLastBuildValues")->clear();
    tabResearch->setTabEnabled(1, true);
    if (status == "complete") {
      FinishCompleteSelect(*engine, table);
      ShowIncompleteHistory(incomplete);
    } else if (status == "error") {
      // The scan could not start (the engine told the user why): the next
      // Select run starts a new simulation.
      blnNewSimulation = true;
      EndSelectStopped(*engine);
    } else if (status == "stop") {
      ShowIncompleteHistory(incomplete);
      strLastSymbol = engine->PauseProcess() ? engine->LastStock() : "";
      cmdStopSim->setEnabled(false);
      return;
    }
    tabResearch->setTabEnabled(1, true);
    cmdStopSim->setEnabled(false);
  } catch (const std::exception& error) {
    selectPassRunning_ = false;
    ShowError(error);
    EndSelectStopped(*engine);  // so that the window is usable again
  }
}

std::string frmMain::RunSelectPass(clsResearch& engine) {
  const rt::Date end = Picker("dteSimDate", 1)->Value();
  const rt::Date start = SelectPassStart(engine);
  CreateStockList();
  selectPassRunning_ = true;
  std::string status = engine.Process(start, end, astrStockList, true, true, strLastSymbol, Parms().intWinDays);
  selectPassRunning_ = false;
  return status;
}

rt::Date frmMain::SelectPassStart(clsResearch& engine) {
  rt::Date start = Picker("dteSimDate", 0)->Value();
  if (blnNewSimulation) {
    datResumeDate = rt::Date();
    strLastSymbol.clear();
    ResultsWindow().lvwWinners->Clear();
    engine.ClearSimPort();
  } else if (strLastSymbol.empty()) {
    engine.ClearSimPort();
  }
  if (!datResumeDate.IsZero()) start = datResumeDate;
  blnNewSimulation = false;
  return start;
}

void frmMain::ShowIncompleteHistory(const std::string& incomplete) {
  if (!incomplete.empty()) Label("Label1", 4)->setText(Q("Results incomplete: " + incomplete + "."));
}

void frmMain::FinishCompleteSelect(clsResearch& engine, const std::string& table) {
  // Every symbol was scanned: a Pause given after the last one (while the
  // winners were stored) has nothing of the Select left to pause, and the
  // stages that follow do not pause, so the run goes on to its end. A Stop
  // given then ends it here.
  if (engine.PauseProcess()) engine.PauseProcess(false);
  cmdPauseSim->setEnabled(false);
  if (Check("chkCalculateResults")->Value() == 1 && !engine.StopProcess()) CalculateResults(engine, table);
}

void frmMain::CalculateResults(clsResearch& engine, const std::string& table) {
  LoadParms();
  SaveSimulation(table, false);
  Label("lblCurrStock", 1)->setVisible(true);
  SetPointer(user::kPointerHourglass);
  Yield();
  engine.BuildResults();
  SetPointer(user::kPointerDefault);
  Yield();
  cmdGraph->setEnabled(true);
  SimResults(true, Parms().dblStartInvestment, false);
  BuySellResults();
  ShowRowsNotTraded(engine);
  if (engine.WriteFailure().empty()) Text("txtLastBuildValues")->setText(Q(GetBuildValues()));
}

void frmMain::EndSelectStopped(clsResearch& engine) {
  engine.PauseProcess(false);
  engine.StopProcess(true);
  selectEndedInError_ = true;
}

void frmMain::CreateStockList() {
  if (Option("optStockSelection", 0)->Value()) {
    astrStockList = {"all:"};
  } else if (Option("optStockSelection", 1)->Value()) {
    astrStockList = {"like:" + S(Text("txtLike")->text())};
  } else if (Option("optStockSelection", 2)->Value()) {
    std::vector<std::string> tokens;
    std::string rest = S(Text("txtSelection")->text());
    auto trim = [](const std::string& text) {
      size_t first = text.find_first_not_of(' ');
      return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    while (!rest.empty()) {
      size_t separator = rest.find_first_of(" ;");
      std::string token = trim(rest.substr(0, separator));
      if (!token.empty()) tokens.push_back(token);
      rest = separator == std::string::npos ? "" : rest.substr(separator + 1);
    }
    if (!tokens.empty()) astrStockList = tokens;
  }
}

bool frmMain::CheckWinOption() {
  bool none = true;
  for (CheckBox* box : {Check("chkSimOption", 0), Check("chkSimOption", 1), Check("chkSimOption", 2),
                        Check("chkSimOption", 3), Check("chkUseADX"), Check("chkUseMA"), Check("chkUseMinVol")})
    if (box->Value() != 0) none = false;
  Parms().blnNoWinCriteria = none;
  return none;
}

std::string frmMain::GetBuildValues() {
  // Fields are kept apart by a TAB so that "11" + "1" differs from "1" + "11";
  // the stop and price-update rules and the period's end change the trades too.
  auto chosen = [this](const char* options) {
    return Option(options, 0)->Value() ? "0" : Option(options, 1)->Value() ? "1" : "-";
  };
  std::vector<std::string> fields = {S(Combo("cboTypeOfPurchase")->currentText()),
                                     S(Text("txtLifeofOrder", 0)->text()),
                                     S(Combo("cboPurchasePrice")->currentText()),
                                     S(Text("txtLimitPercent", 0)->text()),
                                     S(Text("txtProfitable", 0)->text()),
                                     S(Text("txtDecline", 0)->text()),
                                     S(Text("txtInitPrice", 0)->text()),
                                     std::to_string(Check("chkMaxAge")->Value()),
                                     S(Text("txtMaxDays", 0)->text()),
                                     std::to_string(Check("chkUseSellLoss")->Value()),
                                     S(Text("txtSimOption", 20)->text()),
                                     chosen("optInitStop"),
                                     S(Combo("cboInitialStop")->currentText()),
                                     chosen("optPriceUpdate"),
                                     S(Combo("cboPriceUpdate")->currentText()),
                                     rt::FormatShortDate(Picker("dteSimDate", 1)->Value())};
  std::string signature;
  for (size_t i = 0; i < fields.size(); ++i) signature += (i ? "\t" : "") + fields[i];
  return signature;
}

void frmMain::ResetTradeResults() {
  Label("lblResult", 22)->setText("0--0");
  Label("lblResult", 13)->setText("0--0");
  Label("lblResult", 26)->setText("0");
}

void frmMain::ResetPortfolioResults() {
  Label("lblResult", 3)->setText("0");
  Label("lblResult", 4)->setText("0");
  Label("lblResult", 2)->setText("0--0");
  Label("lblResult", 7)->setText("0--0");
  Label("lblResult", 15)->setText("0");
  Label("lblResult", 11)->setText("0");
}

void frmMain::BuySellResults() {
  ResetTradeResults();
  objResearch->BuySellResults();
}

void frmMain::SimResults(bool flag, double startBalance, bool keepResults) {
  if (objResearch->StopProcess()) return;
  // The result labels go back to 0 unless kept, but only when the replay
  // does not show its own results in them: a sweep replays thousands of
  // times, and would set each label twice every time.
  portfolioResultsShown_ = false;
  auto resetUnlessShown = [&] {
    if (!keepResults && !portfolioResultsShown_) ResetPortfolioResults();
  };
  SetPointer(user::kPointerHourglass);
  ResultsWindow().lvwPortfolio->Clear();
  try {
    objResearch->SimResults(flag, startBalance);
  } catch (...) {
    resetUnlessShown();
    throw;
  }
  resetUnlessShown();
  ShowDayProgress();  // the last day the display passed over
  SetPointer(user::kPointerDefault);
}

void frmMain::cmdPauseSim_Click() {
  tabResearch->setTabEnabled(1, true);
  if (objResearch) objResearch->PauseProcess(true);
  cmdPauseSim->setEnabled(false);
  // The Select pass finishes the symbol in hand first, which can take long
  // with its download: say at once what the pause waits for. (The removal
  // of the old winners pauses after its step in hand, before any symbol.)
  QLabel* progress = Label("lblCurrStock", 1);
  if (selectPassRunning_ && progress->text() != simulation::kRemovingOldWinners) {
    progress->setText(PausingCaption());
    progress->repaint();  // seen now, not at the download's next yield
  }
}

QString frmMain::PausingCaption() const {
  // The indices load before the first symbol.
  const bool indices = symbolInHand_.empty() || symbolInHand_[0] == '^';
  return Q(kPausingPrefix + (indices ? std::string("the indices") : symbolInHand_) + "…");
}

void frmMain::cmdStopSim_Click() {
  if (user::MsgBox("Do you wish to stop this process before it completes?", user::kYesNo) != user::kAnswerYes) return;
  if (!objResearch) return;
  if (tabResearch->currentIndex() != 0) {
    objResearch->StopProcess(true);
    return;
  }
  objResearch->StopProcess(true);
  tabResearch->setTabEnabled(1, true);
  // The run goes on to its next step that can stop: until it has ended,
  // which gives ">" back, the buttons show it running.
  cmdStopSim->setEnabled(false);
  cmdPauseSim->setEnabled(false);
}

void frmMain::cmdHistoryTable_Click() {
  user::FileDialogRequest request;
  request.title = "Open Simulation";
  request.startFolder = SimulationsFolder();
  request.filter = kSimulationFilter;
  std::string path = user::User().OpenFileDialog(request);
  strHistoryTable = path.empty() ? "" : S(QFileInfo(Q(path)).fileName());
  Text("txtHistoryTable")->setText(Q(strHistoryTable));
}

}  // namespace ui
