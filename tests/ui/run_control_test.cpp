// The run control: Select, Trade and Portfolio runs through the real window
// on the shipped data, with pause, stop, cancel and the error paths.
#include <functional>

#include "market_data/database_connection.h"
#include "platform/runtime/app_folder.h"
#include "run_fixture.h"
#include "simulation/simulation_table.h"
#include "support/write_faults.h"
#include "ui/settings_files.h"

namespace {

std::string Caption(ui::frmMain& w) { return w.Label("lblCurrStock", 1)->text().toStdString(); }
std::string StatusLine(ui::frmMain& w) { return w.Label("Label1", 4)->text().toStdString(); }
std::string Status(ui::frmMain& w) { return w.Label("lblStatus", 0)->text().toStdString(); }

// Every row of a simulation table, in a fixed order, one line each.
std::string TableRows(const std::string& table) {
  db::Recordset rows =
      SharedConnection().OpenRecordset("SELECT * FROM [" + table + "] ORDER BY Symbol, Positioning, AcquireDate");
  std::string text;
  for (; !rows.Eof(); rows.MoveNext()) {
    for (int i = 0; i < rows.FieldCount(); ++i) text += rows.Field(i).ToText() + "\t";
    text += "\n";
  }
  return text;
}

// The controls that a run locks, all enabled (or all disabled).
bool SelectInputsEnabled(ui::frmMain& w) {
  for (const char* name : {"txtSelection", "chkOneDay", "chkUseMA", "chkUseADX", "chkUseMinVol", "txtLike"})
    if (!w.Widget(name)->isEnabled()) return false;
  return w.Widget("dteSimDate", 0)->isEnabled() && w.Widget("optStockSelection", 2)->isEnabled() &&
         w.Widget("chkSimOption", 3)->isEnabled() && w.tabResearch->isEnabled();
}

}  // namespace

