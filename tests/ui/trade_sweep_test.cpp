// The trade-settings sweep over a Select run on the shipped history: the
// order of the variations, the report, pause and resume, stop, and the
// sweep as Simulate runs it after compacting the database.
#include <optional>

#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "run_fixture.h"
#include "sweep_fixture.h"

namespace {

class TradeSweepTest : public RunWindowTest {
 protected:
  // A simulation of AAPL's candidates (no Trade stage yet), on the Trade tab
  // with S.M.A.R.T. on and Limit orders; the life of the order swept 1 to 2 and the maximum
  // days 5 to 10 by 5: four variations.
  ui::frmMain& SweepWindow() {
    ui::frmMain& w = ReadyWindow("AAPL", false);
    ChooseSimulationFile("trades");
    w.cmdSimulate_Click();
    EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
    w.tabResearch->setCurrentIndex(1);
    w.cmdSMART_Click(0);
    w.Combo("cboTypeOfPurchase")->setCurrentIndex(1);
    Sweep(w, 1, "txtLifeofOrder", "1", "2", "1");
    Sweep(w, 9, "txtMaxDays", "5", "10", "5");
    return w;
  }

  void Sweep(ui::frmMain& w, int box, const char* field, const char* min, const char* max, const char* step) {
    w.Check("chkBuildOption", box)->SetValue(1);
    w.Text(field, 0)->setText(min);
    w.Text(field, 1)->setText(max);
    w.Text(std::string(field) + "Step")->setText(step);
  }

  // Pauses (or stops) the sweep while the variation runs.
  void InterruptAt(ui::frmMain& w, const std::string& progress, bool stop) {
    scripted->OnDoEvents([&w, progress, stop, this](int) {
      if (w.Label("Label1", 4)->text().toStdString() != progress || w.objResearch->StopProcess()) return;
      if (!stop) return w.cmdPauseSim_Click();
      scripted->AnswerMsgBox(user::kAnswerYes, "Do you wish to stop this process before it completes?");
      w.cmdStopSim_Click();
    });
  }

  // The sweep of SweepWindow paused while its variation 2 runs; its report.
  std::string PausedWhileVariation2Runs(ui::frmMain& w) {
    const std::string report = DefaultTradeReport();
    AcceptSweep(*scripted, 4, report);
    InterruptAt(w, "2 of 4", false);
    w.OutputTradeVariations();
    scripted->OnDoEvents(nullptr);
    return report;
  }

  static std::vector<std::string> Settings(const std::string& line) {
    std::vector<std::string> cells = ReportCells(line);
    return std::vector<std::string>(cells.begin(), cells.begin() + 8);
  }
  static std::vector<std::string> Results(const std::string& line) {
    std::vector<std::string> cells = ReportCells(line);
    return std::vector<std::string>(cells.begin() + 8, cells.end());
  }
};

const std::vector<std::string> kFirst = {"Limit", "1", "% of Close", "2", "7", "9", "0", "5"};
const std::vector<std::string> kLast = {"Limit", "2", "% of Close", "2", "7", "9", "0", "10"};

}  // namespace

TEST_F(TradeSweepTest, TheInnerSettingChangesFastestAndEachRowIsATradeRun) {
  ui::frmMain& w = SweepWindow();
  const std::string report = DefaultTradeReport();
  AcceptSweep(*scripted, 4, report);
  w.OutputTradeVariations();

  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 5u);
  // % Decline is empty in the window as designed: it runs once as it stands.
  EXPECT_EQ(lines[0],
            "Purchase Type\tLife(1:2)\tTarget Price\t% Above Target(2:2)\tInitial Stop(7:7)\tProfitable at(9:9)\t"
            "% Decline(:)\tMax Days(5:10)\tWin/Loss\tShort/Long\tAvg. Return");
  EXPECT_EQ(Settings(lines[1]), kFirst);
  EXPECT_EQ(ReportCells(lines[2])[7], "10");
  EXPECT_EQ(ReportCells(lines[3])[1], "2");
  EXPECT_EQ(Settings(lines[4]), kLast);
  EXPECT_EQ(w.Label("Label1", 4)->text(), "4 of 4");
  EXPECT_EQ(w.pbStatus->maximum(), 4);
  EXPECT_NE(Results(lines[1])[0], "0--0");  // trades were made

  // Normal end: the swept fields read as typed, the report is opened, the
  // pause row is cleared.
  EXPECT_EQ(w.Text("txtLifeofOrder", 0)->text(), "1");
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "5");
  EXPECT_EQ(w.Text("txtDecline", 0)->text(), "");
  EXPECT_EQ(scripted->OpenedFiles(), std::vector<std::string>{report});
  EXPECT_FALSE(w.IsPaused());

  // The third row holds what a Trade run with life 2 and 5 days shows.
  w.Text("txtLifeofOrder", 0)->setText("2");
  w.LoadParms();
  w.objResearch->BuildResults();
  w.BuySellResults();
  EXPECT_EQ((std::vector<std::string>{w.Label("lblResult", 22)->text().toStdString(),
                                      w.Label("lblResult", 13)->text().toStdString(),
                                      w.Label("lblResult", 26)->text().toStdString()}),
            Results(lines[3]));
}

