#pragma once
// frmMain: the main window. Its tabbed parameter panel (Select, Trade,
// Portfolio), the run area with Simulate, Pause and Stop, the status and
// result labels, the help pane and the menus. It owns the engine object,
// copies its controls into the run parameters before every run, and handles
// the engine's events.
#include <QAction>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>
#include <array>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/research_events.h"
#include "platform/user/user_services.h"
#include "ui/controls.h"
#include "ui/options_window.h"
#include "ui/pace.h"
#include "ui/tutorial_window.h"

namespace ui {

class frmAbout;
class frmChart;
class frmQuery;

class frmMain : public QMainWindow, public ResearchEvents {
 public:
  frmMain();
  ~frmMain() override;

  // ----- controls by their design names -----
  ControlCollection& Controls() { return controls_; }
  const ControlCollection& Controls() const { return controls_; }
  frmOptions& Options() { return *options_; }  // created hidden with the window
  QAction* Menu(const std::string& name) const;

  QLineEdit* Text(std::string_view name, int index = -1) const { return controls_.Get<QLineEdit>(name, index); }
  QComboBox* Combo(std::string_view name, int index = -1) const { return controls_.Get<QComboBox>(name, index); }
  CheckBox* Check(std::string_view name, int index = -1) const { return controls_.Get<CheckBox>(name, index); }
  OptionButton* Option(std::string_view name, int index = -1) const { return controls_.Get<OptionButton>(name, index); }
  DatePicker* Picker(std::string_view name, int index = -1) const { return controls_.Get<DatePicker>(name, index); }
  QLabel* Label(std::string_view name, int index = -1) const { return controls_.Get<QLabel>(name, index); }
  QPushButton* Button(std::string_view name, int index = -1) const { return controls_.Get<QPushButton>(name, index); }
  QWidget* Widget(std::string_view name, int index = -1) const { return controls_.Get<QWidget>(name, index); }

  QTabWidget* tabResearch = nullptr;
  QPlainTextEdit* txtHelp = nullptr;
  QProgressBar* pbProgress = nullptr;
  QProgressBar* pbStatus = nullptr;
  QLabel* lblTime = nullptr;
  QPushButton* cmdSimulate = nullptr;
  QPushButton* cmdPauseSim = nullptr;
  QPushButton* cmdStopSim = nullptr;
  QPushButton* cmdGraph = nullptr;
  QPushButton* cmdShowProgress = nullptr;

  // ----- window state -----
  std::shared_ptr<clsResearch> objResearch;  // the engine; a run holds its own share
  std::string strSimFilePath;                // the simulation file chosen or opened last
  bool blnNewSimulation = true;              // the next Select run starts a new simulation
  std::string strHistoryTable;

  // ----- life cycle -----
  // The load sequence: lists, settings files, run parameters, the period,
  // a new engine and its database test, the welcome help text. An error in
  // a settings step is shown and the load goes on, so the window always
  // ends with an engine.
  void Form_Load();
  // The first activation shows the tutorial notice unless "TUT" is "1".
  void Form_Activate();
  void ShowTutorial();
  // Shows the tutorial notice modally and answers its remembered check box
  // value; tests put their own in place.
  std::function<int(frmTutorial&)> showTutorialModally;
  // Shut-down: releases the engine and the connection and ends the program.
  // During a run it only stops the run; the program ends once it unwinds.
  void Form_Unload();
  bool RunInProgress() const { return runDepth_ > 0; }

  // ----- working online -----
  // Asks the engine to reach the test page; yields; the engine's answer.
  bool TestInternet();
  // "Connected to Internet" in dark green or "Not Connected to Internet" in
  // dark red in the status label.
  void ShowInternetState(bool connected);

  // Busy pointer over the run buttons and the window background.
  void cmdSimulate_MouseMove();
  void cmdStopSim_MouseMove();
  void cmdPauseSim_MouseMove();
  void Form_MouseMove();

  // ===== simulation, symbol-list, database, report and help menus =====
  // (simulation_menu.cpp, symbol_lists.cpp, database_maintenance.cpp,
  // report_menus.cpp, other_menus.cpp). The commands that would replace the
  // engine, close its connection or use it beside a running stage are
  // refused with a message while a run is in progress.