TEST_F(RunWindowTest, ASelectRunWithAutoCalculateRunsEveryStage) {
  ui::frmMain& w = ReadyWindow();
  std::filesystem::path file = ChooseSimulationFile("first");
  w.cmdSimulate_Click();

  EXPECT_EQ(Parms().strSimTable, "sim_first");
  EXPECT_EQ(w.windowTitle(), "first");
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_EQ(w.strSimFilePath, file.string());
  std::string rows = Scalar("SELECT COUNT(*) FROM [sim_first]");
  ASSERT_GT(std::stol(rows), 100);
  EXPECT_EQ(std::to_string(ui::ResultsWindow().lvwWinners->Count()), rows);
  // Every candidate of the list got its Trade result.
  EXPECT_FALSE(ui::ResultsWindow().lvwWinners->Text(0, ui::frmResults::kWinnersGainLossColumn).isEmpty());
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);
  EXPECT_NE(w.Label("lblResult", 22)->text(), "0--0");
  EXPECT_NE(w.Label("lblResult", 15)->text(), "0");
  // The signals of the period's last day have no next day to buy on: the
  // status line names the rows and says what brings the days they need.
  const std::string untradedLine =
      "2 rows (AAPL 3/29/2019 LONG, AAPL 3/29/2019 SHORT) could not be traded: not enough stored history after the "
      "signal day. A later period end, or a Select run with Update Data ticked, stores the days they need.";
  ASSERT_EQ(Scalar("SELECT COUNT(*) FROM [sim_first] WHERE AcquirePrice = -1"), "2");
  EXPECT_EQ(StatusLine(w), untradedLine);
  EXPECT_EQ(w.Text("txtLastBuildValues")->text().toStdString(), w.GetBuildValues());
  EXPECT_FALSE(w.cmdSimulate->isEnabled());  // a complete Select leaves Simulate to the other tabs
  EXPECT_FALSE(w.Widget("dteSimDate", 0)->isEnabled());
  EXPECT_FALSE(w.cmdStopSim->isEnabled());
  EXPECT_FALSE(w.objResearch->StopProcess());
  EXPECT_NE(ReadText(file).find("Simulation File\r\nsim_first\r\n"), std::string::npos);
  EXPECT_EQ(scripted->PendingAnswers(), 0u);

  // An immediate Trade run does not rebuild: the bar shows full at once.
  std::string tradeLabel = w.Label("lblResult", 22)->text().toStdString();
  w.tabResearch->setCurrentIndex(1);
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  w.cmdSimulate_Click();
  EXPECT_EQ(w.pbProgress->maximum(), 1);
  EXPECT_EQ(w.Label("lblResult", 22)->text().toStdString(), tradeLabel);
  EXPECT_EQ(Caption(w), "Processing Complete");

  // A changed stop rule rebuilds.
  w.Option("optInitStop", 1)->SetValue(true);
  w.cmdSimulate_Click();
  EXPECT_GT(w.pbProgress->maximum(), 1);
  EXPECT_EQ(StatusLine(w), untradedLine);
  EXPECT_EQ(w.Text("txtLastBuildValues")->text().toStdString(), w.GetBuildValues());

  // A Portfolio run with a different starting investment.
  w.tabResearch->setCurrentIndex(2);
  w.Options().txtSimOption(10)->setText("30000");
  w.cmdSimulate_Click();
  EXPECT_EQ(Parms().dblStartInvestment, 30000);
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(RunWindowTest, PauseThenResumeContinuesAfterTheLastSymbol) {
  ui::frmMain& w = ReadyWindow("AAPL ; IBM ; MSFT", false);
  ChooseSimulationFile("paused");
  bool paused = false;
  // Runs the window's Select and pauses it once, at the first yield where `when` holds.
  auto runPausedWhen = [&](ui::frmMain& at, const std::function<bool()>& when) {
    paused = false;
    scripted->OnDoEvents([&](int) {
      if (!paused && when()) {
        paused = true;
        at.cmdPauseSim_Click();
      }
    });
    at.cmdSimulate_Click();
    scripted->OnDoEvents(nullptr);
  };
  bool swingBoxLocked = false;  // no criterion changes under a run
  runPausedWhen(w, [&] {
    swingBoxLocked = !w.Widget("chkSimOption", 3)->isEnabled();
    return ui::ResultsWindow().lvwWinners->Count() > 0;
  });

  EXPECT_TRUE(swingBoxLocked);
  EXPECT_EQ(Caption(w), "Processing Paused");
  EXPECT_TRUE(w.SelectRunPaused());
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_FALSE(w.tabResearch->isEnabled());
  EXPECT_FALSE(w.Widget("txtSelection")->isEnabled());
  EXPECT_EQ(w.strLastSymbol, "AAPL");
  EXPECT_FALSE(w.objResearch->PauseProcess());
  std::string aaplRows = Scalar("SELECT COUNT(*) FROM [sim_paused] WHERE Symbol = 'AAPL'");
  EXPECT_NE(aaplRows, "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_paused] WHERE Symbol = 'IBM'"), "0");

  // Resume: no file dialog, the rows scanned before stay, the rest follows.
  w.cmdSimulate_Click();
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_FALSE(w.SelectRunPaused());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_paused] WHERE Symbol = 'AAPL'"), aaplRows);
  EXPECT_NE(Scalar("SELECT COUNT(*) FROM [sim_paused] WHERE Symbol = 'MSFT'"), "0");
  const std::string rows = Scalar("SELECT COUNT(*) FROM [sim_paused]");
  EXPECT_EQ(std::to_string(ui::ResultsWindow().lvwWinners->Count()), rows);

  // A Pause while the winners are stored, after the last symbol, leaves
  // nothing of the Select to pause: the run ends complete.
  ui::frmMain& late = ReadyWindow("AAPL ; IBM ; MSFT", false);
  ChooseSimulationFile("late");
  runPausedWhen(late, [&] { return Caption(late) == simulation::kStoringWinners; });
  EXPECT_TRUE(paused);
  EXPECT_EQ(Caption(late), "Processing Complete");
  EXPECT_FALSE(late.SelectRunPaused());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_late]"), rows);
}