// "% Decline" left empty and not swept: the Trade stage keeps the value it
// last ran with, and each row shows that value.
TEST_F(TradeSweepTest, ARowShowsTheSettingsTheTradeStageRanWith) {
  ui::frmMain& w = SweepWindow();
  w.Text("txtDecline", 0)->setText("3");
  w.LoadParms();
  w.Text("txtDecline", 0)->clear();
  AcceptSweep(*scripted, 4, DefaultTradeReport());
  w.OutputTradeVariations();
  std::vector<std::string> lines = ReportLines(DefaultTradeReport());
  ASSERT_EQ(lines.size(), 5u);
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(ReportCells(lines[i])[6], "3") << i;
  EXPECT_EQ(Parms().intDecline, 3);
}

TEST_F(TradeSweepTest, APausedSweepResumesWithTheVariationItHadNotRun) {
  ui::frmMain& w = SweepWindow();
  const std::string report = PausedWhileVariation2Runs(w);

  EXPECT_EQ(ReportLines(report).size(), 3u);
  ASSERT_TRUE(w.IsPaused());
  EXPECT_EQ(w.lngTradeCount, 3);
  EXPECT_EQ(w.varTradePause[1], 2);  // life 2, days 5
  EXPECT_EQ(w.varTradePause[7], 5);
  // The fields read as typed again, so the resumed sweep sets up the same ranges.
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "5");
  EXPECT_TRUE(scripted->OpenedFiles().empty());

  w.objResearch->PauseProcess(false);
  w.OutputTradeVariations();  // no question, no dialog
  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(ReportCells(lines[3])[1], "2");
  EXPECT_EQ(ReportCells(lines[3])[7], "5");
  EXPECT_EQ(Settings(lines[4]), kLast);
  EXPECT_EQ(w.Label("Label1", 4)->text(), "4 of 4");
}

// Ended (killed, say) after variation 2's row was written but before its
// pause row moved on: the resume runs variation 2 again and writes its row once.
TEST_F(TradeSweepTest, AResumeDoesNotRepeatARowWrittenBeforeThePauseRowMovedOn) {
  ui::frmMain& w = SweepWindow();
  const std::string report = PausedWhileVariation2Runs(w);
  ASSERT_EQ(ReportLines(report).size(), 3u);
  std::vector<std::string> pause;
  w.objResearch->RetrievePauseCriteria(pause);
  pause.resize(9);
  pause[1] = "1", pause[7] = "10", pause[8] = "2";  // variation 2: life 1, days 10
  w.objResearch->StorePauseCriteria(pause, true);

  w.objResearch->PauseProcess(false);
  ASSERT_TRUE(w.IsPaused());
  w.OutputTradeVariations();
  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(Settings(lines[2]), (std::vector<std::string>{"Limit", "1", "% of Close", "2", "7", "9", "0", "10"}));
  EXPECT_EQ(Settings(lines[4]), kLast);
}

// After a restart a resumed sweep appends to the report it chose when its
// first line is still the one the sweep left; a report that is gone is
// written anew with its header, and one that now holds another sweep (or, in
// a database older than the sweep records, a proposed report of another
// sweep) is never appended to: the user chooses where the rest goes. In a
// copy of the application folder it writes on into the copy's report.
struct ResumedReportCase {
  const char* name;
  bool recorded;              // false: the database keeps no record of the report
  bool otherSweep;            // false: the report is gone
  bool folderCopied = false;  // the report stays; the program starts on a copy of the folder
};
void PrintTo(const ResumedReportCase& c, std::ostream* os) { *os << c.name; }
class ResumedTradeReport : public TradeSweepTest, public ::testing::WithParamInterface<ResumedReportCase> {};