  // A new engine and the window in its start state (the load sequence again).
  void mnuNewSimulation_Click();
  // Restores a simulation file: its controls and table, its winners, then
  // the paused sweep waits for Simulate or the Trade and Portfolio chain runs.
  void mnuOpenSim_Click();
  // Reads a symbol list file (*.smb) into the listed symbols.
  void mnuOpenSymbols_Click();
  // Writes the stock list into a symbol list file of the Symbols folder.
  void mnuSaveSymbols_Click();
  // Hands a symbol file to the engine's import.
  void mnuImportStocks_Click();
  void ImportSymbols() override;  // the engine asks for the import
  // Releases the engine (closing the connection), compacts and repairs the
  // database file, creates a new engine and tests the database; the window
  // is served meanwhile as during a run.
  void mnuRepairDB_Click();
  // The repair itself, without the run check: the sweeps run it before
  // they start, holding no other share of the engine. The status line says
  // so meanwhile, and the run's buttons wait for the new engine.
  void RepairDatabaseAndRenewEngine();
  // Removes master rows whose quote table is missing or empty, dropping the
  // empty tables (the item is hidden).
  void mnuRemoveEmptyTables_Click();
  // The report switches: each switch-on starts its file with the header.
  void mnuReportAllStocks_Click();
  void mnuReportStockperDay_Click();
  // Writes the per-symbol summary of the current simulation and opens it.
  void mnuReportSimSum_Click();
  // Opens a file (or, with makeCopy, a fresh copy of it, so that the file
  // stays writable) with the desktop's application for its type. True when
  // handed over or when there is nothing to open; false after a message.
  bool OpenFileWithDefaultApp(const std::string& path, bool makeCopy);
  // Shows the help file's contents page.
  void mnuContents_Click();

 private:
  void ConnectMenus();
  // Shows why a command cannot run now; true while a run is in progress.
  bool RefusedDuringRun(const std::string& command);
  // Runs a command's engine calls as work in progress: on its own share of
  // the engine, with the commands that would replace the engine refused, and
  // with a close asked for meanwhile carried out once it ends.
  void RunEngineWork(const std::function<void(clsResearch&)>& work);
  // The same for work that needs no engine share (or replaces the engine).
  void RunAsWork(const std::function<void()>& work);
  void CloseIfAskedDuringWork();
  // A new engine into objResearch, listening to this window, and its database test.
  void NewEngine();
  // The parts of New Simulation after the run check.
  void StartNewSimulation();
  // Open Simulation's steps: the file chosen ("" for none, or after the
  // message that it is no simulation file); its parameters copied (false
  // after the message naming a value that does not convert); the window
  // showing it, the Select inputs locked.
  std::string AskSimulationToOpen();
  bool CopyOpenedParameters();
  void ShowOpenedSimulation();
  // Puts one report switch on (its file started anew) or off.
  void SwitchReport(const std::string& item, bool& flag, void (*startFile)());

 public:
  // ===== end simulation, symbol-list, database, report and help menus =====

  // ----- menus -----
  void mnuExit_Click();
  void mnuResults_Click();
  void mnuOptions_Click();
  void mnuSaveStartup_Click();
  void mnuUseInternet_Click();

  // ----- run parameters -----
  // Copies the panel and the options window into the run parameters, in the
  // fixed order; a box that does not convert raises an error naming it, with
  // the parameters before it already copied.
  void LoadParms();
  // Copies the database kind and location; reports its own errors.
  void LoadStartUpParms();

  // ----- settings files -----
  void SaveSimulation(const std::string& name, bool saveAs);
  // False when the file is not a simulation file (after the loader's message).
  bool LoadSimulation(const std::string& path);
  void SaveProperties() { options_->SaveProperties(); }
  void LoadProperties(const std::string& path) { options_->LoadProperties(path); }

  // ----- run control -----
  std::string strLastSymbol;  // a paused Select pass resumes after it
  rt::Date datResumeDate;
  rt::Date datRunStart;  // base of the elapsed time in lblTime
  std::vector<std::string> astrStockList;