// A Pause that lands during a download takes effect after the indices or
// after the symbol being downloaded (its scan included): the run, paused
// twice and resumed, writes what a straight run writes.
TEST_F(RunWindowTest, PausesDuringDownloadsResumeToTheStraightRunsTable) {
  const std::string symbols = "AAPL ; IBM ; MSFT";
  ui::frmMain& straight = ReadyWindow(symbols, false);
  ChooseSimulationFile("straight");
  straight.cmdSimulate_Click();
  ASSERT_EQ(Caption(straight), "Processing Complete");
  const std::string straightRows = TableRows("sim_straight");
  ASSERT_FALSE(straightRows.empty());

  for (const char* quotes : {"AAPL", "IBM", "MSFT", "^DJI", "^IXIC"})
    SharedConnection().Execute("DROP TABLE [" + std::string(quotes) + "]");  // downloaded again
  ui::frmMain& w = ReadyWindow(symbols, false);
  ChooseSimulationFile("paused");
  for (const std::string symbol : {"^DJI", "AAPL"}) {
    bool paused = false;
    scripted->OnDoEvents([&](int) {
      if (!paused && Status(w) == "Updating --" + symbol + "--") {
        paused = true;
        w.cmdPauseSim_Click();
      }
    });
    w.cmdSimulate_Click();
    ASSERT_TRUE(paused) << symbol;
    EXPECT_EQ(Caption(w), "Processing Paused") << symbol;
    EXPECT_TRUE(w.SelectRunPaused()) << symbol;
  }
  scripted->OnDoEvents(nullptr);
  EXPECT_EQ(w.strLastSymbol, "AAPL");
  w.cmdSimulate_Click();  // resumes: no file dialog is scripted
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_TRUE(TableRows("sim_paused") == straightRows);  // row by row
  EXPECT_EQ(scripted->PendingAnswers(), 0u);
}