TEST_P(ResumedTradeReport, IsTheSweepsOwnOrANewOne) {
  const ResumedReportCase& c = GetParam();
  ui::frmMain& w = SweepWindow();
  const std::string chosen = rt::AppPath("\\Reports\\mine.csv").string();
  AcceptSweep(*scripted, 4, chosen);
  InterruptAt(w, "3 of 4", false);
  w.OutputTradeVariations();
  scripted->OnDoEvents(nullptr);
  const std::string header = ReportLines(chosen)[0];
  w.strTradeReportPath.clear();  // as after a restart
  if (!c.recorded) SharedConnection().Execute("DROP TABLE [SweepRecord]");
  std::optional<testsupport::TempAppFolder> copy;
  if (c.folderCopied) {
    const std::filesystem::path original = rt::AppFolder();
    copy.emplace();
    std::filesystem::copy(original / "Reports", copy->Path() / "Reports", std::filesystem::copy_options::recursive);
  }
  const std::string found = c.recorded ? rt::AppPath("\\Reports\\mine.csv").string() : DefaultTradeReport();
  const std::string other = "Purchase Type\tLife(1:9)\r\nMarket\t9\r\n";
  if (c.otherSweep) testsupport::WriteFileBytes(found, other);
  else if (!c.folderCopied) std::filesystem::remove(found);
  const std::string rest = c.otherSweep ? rt::AppPath("\\Reports\\rest.csv").string() : found;
  if (c.otherSweep) scripted->AnswerSaveFile(rest, "Save S.M.A.R.T. Report");

  w.objResearch->PauseProcess(false);
  w.OutputTradeVariations();
  std::vector<std::string> lines = ReportLines(rest);
  ASSERT_EQ(lines.size(), c.folderCopied ? 5u : 2u);
  EXPECT_EQ(lines[0], header);
  EXPECT_EQ(Settings(lines.back()), kLast);
  if (c.folderCopied) {
    EXPECT_EQ(ReportLines(chosen).size(), 4u);  // the original folder's report stays as it was
  } else if (c.otherSweep) {
    EXPECT_EQ(testsupport::ReadFileBytes(found), other);
  }
}

INSTANTIATE_TEST_SUITE_P(GoneOrTaken, ResumedTradeReport,
                         ::testing::Values(ResumedReportCase{"Gone", true, false},
                                           ResumedReportCase{"HoldsAnotherSweep", true, true},
                                           ResumedReportCase{"UnrecordedProposedHoldsAnotherSweep", false, true},
                                           ResumedReportCase{"InACopyOfTheFolder", true, false, true}),
                         [](const ::testing::TestParamInfo<ResumedReportCase>& info) { return info.param.name; });

// A Pause, a Stop or an error at variation k of n, each through Simulate:
// the fields read as typed, the report holds the rows of the variations that
// ran to their end, and the next Simulate writes the rest, none twice, so
// that the report is an uninterrupted sweep's. After a Stop and a changed
// Max Days, it resumes the plan it started with or starts the new one afresh;
// after a Stop and the report's folder moved, it asks where the rest goes.
class InterruptedTradeSweep : public TradeSweepTest, public ::testing::WithParamInterface<InterruptCase> {};

