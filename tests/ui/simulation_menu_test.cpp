// File > New Simulation and Open Simulation, and the commands that a run in
// progress refuses.
#include "market_data/database_connection.h"
#include "platform/runtime/app_folder.h"
#include "run_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Caption(ui::frmMain& w) { return w.Label("lblCurrStock", 1)->text().toStdString(); }

bool SelectInputsEnabled(ui::frmMain& w) {
  for (const char* name : {"txtSelection", "chkOneDay", "chkUseMA", "chkUseADX", "chkUseMinVol", "txtLike"})
    if (!w.Widget(name)->isEnabled()) return false;
  return w.Widget("dteSimDate", 0)->isEnabled() && w.Widget("dteSimDate", 1)->isEnabled() &&
         w.Widget("optStockSelection", 2)->isEnabled() && w.Widget("chkSimOption", 0)->isEnabled() &&
         w.Widget("chkSimOption", 3)->isEnabled();
}

bool SelectInputsDisabled(ui::frmMain& w) {
  for (const char* name : {"txtSelection", "chkOneDay", "chkUseMA", "chkUseADX", "chkUseMinVol", "txtLike"})
    if (w.Widget(name)->isEnabled()) return false;
  return !w.Widget("dteSimDate", 0)->isEnabled() && !w.Widget("dteSimDate", 1)->isEnabled() &&
         !w.Widget("optStockSelection", 2)->isEnabled() && !w.Widget("chkSimOption", 0)->isEnabled() &&
         !w.Widget("chkSimOption", 3)->isEnabled();
}

const char* kRefused = "cannot be used while a simulation or another command is running.";

}  // namespace

TEST_F(WindowTest, NewSimulationPutsTheWindowBackIntoItsStartState) {
  ui::frmMain& w = LoadedWindow();
  const rt::Date periodStart = w.Picker("dteSimDate", 0)->Value();
  w.Text("txtSimOption", 1)->setText("75");
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2019, 1, 2));
  w.mnuSaveStartup_Click();
  w.Text("txtSimOption", 1)->setText("60");
  std::weak_ptr<clsResearch> before = w.objResearch;
  // A window left paused on a simulation.
  Parms().strSimTable = "sim_old";
  w.setWindowTitle("old");
  w.blnNewSimulation = false;
  w.tabResearch->setEnabled(false);
  w.tabResearch->setTabEnabled(2, false);
  w.Widget("txtSelection")->setEnabled(false);
  w.Widget("chkSimOption", 3)->setEnabled(false);
  w.Widget("dteSimDate", 0)->setEnabled(false);
  w.cmdStopSim->setEnabled(true);

  w.Menu("mnuNewSimulation")->trigger();
  EXPECT_TRUE(before.expired());
  ASSERT_NE(w.objResearch, nullptr);
  EXPECT_TRUE(w.objResearch->TestDatabase());
  EXPECT_EQ(w.windowTitle(), "KESTROVANE");
  EXPECT_TRUE(Parms().strSimTable.empty());
  EXPECT_TRUE(w.blnNewSimulation);
  EXPECT_TRUE(w.tabResearch->isEnabled());
  EXPECT_TRUE(w.tabResearch->isTabEnabled(2));
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_FALSE(w.cmdStopSim->isEnabled());
  EXPECT_TRUE(w.Menu("mnuOpenSim")->isEnabled());
  // The saved start-up settings come back, except the period, which the
  // load always sets from today.
  EXPECT_EQ(w.Text("txtSimOption", 1)->text(), "75");
  EXPECT_EQ(w.Picker("dteSimDate", 0)->Value(), periodStart);

  // Again: the lists are refilled, not added to.
  w.Menu("mnuNewSimulation")->trigger();
  EXPECT_EQ(w.Options().cmbPick(0)->count(), 20);
  EXPECT_EQ(w.Combo("cboSelectMarket")->count(), 3);
  EXPECT_EQ(tutorialShown, 0);
}