TEST_F(RunWindowTest, StopOnTheSelectTabLeavesEverythingUsable) {
  ui::frmMain& w = ReadyWindow("AAPL ; IBM", false);
  ChooseSimulationFile("stopped");
  bool stopped = false;
  // Until the run has taken the Stop and ended, the buttons show it running.
  auto stop = [&] {
    stopped = true;
    scripted->AnswerMsgBox(user::kAnswerYes, "Do you wish to stop this process before it completes?");
    w.cmdStopSim_Click();
    EXPECT_FALSE(w.cmdSimulate->isEnabled());
    EXPECT_FALSE(w.cmdPauseSim->isEnabled());
    EXPECT_FALSE(w.cmdStopSim->isEnabled());
  };
  scripted->OnDoEvents([&](int) {
    if (!stopped && ui::ResultsWindow().lvwWinners->Count() > 0) stop();
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);

  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_FALSE(w.SelectRunPaused());
  EXPECT_FALSE(w.objResearch->StopProcess());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_stopped] WHERE Symbol = 'IBM'"), "0");
  EXPECT_TRUE(w.Text("txtLastBuildValues")->text().isEmpty());

  // A Stop while the old winners are removed ends the run after the step in
  // hand, before any symbol is scanned.
  stopped = false;
  scripted->OnDoEvents([&](int) {
    if (!stopped && Caption(w) == simulation::kRemovingOldWinners) stop();
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(Caption(w), "Processing Stopped");
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_stopped]"), "0");
  EXPECT_EQ(ui::ResultsWindow().lvwWinners->Count(), 0);

  // A Stop during the index download ends the run quietly: no shortage of
  // index data is claimed (an unscripted message would fail the test).
  SharedConnection().Execute("DROP TABLE [^DJI]");
  stopped = false;
  scripted->OnDoEvents([&](int) {
    if (!stopped && Status(w) == "Updating --^DJI--") stop();
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_TRUE(stopped);
  EXPECT_TRUE(SelectInputsEnabled(w));
  // What the stopped removal left went first.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name LIKE '~removed%'"), "0");
}

TEST_F(RunWindowTest, CancelAndRefusedOverwriteCreateNoTable) {
  ui::frmMain& w = ReadyWindow();
  scripted->AnswerSaveFile("", "Save Simulation");
  w.cmdSimulate_Click();
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_TRUE(Parms().strSimTable.empty());

  std::filesystem::path existing = rt::AppPath("\\Simulations\\kept.sim");
  testsupport::WriteFileBytes(existing, "old");
  scripted->AnswerSaveFile(existing.string(), "Save Simulation");
  scripted->AnswerMsgBox(user::kAnswerNo, "The Simulation kept.sim already exists.\r\nAre you sure");
  w.cmdSimulate_Click();
  EXPECT_EQ(scripted->Prompts().back().style, user::kYesNo | user::kDefaultButton2);
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_EQ(ReadText(existing), "old");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_kept]"), "ERROR!!");
}

TEST_F(RunWindowTest, AnotherSimulationsTableIsNotDroppedUnasked) {
  ui::frmMain& w = ReadyWindow("AAPL", false);
  ChooseSimulationFile("shared");
  w.cmdSimulate_Click();
  std::string rows = Scalar("SELECT COUNT(*) FROM [sim_shared]");
  ASSERT_NE(rows, "0");

  // shared.v2.sim is a new file, but its table is sim_shared.
  ui::frmMain& next = ReadyWindow("AAPL", false);
  ChooseSimulationFile("shared.v2");
  scripted->AnswerMsgBox(user::kAnswerNo, "The simulation table sim_shared already holds");
  next.cmdSimulate_Click();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_shared]"), rows);
  EXPECT_TRUE(SelectInputsEnabled(next));
}

TEST_F(RunWindowTest, TradeWithoutASimulationSaysSoAndStaysUsable) {
  ui::frmMain& w = ReadyWindow();
  w.tabResearch->setCurrentIndex(1);
  scripted->AnswerMsgBox(user::kAnswerOK,
                         "You must first either run or load a simulation to create a list of stocks to track.");
  w.cmdSimulate_Click();
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_FALSE(w.cmdStopSim->isEnabled());
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(RunWindowTest, ASelectThatCannotStartEndsStoppedAndAsksForANewFileNextTime) {
  ui::frmMain& w = ReadyWindow();
  Parms().blnUseInternet = false;  // no index history can be had
  ChooseSimulationFile("noindex");
  scripted->AnswerMsgBox(user::kAnswerOK, "Connect to Internet to Get Data.");
  w.cmdSimulate_Click();
  EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos);
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_FALSE(w.SelectRunPaused());
  EXPECT_TRUE(w.blnNewSimulation);

  Parms().blnUseInternet = true;
  scripted->AnswerSaveFile("", "Save Simulation");  // asked again
  w.cmdSimulate_Click();

  // A Pause during an index download that fails: the run ends in error, one
  // message says why, and the window is not left paused.
  service.reset();
  testsupport::UnreachableService unreachable;
  ChooseSimulationFile("offline");
  scripted->AnswerMsgBox(user::kAnswerOK, "Insufficient Data to Calculate DJI.");
  scripted->OnDoEvents([&](int) {
    if (Status(w) == "Updating --^DJI--") w.cmdPauseSim_Click();
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_NE(scripted->MessageTexts().back().find("^DJI - no connection to the quote service"), std::string::npos);
  EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos);
  EXPECT_NE(Status(w).find("Not updated --^DJI--"), std::string::npos);
  EXPECT_FALSE(w.SelectRunPaused());
  EXPECT_TRUE(w.blnNewSimulation);
  EXPECT_EQ(scripted->PendingAnswers(), 0u);
}

TEST_F(RunWindowTest, ASelectRunThatCannotWorkIsRefusedBeforeAnythingIsAskedOrChanged) {
  struct Case {
    int box;  // txtSimOption(box)
    const char* value;
    const char* message;
  };
  for (const Case& c : {Case{17, "29", "Long EMA Length must be a whole number from 1 to 28 (it is 29)."},
                        Case{3, "25", "Days RSI Based On must be a whole number from 1 to 24 (it is 25)."}}) {
    ui::frmMain& w = ReadyWindow("AAPL");
    w.Text("txtSimOption", c.box)->setText(c.value);
    scripted->AnswerMsgBox(user::kAnswerOK, c.message);
    w.cmdSimulate_Click();  // no file asked for
    EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos) << c.message;
    EXPECT_TRUE(SelectInputsEnabled(w));
    EXPECT_TRUE(Parms().strSimTable.empty());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [^DJI]"), "ERROR!!");  // nothing downloaded
  }

  // The options page that holds the database type is disabled: the message
  // names the file that keeps it.
  std::string properties = ReadText(ui::PropertiesFilePath());
  properties.replace(properties.find("txtSimOption(31)=1"), 18, "txtSimOption(31)=2");
  testsupport::WriteFileBytes(ui::PropertiesFilePath(), properties);
  ui::frmMain& w = NewWindow();
  scripted->AnswerMsgBox(user::kAnswerOK, "Database Does Not Exist or Incorrect Database in Use.");
  w.Form_Load();
  size_t asked = scripted->Prompts().size();
  scripted->AnswerMsgBox(user::kAnswerOK, "the database type is 2.\r\nThe setting is kept in the PROPERTIES file in "
                                          "the application folder (" +
                                              ui::PropertiesFilePath().string() +
                                              "): change its line txtSimOption(31)=2 to txtSimOption(31)=1");
  w.cmdSimulate_Click();
  EXPECT_EQ(scripted->Prompts().size(), asked + 1);
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_TRUE(Parms().strSimTable.empty());
}

TEST_F(RunWindowTest, TheImportOfferedByASelectRunConfirmsOnlyAnImportThatWorked) {
  ui::frmMain& w = LoadedWindow();  // no Stock_Master yet
  std::filesystem::remove(rt::AppPath("SymbolList"));
  ChooseSimulationFile("noimport");
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to import symbols now?");
  // The message says what the file must hold and how to import another one.
  scripted->AnswerMsgBox(user::kAnswerOK, "File not found: " + rt::AppPath("SymbolList").string() +
                                              "\r\nA symbol file holds one \"SYMBOL,market\" line per symbol, the "
                                              "market ny, ns or am (for example \"IBM,ny\"). Tools > Import Stock "
                                              "Symbols imports a symbol file from another place.");
  w.cmdSimulate_Click();  // and no "Stock symbols have been imported."
  EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos);
}