TEST_P(InterruptedTradeSweep, KeepsItsFieldsAndResumesWithoutLosingOrRepeatingARow) {
  const InterruptCase& c = GetParam();
  const bool afresh = c.edited == ThenEdited::kStartedAfresh;
  const std::vector<std::string> planned = {"1/5", "1/10", "2/5", "2/10"};
  const std::vector<std::string> ran =
      afresh ? std::vector<std::string>{"1/5", "1/10", "1/15", "2/5", "2/10", "2/15"} : planned;
  ui::frmMain& w = SweepWindow();
  std::string report = DefaultTradeReport();
  AcceptSweep(*scripted, 4, report);
  InterruptSweepAt(*scripted, w, w.Label("Label1", 4), c, report);
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  RestoreReport(c, report);
  auto variations = [&] {
    std::vector<std::string> rows;
    for (const std::string& line : ReportLines(report))
      rows.push_back(ReportCells(line)[1] + "/" + ReportCells(line)[7]);
    return std::vector<std::string>(rows.begin() + 1, rows.end());
  };
  EXPECT_EQ(variations(), std::vector<std::string>(planned.begin(), planned.begin() + c.rowsKept));
  EXPECT_EQ(w.Text("txtLifeofOrder", 0)->text(), "1");
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "5");
  EXPECT_TRUE(w.IsPaused());
  EXPECT_TRUE(w.cmdSimulate->isEnabled());

  if (c.edited != ThenEdited::kNo) {
    w.Text("txtMaxDays", 1)->setText("15");
    if (c.edited == ThenEdited::kCancelledThenResumed || c.edited == ThenEdited::kAfreshDeclinedThenResumed) {
      if (c.edited == ThenEdited::kCancelledThenResumed) {
        scripted->AnswerMsgBox(user::kAnswerCancel, "have changed since this sweep stopped");
      } else {
        scripted->AnswerMsgBox(user::kAnswerNo, "have changed since this sweep stopped");
        scripted->AnswerMsgBox(user::kAnswerNo, "This report will yield 6 variations.");
      }
      w.cmdSimulate_Click();
      EXPECT_EQ(variations(), std::vector<std::string>(planned.begin(), planned.begin() + c.rowsKept));
      EXPECT_EQ(w.Text("txtMaxDays", 1)->text(), "15");
      EXPECT_TRUE(w.IsPaused());
    }
    AnswerChangedPlan(*scripted, c.edited);
    if (afresh) {
      AcceptSweep(*scripted, 6, report);
      scripted->AnswerMsgBox(user::kAnswerYes, "already exists.");
    }
  }
  if (c.reportFolderMoved) {  // the rest goes into the moved report, appended
    const std::filesystem::path moved = rt::AppPath("\\Moved");
    std::filesystem::rename(std::filesystem::path(report).parent_path(), moved);
    report = (moved / std::filesystem::path(report).filename()).string();
    scripted->AnswerSaveFile(report, "Save S.M.A.R.T. Report");
    scripted->AnswerMsgBox(user::kAnswerNo, "already exists.");  // No appends
  }
  w.cmdSimulate_Click();  // a resume asks nothing where its report can be written
  EXPECT_EQ(variations(), ran);
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(w.Label("Label1", 4)->text().toStdString(),
            std::to_string(ran.size()) + " of " + std::to_string(ran.size()));
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "5");
  EXPECT_EQ(w.Text("txtMaxDays", 1)->text(), afresh ? "15" : "10");
  EXPECT_FALSE(w.IsPaused());

  const std::string straight = rt::AppPath("\\Reports\\straight.csv").string();
  AcceptSweep(*scripted, static_cast<int>(ran.size()), straight);
  w.OutputTradeVariations();
  EXPECT_EQ(ReportLines(report), ReportLines(straight));
}

INSTANTIATE_TEST_SUITE_P(
    PauseStopError, InterruptedTradeSweep,
    ::testing::Values(
        InterruptCase{"Pause", Interrupt::kPause, "2 of 4", 2}, InterruptCase{"Stop", Interrupt::kStop, "2 of 4", 1},
        InterruptCase{"Error", Interrupt::kError, "3 of 4", 2},
        InterruptCase{"StopEditResumeAsPlanned", Interrupt::kStop, "2 of 4", 1, ThenEdited::kResumedAsPlanned},
        InterruptCase{"StopEditCancelThenResume", Interrupt::kStop, "2 of 4", 1, ThenEdited::kCancelledThenResumed},
        InterruptCase{"StopEditDeclineAfreshThenResume", Interrupt::kStop, "2 of 4", 1,
                      ThenEdited::kAfreshDeclinedThenResumed},
        InterruptCase{"StopEditStartAfresh", Interrupt::kStop, "2 of 4", 1, ThenEdited::kStartedAfresh},
        InterruptCase{"StopReportFolderMoved", Interrupt::kStop, "2 of 4", 1, ThenEdited::kNo, true}),
    InterruptCaseName);