TEST_F(WindowTest, OpenSimulationCancelledForgetsTheSimulationFile) {
  ui::frmMain& w = LoadedWindow();
  std::weak_ptr<clsResearch> before = w.objResearch;
  w.strSimFilePath = (rt::AppFolder() / "Reports" / "earlier.sim").string();
  scripted->AnswerOpenFile("", "Open Simulation");
  w.Menu("mnuOpenSim")->trigger();
  // The dialog started where the last simulation file was.
  EXPECT_EQ(scripted->Prompts().back().dialog.startFolder, (rt::AppFolder() / "Reports").string());
  EXPECT_EQ(scripted->Prompts().back().dialog.filter, "Simulation File (*.sim)|*.sim");
  EXPECT_TRUE(w.strSimFilePath.empty());
  EXPECT_FALSE(before.expired());

  // The next one starts in the Simulations folder.
  scripted->AnswerOpenFile("");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(scripted->Prompts().back().dialog.startFolder, (rt::AppFolder() / "Simulations").string());
}

TEST_F(WindowTest, OpeningAFileThatIsNotASimulationChangesNothing) {
  ui::frmMain& w = LoadedWindow();
  w.mnuSaveStartup_Click();
  Parms().strSimTable = "sim_kept";
  const std::string kept = (rt::AppFolder() / "Simulations" / "kept.sim").string();
  w.strSimFilePath = kept;
  w.Text("txtSelection")->setText("IBM ; MSFT");  // typed, not saved
  const clsResearch* engine = w.objResearch.get();
  fs::path file = rt::AppFolder() / "Simulations" / "notes.sim";
  testsupport::WriteFileBytes(file, "Shopping list\r\nsim_notes\r\n");
  scripted->AnswerOpenFile(file.string());
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(Parms().strSimTable, "sim_kept");
  EXPECT_EQ(w.strSimFilePath, kept);
  EXPECT_EQ(w.Text("txtSelection")->text(), "IBM ; MSFT");
  EXPECT_EQ(w.objResearch.get(), engine);
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

// A simulation file's values go back as saved: an empty one stays empty
// whatever the box held. One that does not convert (a NUL in it) is named
// whole, and the simulation still opens; Simulate runs the stages once it is
// mended.
TEST_F(WindowTest, OpeningASimulationPutsBackItsValuesAsSavedAndNamesOneThatDoesNotConvert) {
  ui::frmMain& w = LoadedWindow();
  w.mnuSaveStartup_Click();
  w.objResearch->CreateSimulationTable("sim_nul");
  w.Text("txtLimitPercent", 1)->setText("5");
  fs::path file = rt::AppFolder() / "Simulations" / "nul.sim";
  testsupport::WriteFileBytes(file, "Simulation File\r\nsim_nul\r\ntxtLimitPercent(1)=\r\ntxtMaxDays(0)=1" +
                                        std::string(1, '\0') + "2\r\ntxtSimOption(4)=41\r\n");
  scripted->AnswerOpenFile(file.string());
  scripted->AnswerMsgBox(user::kAnswerOK, "(txtMaxDays(0)) holds \"1?2\", which is not a number.");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(w.Text("txtLimitPercent", 1)->text(), "");
  EXPECT_EQ(w.Text("txtSimOption", 4)->text(), "41");
  EXPECT_EQ(w.windowTitle(), "nul");
  EXPECT_TRUE(SelectInputsDisabled(w));
  EXPECT_TRUE(w.tabResearch->isTabEnabled(1));
  EXPECT_NE(w.tabResearch->currentIndex(), 2);  // no stage ran over the unread value
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(RunWindowTest, OpenSimulationRestoresTheSimulationAndRunsTradeAndPortfolio) {
  ui::frmMain& w = ReadyWindow("AAPL ; IBM", false);
  fs::path file = ChooseSimulationFile("opened");
  w.Text("txtMaxDays", 0)->setText("12");
  w.cmdSimulate_Click();
  ASSERT_EQ(Caption(w), "Processing Complete");
  const std::string rows = Scalar("SELECT COUNT(*) FROM [sim_opened]");
  ASSERT_GT(std::stol(rows), 10);

  // The simulation file lives elsewhere now; the window moved on.
  fs::path moved = rt::AppFolder() / "Reports" / "opened.sim";
  fs::copy_file(file, moved);
  w.Text("txtSelection")->setText("MSFT");
  w.Menu("mnuReportAllStocks")->trigger();
  std::weak_ptr<clsResearch> before = w.objResearch;

  scripted->AnswerOpenFile(moved.string(), "Open Simulation");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_TRUE(before.expired());
  EXPECT_EQ(w.strSimFilePath, moved.string());
  EXPECT_EQ(Parms().strSimTable, "sim_opened");
  EXPECT_EQ(w.windowTitle(), "opened");
  EXPECT_EQ(w.Text("txtSelection")->text(), "AAPL ; IBM");  // the file's controls
  EXPECT_EQ(std::to_string(ui::ResultsWindow().lvwWinners->Count()), rows);
  EXPECT_TRUE(SelectInputsDisabled(w));
  EXPECT_TRUE(w.tabResearch->isTabEnabled(1));

  // The Trade and Portfolio chain ran on the Portfolio tab.
  EXPECT_EQ(w.tabResearch->currentIndex(), 2);
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_NE(w.Label("lblResult", 22)->text(), "0--0");
  EXPECT_NE(w.Label("lblResult", 15)->text(), "0");
  EXPECT_EQ(w.Text("txtLastBuildValues")->text().toStdString(), w.GetBuildValues());
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
  // The report switch outlived the engine and received the replay's rows.
  EXPECT_TRUE(Parms().blnAllStocksReport);
  EXPECT_GT(ReadText(rt::AppFolder() / "Reports" / "Simulation Summary by Symbol.csv").size(), 300u);
  // A Select run after an opened simulation starts a new one.
  EXPECT_TRUE(w.blnNewSimulation);

  // The summary of the opened simulation is written and opened; without an
  // application for it the message says where it is.
  const std::string summary = (rt::AppFolder() / "Reports" / "Portfolio Summary.csv").string();
  w.Menu("mnuReportSimSum")->trigger();
  ASSERT_FALSE(scripted->OpenedFiles().empty());
  EXPECT_EQ(scripted->OpenedFiles().back(), summary);
  scripted->SetOpenWithDefaultAppResult(false);
  scripted->AnswerMsgBox(user::kAnswerOK,
                         "No application is registered for .csv files.\r\nThe report was written to " + summary + ".");
  w.Menu("mnuReportSimSum")->trigger();

  // Files cut inside a line are read up to their last whole line and named.
  // What the simulation file and STARTUP no longer hold takes the design value
  // (Max Days 11), not the window's (77) nor the cut line's ("1"); the options
  // keep theirs (the database, not "Venno").
  const std::string whole = ReadText(moved);
  const std::string maxDaysLine = "txtMaxDays(0)=12\r\n";
  ASSERT_NE(whole.find(maxDaysLine), std::string::npos);
  testsupport::WriteFileBytes(moved, whole.substr(0, whole.find(maxDaysLine) + maxDaysLine.size() - 3));
  const std::string startup = ReadText(ui::StartupFilePath());
  testsupport::WriteFileBytes(ui::StartupFilePath(), startup.substr(0, 700));
  const std::string properties = ReadText(ui::PropertiesFilePath());
  testsupport::WriteFileBytes(ui::PropertiesFilePath(), properties.substr(0, properties.find("Vennorath.db") + 5));
  w.Text("txtMaxDays", 0)->setText("77");
  scripted->AnswerOpenFile(moved.string());
  const auto cutShort = [&](const fs::path& file, const std::string& whatHappened) {
    scripted->AnswerMsgBox(user::kAnswerOK, "The settings file " + file.string() +
                                                " ends inside a line: it was cut short. " + whatHappened);
  };
  cutShort(ui::StartupFilePath(), "The settings it does not hold were reset to the program's defaults.");
  cutShort(ui::PropertiesFilePath(), "The options it does not hold keep the values they had.");
  cutShort(moved, "The settings it does not hold were reset to those of a new simulation.");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "11");
  EXPECT_EQ(w.Text("txtSelection")->text(), "AAPL ; IBM");
  EXPECT_EQ(w.Options().txtSimOption(32)->text(), "Vennorath.db");
  EXPECT_EQ(Caption(w), "Processing Complete");

  // The next dialog starts where this file was.
  scripted->AnswerOpenFile("");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(scripted->Prompts().back().dialog.startFolder, (rt::AppFolder() / "Reports").string());
}

// A portfolio sweep saves its simulation with the sweep's box ticked; with
// S.M.A.R.T. off, opening the file shows the simulation's results as any
// Open does, and asks nothing.
TEST_F(RunWindowTest, WithSMARTOffOpeningASweptSimulationRunsNoSweep) {
  ui::frmMain& w = ReadyWindow();
  ChooseSimulationFile("swept");
  w.cmdSimulate_Click();
  w.tabResearch->setCurrentIndex(2);
  w.cmdSMART_Click(0);
  w.Check("chkBuildOption", 10)->SetValue(1);  // the six ranking choices, in two passes
  scripted->AnswerMsgBox(user::kAnswerYes, "This report will yield 12 variations.");
  scripted->AnswerSaveFile((rt::AppFolder() / "Reports" / "swept.csv").string(), "Save S.M.A.R.T. Report");
  w.cmdSimulate_Click();
  ASSERT_EQ(Caption(w), "Processing Complete");
  ASSERT_NE(ReadText(w.strSimFilePath).find("chkBuildOption(10)=1"), std::string::npos);

  w.cmdSMART_Click(0);
  scripted->AnswerOpenFile(w.strSimFilePath, "Open Simulation");
  w.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(w.Label("lblStatus", 2)->text(), "S.M.A.R.T. Not Enabled for Portfolios");
  EXPECT_FALSE(w.blnPortfolioSMART);
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_NE(w.Label("lblResult", 15)->text(), "0");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);
  EXPECT_EQ(scripted->PendingAnswers(), 0u);
}