  // Starts the run of the current tab and puts the window into its end state.
  void cmdSimulate_Click();
  // Sets the pause flag (which stops the running pass too).
  void cmdPauseSim_Click();
  // Asks, then sets the stop flag.
  void cmdStopSim_Click();
  void cmdHistoryTable_Click();
  // One Select pass and, with Auto-Calculate, the Trade and Portfolio stages.
  void RunSim(std::string& table);
  void CreateStockList();
  // True when no Select criterion is on (a grey box counts as on).
  bool CheckWinOption();
  // The Trade settings that decide whether the Trade stage must be rebuilt.
  std::string GetBuildValues();
  // Resets the Trade result labels and asks the engine for the Trade totals.
  void BuySellResults();
  // The result labels of the Trade and of the Portfolio frame at 0.
  void ResetTradeResults();
  void ResetPortfolioResults();
  // The Portfolio stage, unless a stop is pending; keepResults leaves the
  // result labels as they are.
  void SimResults(bool flag, double startBalance, bool keepResults);
  // Whether the last Select run ended paused (the next one resumes it).
  bool SelectRunPaused() const { return lastSelectPaused_; }

  // ----- engine events (the objResearch_ handlers) -----
  void Winner(clsStock& stock, bool& store) override;
  void UpdateWinnerView(rt::Date& acquireDate, std::string& symbol, std::string& positioning, double& gainLoss,
                        double& acquirePrice) override;
  void TotalStocks(int16_t& count) override;
  void StockCount(std::string& symbol, int32_t& total, int32_t& index, bool& flag, bool& countOnly) override;
  void UpdateProgress(int32_t& daysReached, int32_t& daysInRange, int32_t& pages) override;
  void Progress(int32_t& count, int32_t& total) override;
  void Progress2(int32_t& day, int32_t& total) override;
  void Results(double& averageReturn, double& averageHold, int16_t& shorts, int16_t& longs, int16_t& winners,
               int16_t& losers, double& balance, int32_t& startBalance) override;
  void Swing(std::string& stage, rt::Date& day, std::string& symbol) override;
  void Interneting(bool& busy, std::string& symbol) override;
  void BuySellResults(double& average, int32_t& shorts, int32_t& longs, int32_t& winners, int32_t& losers, double& a,
                      double& b) override;
  void MarketConditions(int16_t& djiMA, int16_t& djiRSI, int16_t& nasdaqMA, int16_t& nasdaqRSI) override;
  void UpdateDisplay(clsStock& stock, bool& done) override;

 private:
  // The replay's day counter and the elapsed time as Progress2 last raised them, if not shown yet.
  void ShowDayProgress();
  // "Updating --SYM--" in the Internet status label.
  void ShowUpdating(const std::string& symbol);
  std::optional<std::pair<int32_t, int32_t>> dayProgress_;
  Pace dayProgressPace_{kDisplayInterval};
  Pace stockCountPace_{kDisplayInterval};
  bool portfolioResultsShown_ = false;  // Results was raised since SimResults began

 public:
  // ----- help pane -----
  void ShowHelp(int id);

  // ----- parameter panel -----
  void chkRSIChange_Click();
  void chkBBDist_Click();
  void chkDJMA_Click();
  void chkDJRSI_Click();
  void chkNSMA_Click();
  void chkNSRSI_Click();
  void chkResult_Click(int index);
  void chkMaxAge_Click();
  void chkUseSellLoss_Click();
  void chkUseMinVol_Click();
  void chkUseADX_Click();
  void chkUseMA_Click();
  void chkSimOption_Click(int index);
  void chkSelectByMarket_Click();
  void chkSelectByDate_Click();
  void chkOneDay_Click();
  void chkCalculateResults_Click();
  void optInitStop_Click(int index);
  void optPriceUpdate_Click(int index);
  void optStockSelection_Click(int index);
  void optWinOption_Click(int index);
  void tabResearch_Click();

  // ===== parameter fields and date pickers (parameter_fields.cpp, date_pickers.cpp) =====
  // Sale-loss changes clear the progress line; other elements change nothing.
  void txtSimOption_Change(int index);
  // Focus help of the pickers: the period's two ends and the portfolio window.
  void dteSimDate_GotFocus(int index);
  void dteSelectStart_GotFocus();
  void dteSelectEnd_GotFocus();
  // Leaving a picker corrects its value against the others: the portfolio
  // window stays inside the period, From not after To, From not before the
  // options window's earliest date. Only the portfolio window and the
  // earliest date tell the user.
  void dteSimDate_LostFocus(int index);
  void dteSelectStart_LostFocus();
  void dteSelectEnd_LostFocus();
  // The history picker refuses Saturdays and Sundays.
  void DTePicker1_Change();