TEST_F(TradeSweepTest, RangesWithoutValuesAndHalfValues) {
  ui::frmMain& w = SweepWindow();
  // Start above end: no variation; Yes writes the header and ends normally.
  w.Text("txtLifeofOrder", 0)->setText("3");
  const std::string report = DefaultTradeReport();
  AcceptSweep(*scripted, 0, report);
  w.OutputTradeVariations();
  EXPECT_EQ(ReportLines(report).size(), 1u);
  EXPECT_EQ(w.Text("txtLifeofOrder", 0)->text(), "3");
  EXPECT_EQ(scripted->OpenedFiles(), std::vector<std::string>{report});

  // Halves are rounded to the even neighbour in the report.
  w.Check("chkBuildOption", 9)->SetValue(0);
  Sweep(w, 1, "txtLifeofOrder", "2.5", "3.5", "1");
  AcceptSweep(*scripted, 2, report);
  scripted->AnswerMsgBox(user::kAnswerYes, "already exists. Do you wish to overwrite?");
  w.OutputTradeVariations();
  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(ReportCells(lines[1])[1], "2");
  EXPECT_EQ(ReportCells(lines[2])[1], "4");

  // A step of 0 would never end: refused before anything runs.
  w.Text("txtLifeofOrderStep")->setText("0");
  EXPECT_THROW(w.OutputTradeVariations(), rt::Error);
  EXPECT_EQ(ReportLines(report).size(), 3u);
}

TEST_F(TradeSweepTest, ARowThatCannotBeWrittenEndsTheSweepWithOneMessage) {
  ui::frmMain& w = SweepWindow();
  w.Check("chkBuildOption", 9)->SetValue(0);                                  // two variations
  const std::string report = rt::AppPath("\\Reports\\gone\\x.csv").string();  // a folder that is not there
  AcceptSweep(*scripted, 2, report);
  // A path that cannot be tested counts as an existing file; appending
  // writes no header, and the first row's failure ends the sweep.
  scripted->AnswerMsgBox(user::kAnswerNo, "already exists.");
  scripted->AnswerMsgBox(user::kAnswerOK, "Path not found");
  w.cmdSimulate_Click();
  EXPECT_EQ(w.Label("Label1", 4)->text(), "1 of 2");
  EXPECT_EQ(w.lngTradeCount, 1);  // the resume writes that row first
  EXPECT_EQ(w.Text("txtLifeofOrder", 0)->text(), "1");

  // Writing anew fails at the header, which ends the sweep with the error.
  w.ClearPauseCriteria();
  AcceptSweep(*scripted, 2, report);
  scripted->AnswerMsgBox(user::kAnswerYes, "already exists.");
  EXPECT_THROW(w.OutputTradeVariations(), rt::Error);
}

TEST_F(TradeSweepTest, SimulateCompactsTheDatabaseAndRunsTheSweepOnANewEngine) {
  ui::frmMain& w = SweepWindow();
  ASSERT_TRUE(w.blnTradeSMART);
  // Held weakly: a new engine may well be allocated where the old one was.
  const std::weak_ptr<clsResearch> before = w.objResearch;
  const std::string report = DefaultTradeReport();
  AcceptSweep(*scripted, 4, report);
  bool sawSweepState = false;
  const std::string copy = report.substr(0, report.size() - 4) + "_tmp1.csv";
  size_t linesShown = 0;
  std::string compacting;  // the status line while the compact runs without an engine
  scripted->OnDoEvents([&](int) {
    if (!w.objResearch) compacting = w.Label("lblCurrStock", 1)->text().toStdString();
    if (w.Label("Label1", 4)->text() == "1 of 4")  // the plan's fields locked, as a Select locks its own
      sawSweepState = w.cmdShowProgress->isEnabled() && w.Button("cmdSMART", 0)->isHidden() &&
                      !w.Text("txtMaxDays", 1)->isEnabled() && !w.Text("txtStep", 0)->isEnabled();
    if (w.Label("Label1", 4)->text() == "2 of 4" && linesShown == 0) {
      w.cmdShowProgress_Click();  // a copy of the rows so far, so the report stays writable
      linesShown = ReportLines(copy).size();
    }
  });
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_TRUE(sawSweepState);
  EXPECT_EQ(compacting, "Compacting and repairing the database ...");
  EXPECT_EQ(linesShown, 2u);  // the header and the first variation's row
  ASSERT_FALSE(scripted->OpenedFiles().empty());
  EXPECT_EQ(scripted->OpenedFiles().front(), copy);
  EXPECT_TRUE(before.expired());
  EXPECT_NE(w.objResearch, nullptr);
  EXPECT_EQ(ReportLines(report).size(), 5u);
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_FALSE(w.IsPaused());  // a completed run clears the pause row
  EXPECT_FALSE(w.cmdShowProgress->isEnabled());
  EXPECT_FALSE(w.Button("cmdSMART", 0)->isHidden());
  EXPECT_TRUE(w.Text("txtMaxDays", 1)->isEnabled());

  // Paused through Simulate, resumed through Simulate.
  AcceptSweep(*scripted, 4, report);
  scripted->AnswerMsgBox(user::kAnswerYes, "already exists.");
  InterruptAt(w, "2 of 4", false);
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Paused");
  EXPECT_FALSE(w.tabResearch->isEnabled());
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  w.cmdSimulate_Click();
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(ReportLines(report).size(), 5u);
}