TEST_F(RunWindowTest, ARunRefusesTheCommandsThatWouldPullTheEngineFromUnderIt) {
  ui::frmMain& w = ReadyWindow("AAPL ; IBM", true);
  ChooseSimulationFile("busy");
  const char* commands[] = {"mnuNewSimulation", "mnuOpenSim",     "mnuRepairDB",         "mnuImportStocks",
                            "mnuReportSimSum",  "mnuSaveSymbols", "mnuRemoveEmptyTables"};
  for (const char* command : commands) {
    (void)command;
    scripted->AnswerMsgBox(user::kAnswerOK, kRefused);
  }
  clsResearch* engine = w.objResearch.get();
  bool tried = false;
  scripted->OnDoEvents([&](int) {
    if (tried || ui::ResultsWindow().lvwWinners->Count() == 0) return;
    tried = true;
    for (const char* command : commands) {
      w.Menu(command)->trigger();
      EXPECT_EQ(w.objResearch.get(), engine) << command;
      EXPECT_NE(cnDatabase, nullptr) << command;
    }
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  ASSERT_TRUE(tried);
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);
  EXPECT_EQ(w.objResearch.get(), engine);

  // Once the run is over they work again.
  std::weak_ptr<clsResearch> before = w.objResearch;
  w.Menu("mnuRepairDB")->trigger();
  EXPECT_TRUE(before.expired());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [Stock_Master]"), "20");
}

TEST_F(RunWindowTest, ClosingTheWindowDuringAnImportEndsTheProgramOnceTheImportReturns) {
  ui::frmMain& w = LoadedWindow();
  fs::path list = rt::AppFolder() / "Symbols" / "many.txt";
  testsupport::WriteFileBytes(list, "AAA,ny\r\nBBB,ny\r\nCCC,ny\r\nDDD,ny\r\n");
  scripted->AnswerOpenFile(list.string(), "Import Stock Symbols");
  bool closed = false;
  scripted->OnDoEvents([&](int) {
    if (closed || w.Label("lblCurrStock", 1)->text() != "1 of 3") return;
    closed = true;
    w.close();  // deferred: the import still works on the engine
    EXPECT_NE(w.objResearch, nullptr);
    EXPECT_TRUE(w.RunInProgress());
  });
  w.Menu("mnuImportStocks")->trigger();
  scripted->OnDoEvents(nullptr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(w.objResearch, nullptr);  // shut down once the import returned, without its confirmation
  EXPECT_FALSE(w.RunInProgress());
}