TEST_F(RunWindowTest, ClosingDuringARunStopsItAndEndsAfterwards) {
  ui::frmMain& w = ReadyWindow("AAPL ; IBM", false);
  ChooseSimulationFile("closing");
  bool closed = false;
  scripted->OnDoEvents([&](int) {
    if (!closed && ui::ResultsWindow().lvwWinners->Count() > 0) {
      closed = true;
      w.close();  // refused now: the engine stays until the run unwinds
      EXPECT_NE(w.objResearch, nullptr);
      EXPECT_TRUE(w.RunInProgress());
    }
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(w.objResearch, nullptr);  // shut down once the run returned
  EXPECT_FALSE(w.RunInProgress());
}

TEST_F(WindowTest, TheTradeSignatureKeepsItsFieldsApart) {
  ui::frmMain& w = LoadedWindow();
  w.Text("txtLifeofOrder", 0)->setText("11");
  w.Text("txtLimitPercent", 0)->setText("1");
  std::string first = w.GetBuildValues();
  w.Text("txtLifeofOrder", 0)->setText("1");
  w.Text("txtLimitPercent", 0)->setText("11");
  EXPECT_NE(w.GetBuildValues(), first);
  std::string second = w.GetBuildValues();
  w.Option("optPriceUpdate", 1)->SetValue(true);
  EXPECT_NE(w.GetBuildValues(), second);
  std::string third = w.GetBuildValues();
  w.Picker("dteSimDate", 1)->SetValue(w.Picker("dteSimDate", 1)->Value() - 7);
  EXPECT_NE(w.GetBuildValues(), third);
}

TEST_F(WindowTest, TheStockListTakesTheSymbolsAsTyped) {
  ui::frmMain& w = LoadedWindow();
  w.CreateStockList();
  EXPECT_EQ(w.astrStockList, std::vector<std::string>{"all:"});
  w.Option("optStockSelection", 1)->SetValue(true);
  w.Text("txtLike")->setText("AB");
  w.CreateStockList();
  EXPECT_EQ(w.astrStockList, std::vector<std::string>{"like:AB"});
  w.Option("optStockSelection", 2)->SetValue(true);
  w.Text("txtSelection")->setText("  ibm ;; MSFT  ;  a,b ;");
  w.CreateStockList();
  EXPECT_EQ(w.astrStockList, (std::vector<std::string>{"ibm", "MSFT", "a,b"}));
  w.Text("txtSelection")->setText(" ; ");
  w.CreateStockList();  // no symbol: the list stays as it was
  EXPECT_EQ(w.astrStockList, (std::vector<std::string>{"ibm", "MSFT", "a,b"}));
}

TEST_F(WindowTest, StopAnsweredNoChangesNothing) {
  ui::frmMain& w = LoadedWindow();
  w.cmdStopSim->setEnabled(true);
  scripted->AnswerMsgBox(user::kAnswerNo, "Do you wish to stop this process before it completes?");
  w.cmdStopSim_Click();
  EXPECT_FALSE(w.objResearch->StopProcess());
  EXPECT_TRUE(w.cmdStopSim->isEnabled());

  // On the Trade tab Stop only sets the flag.
  w.tabResearch->setCurrentIndex(1);
  w.cmdSimulate->setEnabled(false);
  scripted->AnswerMsgBox(user::kAnswerYes, "Do you wish to stop");
  w.cmdStopSim_Click();
  EXPECT_TRUE(w.objResearch->StopProcess());
  EXPECT_FALSE(w.cmdSimulate->isEnabled());
  // A pending stop skips the Portfolio stage and leaves the labels alone.
  w.Label("lblResult", 15)->setText("123");
  w.SimResults(true, 15000, false);
  EXPECT_EQ(w.Label("lblResult", 15)->text(), "123");
}

TEST_F(RunWindowTest, TheAutomaticPortfolioRunStartsWithTheReloadedInvestment) {
  ui::frmMain& w = ReadyWindow("AAPL", true);
  w.Options().txtSimOption(10)->setText("1000");  // the load copied 15000 before this
  ChooseSimulationFile("small");
  w.cmdSimulate_Click();
  EXPECT_EQ(Caption(w), "Processing Complete");
  double endBalance = w.Label("lblResult", 15)->text().toDouble();
  EXPECT_GT(endBalance, 0);
  EXPECT_LT(endBalance, 5000);
}

TEST_F(RunWindowTest, ABoxThatDoesNotConvertStopsTheRunAndLeavesTheWindowUsable) {
  ui::frmMain& w = ReadyWindow();
  w.Text("txtSimOption", 3)->setText("fourteen");
  ChooseSimulationFile("badbox");
  scripted->AnswerMsgBox(user::kAnswerOK, "\"Days RSI Based On\" (txtSimOption(3))");
  w.cmdSimulate_Click();
  EXPECT_TRUE(SelectInputsEnabled(w));
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos);

  w.Text("txtSimOption", 3)->setText("14");
  ChooseSimulationFile("badbox");  // the file was saved; the question covers its table
  scripted->AnswerMsgBox(user::kAnswerYes, "The Simulation badbox.sim already exists.");
  w.cmdSimulate_Click();
  EXPECT_EQ(Caption(w), "Processing Complete");

  // An options box too: the Portfolio run is refused, not run with no slots.
  w.Options().txtNumStocks()->setText("abc");
  w.tabResearch->setCurrentIndex(2);
  w.Label("lblResult", 15)->setText("kept");
  scripted->AnswerMsgBox(user::kAnswerOK,
                         "Type mismatch: the field \"Max Stocks in Portfolio:\" (txtNumStocks) holds \"abc\", which "
                         "is not a number.");
  w.cmdSimulate_Click();
  EXPECT_EQ(scripted->PendingAnswers(), 0u);
  EXPECT_NE(Caption(w), "Processing Complete");
  EXPECT_EQ(w.Label("lblResult", 15)->text(), "kept");
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
}

TEST_F(RunWindowTest, AFirstRunImportsTheShippedSymbolsAndTheNextOneRuns) {
  ui::frmMain& w = LoadedWindow();  // nothing imported yet
  Parms().blnUseInternet = true;
  w.Check("chkUpdateData")->SetValue(1);
  w.Options().dteData()->SetValue(rt::DateSerial(2018, 6, 1));
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2019, 1, 2));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2019, 2, 28));
  w.Combo("cboTypeOfPurchase")->setCurrentIndex(0);
  w.Check("chkCalculateResults")->SetValue(1);
  ChooseSimulationFile("start");
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to import symbols now?");
  scripted->AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.");
  w.cmdSimulate_Click();
  EXPECT_NE(Caption(w).find("Processing Stopped"), std::string::npos);

  ChooseSimulationFile("start");
  scripted->AnswerMsgBox(user::kAnswerYes, "The Simulation start.sim already exists.");
  // DOW was first traded after the period.
  scripted->AnswerMsgBox(user::kAnswerOK, "DOW - the quote service holds none from ");
  // The run's clock stands still while a message waits for its answer: an
  // hour passes while each stands open, the download's closing one too.
  user::MessageBoxWatch anHourPasses([&](bool open) {
    if (open) w.datRunStart = w.datRunStart - 1.0 / 24;
  });
  w.cmdSimulate_Click();
  EXPECT_EQ(Caption(w), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwWinners->Count(), 0);
  EXPECT_NE(w.Label("lblResult", 15)->text(), "0");
  EXPECT_EQ(w.lblTime->text().toStdString().substr(0, 3), "00:");  // no hour counted
}