 private:
  void ConnectParameterFields();
  void ConnectDatePickers();
  // Whether the window still stands: focus events raised while its widgets
  // are torn down must not reach controls that are gone.
  std::function<bool()> WindowAlive() const;
  std::shared_ptr<int> aliveToken_ = std::make_shared<int>(0);
  rt::Date datDTePicker1Weekday_;  // the last weekday DTePicker1 accepted; zero until one is

 public:
  // ===== end parameter fields and date pickers =====

  // ===== S.M.A.R.T. optimiser (src/optimiser) =====
  // The sweep flags: any selection box of the Trade (0..9) or the Portfolio
  // sweep (10..22) ticked while the switch is on, or a paused sweep of that
  // kind opened. A Simulate click on that tab then runs the sweep.
  bool blnTradeSMART = false;
  bool blnPortfolioSMART = false;
  // The resume fields: the stored pause row of the current simulation as
  // IsPaused read it, and the position of the running sweep.
  std::array<double, 8> varTradePause{};
  int32_t lngTradeCount = 0;
  std::array<double, 13> varPortPause{};
  int32_t lngPortPauseRev = 0;
  double varPortCount = 0;
  // The report files of the two sweeps, chosen when a fresh sweep starts.
  std::string strTradeReportPath;
  std::string strPortfolioReportPath;

  // Switches the sweep set-up controls of both tabs on or off.
  void cmdSMART_Click(int index);
  // Shows or hides the fields of the row a selection box sweeps; recomputes the flags.
  void chkBuildOption_Click(int index);
  // Fills the Step fields of the Portfolio (0) or Trade (1) ranges from Min,
  // Max and the number of increments.
  void cmdReset_Click(int index);
  // Ticks the ten ranking ranges and fills them with the bounds of the
  // simulation table's values; refused while a run or a command works.
  void cmdGetRange_Click();
  // Opens a copy of the running sweep's report.
  void cmdShowProgress_Click();
  // Reads the pause row into the resume fields; true when a sweep is paused.
  bool IsPaused();
  // Zeroes the resume fields and the pause row.
  void ClearPauseCriteria();
  // After Open Simulation found a paused sweep (IsPaused filled the resume
  // fields): its tab and flag set and the window as a paused run leaves it.
  void PrepareSweepResume();
  // The save dialog of a sweep report and the overwrite question: 0 write
  // anew, 1 append, 2 cancelled (the path then stays as it was).
  int GetReportFile(const std::string& initialFolder, const std::string& fileName, std::string& reportPath);
  // Appends one row of the trade sweep's report with the trade result labels
  // (the first row after a resume only when the report does not end with
  // it); a failure goes to the caller.
  void WriteBuySellResults(const std::string& purchaseType, int32_t life, const std::string& targetPrice,
                           int32_t aboveTarget, int32_t initialStop, int32_t profitableAt, int32_t decline,
                           int32_t maxDays, const std::string& reportPath, bool firstAfterResume = false);
  // The two sweeps. Every way out leaves the swept fields as typed; a Pause
  // or a Stop leaves the pause row naming the first variation that has not
  // run to its end, and so does an error, which goes to the caller (the
  // Simulate handler): a ShownError when the user has been told already
  // (a refusal, a failed count, a stage that failed with its own message).
  void OutputTradeVariations();
  void OutputPortfolioVariations();
  // Counts the portfolio sweep's variations into count and asks to go on:
  // 6 (Yes; also for a paused sweep), 7 (No; also above 65,000), 0 (failed).
  int CountPortfolioVariations(int32_t& count);