TEST_F(TradeSweepTest, TheTradeSweepDoesNotResumeAPausedPortfolioSweep) {
  ui::frmMain& w = SweepWindow();
  w.objResearch->StorePauseCriteria({"3", "0", "-1", "5", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "3"},
                                    false);
  ASSERT_TRUE(w.IsPaused());
  AcceptSweep(*scripted, 4, DefaultTradeReport());  // asked like any fresh sweep
  w.OutputTradeVariations();
  EXPECT_EQ(ReportLines(DefaultTradeReport()).size(), 5u);
}

TEST_F(WindowTest, ASweepNeedsACurrentSimulation) {
  ui::frmMain& w = LoadedWindow();
  w.tabResearch->setCurrentIndex(2);
  w.Check("chkBuildOption", 10)->SetValue(1);
  scripted->AnswerMsgBox(user::kAnswerOK,
                         "You must first either run or load a simulation to create a list of stocks to track.");
  w.cmdSimulate_Click();
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_FALSE(w.Button("cmdSMART", 0)->isHidden());
}

// The window closed while a variation runs: after a restart, Open finds the
// sweep waiting for Simulate, which writes the rest into the report chosen
// at the start. The winners list then shows the prices the table holds,
// though Open read it while the cut-short variation had them reset.
TEST_F(TradeSweepTest, ClosedDuringASweepItResumesAfterARestartIntoItsReport) {
  ui::frmMain& w = SweepWindow();
  w.Check("chkCalculateResults")->SetValue(1);
  const std::string straight = rt::AppPath("\\Reports\\straight.csv").string();
  AcceptSweep(*scripted, 4, straight);
  w.OutputTradeVariations();
  const std::string report = rt::AppPath("\\Reports\\sweep2.csv").string();
  AcceptSweep(*scripted, 4, report);
  scripted->OnDoEvents([&](int) {
    if (w.Label("Label1", 4)->text() == "2 of 4" && !w.objResearch->StopProcess()) w.close();
  });
  const std::string simulationFile = w.strSimFilePath;
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  ASSERT_EQ(w.objResearch, nullptr);  // the program ended

  window.reset();
  ui::frmMain& again = LoadedWindow();
  scripted->AnswerOpenFile(simulationFile, "Open Simulation");
  again.Menu("mnuOpenSim")->trigger();
  EXPECT_EQ(again.tabResearch->currentIndex(), 1);
  EXPECT_TRUE(again.blnTradeSMART);
  EXPECT_EQ(again.Label("lblStatus", 1)->text(), "S.M.A.R.T. ENABLED for Trading!");  // as the flag says
  EXPECT_FALSE(again.tabResearch->isEnabled());
  EXPECT_TRUE(again.cmdSimulate->isEnabled());
  EXPECT_EQ(again.Label("lblCurrStock", 1)->text(), "Processing Paused");
  EXPECT_EQ(ReportLines(report).size(), 2u);  // nothing ran

  again.cmdSimulate_Click();
  EXPECT_EQ(again.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(again.Label("Label1", 4)->text(), "4 of 4");
  EXPECT_EQ(ReportLines(report), ReportLines(straight));
  int reset = 0;
  for (int row = 0; row < ui::ResultsWindow().lvwWinners->Count(); ++row)
    reset += ui::ResultsWindow().lvwWinners->Text(row, ui::frmResults::kWinnersCloseColumn) == "-1";
  EXPECT_EQ(std::to_string(reset), Scalar("SELECT COUNT(*) FROM [sim_trades] WHERE AcquirePrice = -1"));
}