TEST_F(RunWindowTest, ALastingWriteFailureStopsASelectAndATradeRunWithOneMessage) {
  using testsupport::InjectedWriteFault;
  using testsupport::WriteFault;
  ui::frmMain& w = ReadyWindow("AAPL ; IBM", false);
  ChooseSimulationFile("full");
  InjectedWriteFault full(WriteFault::kDiskFull);
  scripted->OnDoEvents([&](int) {
    if (ui::ResultsWindow().lvwWinners->Count() > 0) full.Apply();
  });
  scripted->AnswerMsgBox(user::kAnswerOK, "Unable to store the winners in the simulation table.");
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_NE(scripted->Prompts().back().text.find("the disk is full"), std::string::npos);
  EXPECT_EQ(Caption(w), "Processing Stopped: the Select run could not complete");
  EXPECT_TRUE(SelectInputsEnabled(w));
  full.Undo();

  ui::frmMain& t = ReadyWindow("AAPL", false);
  ChooseSimulationFile("readonly");
  t.cmdSimulate_Click();
  ASSERT_EQ(Caption(t), "Processing Complete");
  t.tabResearch->setCurrentIndex(1);
  InjectedWriteFault readOnly(WriteFault::kReadOnly);
  readOnly.Apply();
  scripted->AnswerMsgBox(user::kAnswerOK, "Unable to update simulation table.\r\nThe database file");
  t.cmdSimulate_Click();
  EXPECT_NE(scripted->Prompts().back().text.find("is read-only"), std::string::npos);
  EXPECT_EQ(Caption(t), "Processing Stopped: the Trade run could not complete");
  EXPECT_TRUE(t.Text("txtLastBuildValues")->text().isEmpty());
  EXPECT_TRUE(t.cmdSimulate->isEnabled());
  readOnly.Undo();
  t.cmdSimulate_Click();
  EXPECT_EQ(Caption(t), "Processing Complete");
}

TEST_F(RunWindowTest, ATableThatCannotBeReplacedStopsTheRunBeforeAnyRowIsWritten) {
  ui::frmMain& w = ReadyWindow("AAPL", false);
  ChooseSimulationFile("locked");
  w.cmdSimulate_Click();
  // The rows of the run before, marked so that they can be told from new ones.
  SharedConnection().Execute("UPDATE [sim_locked] SET RSI = -999");
  std::string rows = Scalar("SELECT COUNT(*) FROM [sim_locked]");

  // Another program holds the write lock as the run starts again, and lets
  // go once the user was told.
  testsupport::InjectedWriteFault lock(testsupport::WriteFault::kLockHeld);
  lock.Apply();
  scripted->AnswerMsgBox(user::kAnswerOK, "is in use by another connection");
  scripted->OnDoEvents([&](int) {
    if (scripted->PendingAnswers() == 0) lock.Undo();
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_EQ(Caption(w), "Processing Stopped: the Select run could not complete");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_locked] WHERE RSI = -999"), rows);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [sim_locked]"), rows);
}