 private:
  void ConnectOptimiser();
  // The off state's hiding: the Max and Step fields of every range with their
  // labels, the increments and the Reset buttons, the two box columns.
  void HideSweepSetUp();
  // Whether a Simulate click on the current tab runs a sweep.
  bool SweepRequested() const;
  // The range probe itself, as work in progress.
  void ProbeRanges();
  // The switch's state, which the Trade tab's status label shows.
  bool SweepSwitchOn() const;
  // The sweep flags: a box of the sweep ticked while the switch is on.
  void RecomputeSweepFlags();
  // Whether the Trade tab's row of a selection box is in use: the rows of
  // the stop and price-update rules only while their rule is chosen, the
  // two list rules' never.
  bool SweepRowUsed(int box) const;
  // Enables the Trade tab's selection boxes whose rows are in use and unticks the others.
  void EnableSweepRowBoxes();
  // The sweep branch of Simulate: compacts the database (a new engine, which
  // the run takes over in engine), then runs the sweep of the current tab.
  void RunSweep(std::shared_ptr<clsResearch>& engine);
  // IsPaused, told apart by the sweep that stored the row.
  bool TradeSweepPaused();
  bool PortfolioSweepPaused();
  // A sweep's name in its record; the settings its loops and rows read, as
  // control lines (its plan).
  static const char* SweepName(bool trade);
  std::string SweepPlan(bool trade) const;
  // Records the sweep beside its pause row: its report with the report's
  // first line as it stands, and its plan as the fields hold it.
  void RecordSweep(bool trade, const std::string& reportPath);
  // Before Simulate resumes a stopped sweep of the current tab whose plan
  // the fields no longer hold: asks whether to resume it as planned (its
  // plan back into the fields) or to start the fields' plan afresh (the
  // stopped sweep is kept until the new one starts). False when the user
  // cancels.
  bool SettleStoppedSweepPlan();
  // How a sweep goes on once opened: resumed from its pause row or afresh,
  // and whether its report is written anew, header first.
  struct SweepOpening {
    bool resuming;
    bool reportAnew;
  };
  // The opening both sweeps share, once their variations are counted: a
  // stopped sweep of this kind is resumed into its report (ResumedReport,
  // with resumedHeader); otherwise the count question's answer (countAnswer)
  // must be Yes and the user chooses the report. The sweep's bar is set to
  // the total. Empty when the sweep does not go on: a stopped sweep then
  // stays stopped, resumable.
  std::optional<SweepOpening> OpenSweep(bool trade, int32_t total, const std::function<int()>& countAnswer,
                                        const std::string& resumedHeader);
  // The count question of a fresh sweep; the answer.
  static int AskToSweep(int32_t total);
  // The report a resumed sweep writes, into reportPath: 1 append (it begins
  // as the sweep left it, or, without a record, with header), 0 write it
  // anew (it is gone); when it cannot be written where it was (its folder
  // gone, say) or holds another sweep, GetReportFile's answer.
  int ResumedReport(bool trade, const std::string& header, std::string& reportPath);
  // Before the sweep's first variation: the header of a report written
  // anew, then the sweep's record.
  void StartSweepReport(bool trade, bool anew, const std::vector<std::string>& header);
  // Before a sweep's first variation: copies the fields into the run
  // parameters and refuses, with one message and a ShownError, indicator
  // periods out of their limits and an empty simulation table.
  void RefuseSweepThatCannotRun();
  bool sweepRunning_ = false;
  // Simulate starts the fields' plan afresh over a stopped sweep, which stays
  // resumable should the new one not start.
  bool sweepStartsAfresh_ = false;

 public:
  // ===== end S.M.A.R.T. optimiser =====

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Window construction (main_window_layout.cpp).
  void BuildWindow();
  QWidget* BuildSelectPage();
  QWidget* BuildTradePage();
  QWidget* BuildPortfolioPage();
  QWidget* BuildRunArea();
  QWidget* BuildSidePane();
  QWidget* BuildStatusFrame();
  void BuildMenus();
  void ConnectWindow();  // menus, run buttons, pointer rule (main_window_lifecycle.cpp)
  void FillLists();
  void ShutDown();
  // Connects the panel's handlers and focus help (parameter_panel.cpp).
  void ConnectPanel();
  void OnFocus(QWidget* widget, std::function<void()> handler);
  // Shows or hides the three fields of a ranking range by its box.
  void ShowRange(const std::string& box, int boxIndex, const std::string& field, int labelIndex);

  ControlCollection controls_;
  // The settings' control lines as the window was built: the load sequence
  // starts from them, so a setting that neither STARTUP nor an opened
  // simulation file holds never keeps the previous simulation's value.
  std::vector<std::string> designState_;
  std::map<std::string, QAction*> menus_;
  frmOptions* options_ = nullptr;  // a child window, deleted with this one
  // Run control (run_control.cpp).
  void StartSelectRun(clsResearch& engine);
  // Asks where a new simulation goes and makes it current; false when the user declines.
  bool ChooseNewSimulation();
  // Copies the parameters and refuses, with its message, a Select run that
  // could not work (database kind, indicator periods); ends it stopped.
  bool SelectRunRefused(clsResearch& engine);
  // RunSim's steps: the Select pass from its start day (the period's first,
  // or where a paused pass stopped), returning the engine's status;
  std::string RunSelectPass(clsResearch& engine);
  rt::Date SelectPassStart(clsResearch& engine);
  // the status line keeps in view what the pass found incomplete;
  void ShowIncompleteHistory(const std::string& incomplete);
  // a pass that scanned every symbol goes on, with Auto-Calculate, to the
  // Trade and Portfolio stages;
  void FinishCompleteSelect(clsResearch& engine, const std::string& table);
  void CalculateResults(clsResearch& engine, const std::string& table);
  // one that could not run ends stopped, never paused.
  void EndSelectStopped(clsResearch& engine);
  void TradeAndPortfolioChain(clsResearch& engine);
  // The status line names the rows the last Trade stage left untraded.
  void ShowRowsNotTraded(const clsResearch& engine);
  // A Trade, Portfolio or sweep run needs a current simulation table.
  void RequireSimulation() const;
  void LockForRun();
  void EndRun(clsResearch& engine, bool selectRun, bool sweepRun);
  void RestoreIdleAfterError(clsResearch* engine);
  void SetRunLockEnabled(bool enabled);
  // Whether the user agrees to replace a simulation table that holds rows.
  bool MayReplaceTable(const std::string& table);
  std::string ElapsedTime() const;
  struct ElapsedText {
    std::time_t at = -1;
    rt::Date from;
    std::string text;
  };
  mutable ElapsedText elapsed_;  // the last ElapsedTime, made once a second
  // What LoadParms read at its last copy (run_parameters_copy.cpp).
  struct CopiedTexts;
  std::shared_ptr<CopiedTexts> copiedTexts_;
  // The elapsed time counts from now: a run's start comes after its questions.
  void StartRunClock();
  // A message that stands open stops the run's clock, and its answer starts
  // it again where it stood (run_clock.cpp): its time is the user's.
  void HoldRunClock(bool messageOpen);
  int messagesOpen_ = 0;
  double heldElapsed_ = 0;  // what the clock stood at, in days
  std::unique_ptr<user::MessageBoxWatch> messageWatch_;

  // The symbol the Select pass is downloading or scanning ("" or an index
  // while the indices load): a Pause says it waits for it, and a new
  // download starts its progress bar empty.
  std::string symbolInHand_;
  bool selectPassRunning_ = false;  // the engine's Select pass is under way
  // "Pausing after AAPL…": what a Pause pressed now waits for.
  QString PausingCaption() const;

  bool firstActivationDone_ = false;
  bool lastSelectPaused_ = false;
  bool selectEndedInError_ = false;
  int16_t totalStocks_ = 0;
  // The winners list was read back from the simulation table (an Open), not
  // filled by a Select: its Close cells show the table's AcquirePrice, which
  // the Trade stage changes. A list is always filled one way or the other.
  bool winnersReadBack_ = false;
  int runDepth_ = 0;  // runs inside the engine now
  bool closeWhenRunEnds_ = false;

  // ----- chart, query and About windows (account_chart.cpp, index_charts.cpp,
  // secondary_windows.cpp) -----
 public:
  // Charts the account history of the last portfolio run in the chart
  // window (loading it, which draws the index chart too) and shows it.
  void cmdGraph_Click();
  // The close series of an index over the range, one point per calendar day,
  // into udtDJIChart ("^DJI") or udtNASDAQChart; endDate comes back moved to
  // the trading day the history ends on. Errors go to the caller; refused
  // while a run is in progress (the load would replace the run's day records).
  void LoadIndexData(std::string& symbol, rt::Date& startDate, rt::Date& endDate);
  void mnuAbout_Click();
  void mnuQuery_Click();
  // The chart window, loaded when it is not; nullptr when it is not loaded.
  frmChart& ChartWindow();
  frmChart* LoadedChartWindow() const;
  // The query window, loaded when it is not; nullptr when it is not loaded.
  frmQuery& QueryWindow();
  frmQuery* LoadedQueryWindow() const;
  // Shows the About window modally; tests put their own in place.
  std::function<void(frmAbout&)> showAboutModally;
  // Run Query's guard, as the menu commands have it: true, after a message,
  // while a run is in progress.
  bool QueryRefusedDuringRun() { return RefusedDuringRun("Run Query"); }

 private:
  void ConnectSecondaryWindows();
  QPointer<frmChart> chartWindow_;
  QPointer<frmQuery> queryWindow_;
};

}  // namespace ui
