// The portfolio sweep over a small hand-made simulation: the two passes, the
// report, pause and resume, stop, and the count with its limit.
#include <filesystem>
#include <functional>

#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "sweep_fixture.h"

namespace {

namespace fs = std::filesystem;

// Dist MA swept from 0 to 10 by 5: five variations in the two passes.
void SweepDistanceFromMA(ui::frmMain& w) {
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("0");
  w.Text("txtPercDiff", 1)->setText("10");
  w.Text("txtStep", 0)->setText("5");
}

// The result cells of a row: the six portfolio result labels.
std::vector<std::string> ResultCells(const std::vector<std::string>& cells) {
  return std::vector<std::string>(cells.begin() + 11, cells.end());
}

std::vector<std::string> ResultLabels(ui::frmMain& w) {
  std::vector<std::string> labels;
  for (int i : {7, 2, 4, 15, 3, 11}) labels.push_back(w.Label("lblResult", i)->text().toStdString());
  return labels;
}

}  // namespace

TEST_F(SweepWindowTest, ASweptRangeRaisesItsLowerBoundThenLowersItsUpperBound) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  // Ranges that are not swept are never written and mean what they mean in
  // an ordinary run: an enabled filter with an empty Min, and a Max that is
  // no number in a filter that is off.
  w.Check("chkResult", 3)->SetValue(1);
  w.Text("txtPriceChange", 1)->setText("5");
  w.Text("txtMACDMin", 1)->setText("-");
  const std::string report = DefaultPortfolioReport();
  AcceptSweep(*scripted, 5, report);
  w.OutputPortfolioVariations();

  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "Ranked By\tDist MA (0:10)\tVol Change (:)\tPrice Change (:5)\tMACD (:-)\tDist BB (:)\t"
                      "RSI Change (:)\tDJI MA (:)\tDJI RSI (:)\tNAS MA (:)\tNAS RSI (:)\tWin/Loss\tShort/Long\t"
                      "Avg Hold\tBalance\tAvg. Ret.\tComp. Ret.");
  const char* ranges[] = {"0 to 10", "5 to 10", "10 to 10", "0 to 5", "0 to 0"};
  for (int i = 0; i < 5; ++i) {
    std::vector<std::string> cells = ReportCells(lines[i + 1]);
    ASSERT_EQ(cells.size(), 17u);
    EXPECT_EQ(cells[0], "%MA");
    EXPECT_EQ(cells[1], ranges[i]);
    EXPECT_EQ(cells[3], " to 5");
    for (int c : {2, 4, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(cells[c], "") << c;  // their filters are off
  }
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "5 of 5");
  EXPECT_EQ(w.pbProgress->maximum(), 5);

  // Normal end: every range reads as typed, the row is cleared, the report opened.
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "0");
  EXPECT_EQ(w.Text("txtPercDiff", 1)->text(), "10");
  EXPECT_EQ(w.Text("txtPriceChange", 0)->text(), "");
  EXPECT_EQ(w.Text("txtVolChange", 1)->text(), "");
  EXPECT_FALSE(w.IsPaused());
  EXPECT_EQ(scripted->OpenedFiles(), std::vector<std::string>{report});

  // Each row holds what an ordinary Portfolio run with its bounds shows.
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= 5; ++i) rows.push_back(ResultCells(ReportCells(lines[i])));
  EXPECT_NE(rows[0], rows[2]);  // the bounds matter on this table
  for (int i : {0, 2, 3}) {
    w.Text("txtPercDiff", 0)->setText(i == 2 ? "10" : "0");
    w.Text("txtPercDiff", 1)->setText(i == 3 ? "5" : "10");
    w.LoadParms();
    w.SimResults(true, Parms().dblStartInvestment, false);
    EXPECT_EQ(ResultLabels(w), rows[i]) << i;
    EXPECT_EQ(w.Label("Label1", 4)->text(), "# 14 of 14");  // the day display ends on the last day
  }
}

TEST_F(SweepWindowTest, ListsAreWalkedInBothPasses) {
  ui::frmMain& w = PortfolioWindow();
  w.Check("chkBuildOption", 10)->SetValue(1);
  std::string report = DefaultPortfolioReport();
  AcceptSweep(*scripted, 12, report);
  w.OutputPortfolioVariations();
  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 13u);
  const char* criteria[] = {"%MA", "MACD", "PriceChange", "VolChange", "%MA * VolCh", "Rev%MA"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(ReportCells(lines[i + 1])[0], criteria[i % 6]) << i;
  EXPECT_EQ(w.Combo("cboBuyCriteria")->currentIndex(), 0);  // a swept list ends on its first entry
}

TEST_F(SweepWindowTest, APausedSweepResumesAtTheVariationItHadNotRun) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  const std::string chosen = rt::AppPath("\\Reports\\mine.csv").string();
  AcceptSweep(*scripted, 5, chosen);
  scripted->OnDoEvents([&](int) {
    if (w.Label("lblCurrStock", 1)->text() == "2 of 5" && !w.objResearch->PauseProcess()) w.cmdPauseSim_Click();
  });
  w.OutputPortfolioVariations();
  scripted->OnDoEvents(nullptr);

  // Variation 2 ran to its end; variation 3 is stored, not run.
  ASSERT_EQ(ReportLines(chosen).size(), 3u);
  EXPECT_TRUE(w.IsPaused());
  EXPECT_EQ(w.varPortPause[3], 10);
  EXPECT_EQ(w.varPortCount, 3);
  EXPECT_EQ(w.lngPortPauseRev, 0);
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "0");  // restored all the same
  EXPECT_TRUE(scripted->OpenedFiles().empty());

  // The run control clears the flags when the run ends; the next sweep asks
  // nothing and appends the rest without a header.
  w.objResearch->PauseProcess(false);
  w.OutputPortfolioVariations();
  std::vector<std::string> lines = ReportLines(chosen);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(ReportCells(lines[3])[1], "10 to 10");
  EXPECT_EQ(ReportCells(lines[5])[1], "0 to 0");
  EXPECT_FALSE(w.IsPaused());
  EXPECT_EQ(scripted->OpenedFiles(), std::vector<std::string>{chosen});
}

TEST_F(SweepWindowTest, AfterARestartAResumedSweepWritesToTheReportItChose) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  const std::string chosen = rt::AppPath("\\Reports\\mine.csv").string();
  AcceptSweep(*scripted, 5, chosen);
  scripted->OnDoEvents([&](int) {
    if (w.Label("lblCurrStock", 1)->text() == "4 of 5" && !w.objResearch->PauseProcess()) w.cmdPauseSim_Click();
  });
  w.OutputPortfolioVariations();
  scripted->OnDoEvents(nullptr);
  ASSERT_TRUE(w.IsPaused());
  EXPECT_EQ(w.lngPortPauseRev, 1);  // paused in the second pass

  w.strPortfolioReportPath.clear();  // as after a restart
  w.objResearch->PauseProcess(false);
  w.OutputPortfolioVariations();
  std::vector<std::string> lines = ReportLines(chosen);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(ReportCells(lines[0])[1], "Dist MA (0:10)");
  EXPECT_EQ(ReportCells(lines[5])[1], "0 to 0");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "5 of 5");
  EXPECT_FALSE(std::filesystem::exists(DefaultPortfolioReport()));
}

// A Pause, a Stop or an error at variation k of n, each through Simulate:
// the fields read as typed, the report holds the rows of the variations that
// ran to their end, and the next Simulate writes the rest, none twice, also
// when a Step was changed after the Stop and the plan resumed as it was.
class InterruptedPortfolioSweep : public SweepWindowTest, public ::testing::WithParamInterface<InterruptCase> {};

TEST_P(InterruptedPortfolioSweep, KeepsItsFieldsAndResumesWithoutLosingOrRepeatingARow) {
  const InterruptCase& c = GetParam();
  const std::vector<std::string> all = {"-10 to 10", "0 to 10", "10 to 10", "-10 to 0", "-10 to -10"};
  ui::frmMain& w = PortfolioWindow();
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("-10");
  w.Text("txtPercDiff", 1)->setText("10");
  w.Text("txtStep", 0)->setText("10");
  w.Combo("cboSelectMarket")->setCurrentIndex(0);
  w.Combo("cboSelectPositioning")->setCurrentIndex(0);
  const std::string report = DefaultPortfolioReport();
  AcceptSweep(*scripted, 5, report);
  InterruptSweepAt(*scripted, w, w.Label("lblCurrStock", 1), c, report);
  w.cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);
  RestoreReport(c, report);
  auto ranges = [&] {
    std::vector<std::string> cells;
    for (const std::string& line : ReportLines(report)) cells.push_back(ReportCells(line)[1]);
    return std::vector<std::string>(cells.begin() + 1, cells.end());
  };
  EXPECT_EQ(ranges(), std::vector<std::string>(all.begin(), all.begin() + c.rowsKept));
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "-10");
  EXPECT_EQ(w.Text("txtPercDiff", 1)->text(), "10");
  EXPECT_EQ(w.Text("txtVolChange", 0)->text(), "");
  EXPECT_TRUE(w.IsPaused());
  EXPECT_TRUE(w.cmdSimulate->isEnabled());

  if (c.edited != ThenEdited::kNo) {
    w.Text("txtStep", 0)->setText("5");
    if (c.edited == ThenEdited::kAfreshDeclinedThenResumed) {
      scripted->AnswerMsgBox(user::kAnswerNo, "have changed since this sweep stopped");
      scripted->AnswerMsgBox(user::kAnswerNo, "This report will yield");
      w.cmdSimulate_Click();
      EXPECT_EQ(ranges(), std::vector<std::string>(all.begin(), all.begin() + c.rowsKept));
      EXPECT_TRUE(w.IsPaused());
    }
    AnswerChangedPlan(*scripted, c.edited);
  }
  w.cmdSimulate_Click();  // a resume asks nothing
  EXPECT_EQ(ranges(), all);
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "-10");
  EXPECT_EQ(w.Text("txtStep", 0)->text(), "10");
  EXPECT_FALSE(w.IsPaused());
}

// Paused at variation 1, the stored variation 2 has every loop value at 0;
// the error comes in the second pass.
INSTANTIATE_TEST_SUITE_P(PauseStopError, InterruptedPortfolioSweep,
                         ::testing::Values(InterruptCase{"Pause", Interrupt::kPause, "1 of 5", 1},
                                           InterruptCase{"Stop", Interrupt::kStop, "2 of 5", 1},
                                           InterruptCase{"Error", Interrupt::kError, "4 of 5", 3},
                                           InterruptCase{"StopEditResumeAsPlanned", Interrupt::kStop, "2 of 5", 1,
                                                         ThenEdited::kResumedAsPlanned},
                                           InterruptCase{"StopEditDeclineAfreshThenResume", Interrupt::kStop, "2 of 5",
                                                         1, ThenEdited::kAfreshDeclinedThenResumed}),
                         InterruptCaseName);

// What would fail every variation alike ends a sweep with one message: a
// refusal before the first variation (nothing stored), or a stage that fails
// (its row is not written and the pause row names it for the resume).
namespace {

struct CannotRunCase {
  const char* name;
  int tab;  // 1 the trade sweep, 2 the portfolio sweep
  std::function<void(ui::frmMain&)> spoil;
  std::string message;
  bool refused;  // before the count's question
};
void PrintTo(const CannotRunCase& c, std::ostream* os) { *os << c.name; }
class SweepThatCannotRun : public SweepWindowTest, public ::testing::WithParamInterface<CannotRunCase> {};

}  // namespace

TEST_P(SweepThatCannotRun, EndsWithOneMessage) {
  const CannotRunCase& c = GetParam();
  ui::frmMain& w = PortfolioWindow();
  w.tabResearch->setCurrentIndex(c.tab);
  if (c.tab == 1) {
    w.Check("chkBuildOption", 1)->SetValue(1);
    w.Text("txtLifeofOrder", 1)->setText("2");
    w.Text("txtLifeofOrderStep")->setText("1");
  } else {
    SweepDistanceFromMA(w);
  }
  c.spoil(w);
  const std::string report = c.tab == 1 ? DefaultTradeReport() : DefaultPortfolioReport();
  if (!c.refused) AcceptSweep(*scripted, c.tab == 1 ? 2 : 5, report);
  scripted->AnswerMsgBox(user::kAnswerOK, c.message);
  const size_t before = scripted->MessageTexts().size();
  w.cmdSimulate_Click();

  std::vector<std::string> shown = scripted->MessageTexts();
  EXPECT_NE(shown.back().find(c.message), std::string::npos) << shown.back();
  EXPECT_EQ(shown.size() - before, c.refused ? 1u : 2u);
  EXPECT_EQ(fs::exists(report) ? ReportLines(report).size() : 0u, c.refused ? 0u : 1u);  // the header at most
  EXPECT_EQ(w.IsPaused(), !c.refused);
  EXPECT_EQ(c.tab == 1 ? w.lngTradeCount : w.varPortCount, c.refused ? 0 : 1);
  EXPECT_EQ(w.Text(c.tab == 1 ? "txtLifeofOrder" : "txtPercDiff", 0)->text(), c.tab == 1 ? "1" : "0");
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_TRUE(w.tabResearch->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    RefusedOrFailed, SweepThatCannotRun,
    ::testing::Values(
        CannotRunCase{"EmptyTable", 2, [](ui::frmMain&) { SharedConnection().Execute("DELETE FROM [sim_March]"); },
                      "Simulation Table Is Empty.", true},
        CannotRunCase{"IndicatorPeriod", 1, [](ui::frmMain& w) { w.Text("txtSimOption", 3)->setText("25"); },
                      "Days RSI Based On must be a whole number from 1 to 24 (it is 25).", true},
        CannotRunCase{"ReplayError", 2,
                      [](ui::frmMain&) { SharedConnection().Execute("UPDATE [sim_March] SET Market = NULL"); },
                      "Invalid use of Null", false},
        CannotRunCase{"TradeStageError", 1,
                      [](ui::frmMain&) {
                        SharedConnection().Execute(
                            "CREATE TRIGGER [locked] BEFORE UPDATE ON [sim_March] BEGIN SELECT RAISE(ABORT, "
                            "'The table is locked.'); END");
                      },
                      "The table is locked.", false}),
    [](const ::testing::TestParamInfo<CannotRunCase>& info) { return std::string(info.param.name); });

// The elapsed time of a sweep counts from its first variation: not the time
// its questions stood open (here an hour passes before they are asked).
TEST_F(SweepWindowTest, TheElapsedTimeOfASweepLeavesOutItsQuestions) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  w.Check("chkBuildOption", 1)->SetValue(1);
  w.Text("txtLifeofOrder", 1)->setText("2");
  w.Text("txtLifeofOrderStep")->setText("1");
  for (int tab : {1, 2}) {
    w.tabResearch->setCurrentIndex(tab);
    AcceptSweep(*scripted, tab == 1 ? 2 : 5, tab == 1 ? DefaultTradeReport() : DefaultPortfolioReport());
    scripted->OnDoEvents([&](int) {
      if (w.Label("lblCurrStock", 1)->text() == "Preparing database...") w.datRunStart = rt::Now() - 1.0 / 24;
    });
    w.cmdSimulate_Click();
    scripted->OnDoEvents(nullptr);
    EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete") << tab;
    EXPECT_EQ(w.lblTime->text().toStdString().substr(0, 6), "00:00:") << tab;
  }
}

TEST_F(SweepWindowTest, AppendingWritesNoHeaderAndCancellingWritesNothing) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  const std::string report = DefaultPortfolioReport();
  testsupport::WriteFileBytes(report, "earlier\r\n");
  AcceptSweep(*scripted, 5, report);
  scripted->AnswerMsgBox(user::kAnswerNo, "already exists. Do you wish to overwrite?");
  w.OutputPortfolioVariations();
  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "earlier");
  EXPECT_EQ(ReportCells(lines[1])[1], "0 to 10");

  AcceptSweep(*scripted, 5, report);
  scripted->AnswerMsgBox(user::kAnswerCancel, "already exists.");
  w.OutputPortfolioVariations();
  EXPECT_EQ(ReportLines(report).size(), 6u);
  scripted->AnswerMsgBox(user::kAnswerNo, "This report will yield 5 variations.");
  w.OutputPortfolioVariations();
  EXPECT_EQ(ReportLines(report).size(), 6u);
}

TEST_F(SweepWindowTest, ThePortfolioSweepDoesNotResumeAPausedTradeSweep) {
  ui::frmMain& w = PortfolioWindow();
  w.objResearch->StorePauseCriteria({"1", "2", "0", "3", "4", "5", "6", "7", "4"}, true);
  ASSERT_TRUE(w.IsPaused());
  SweepDistanceFromMA(w);
  AcceptSweep(*scripted, 5, DefaultPortfolioReport());  // asked like any fresh sweep
  w.OutputPortfolioVariations();
  EXPECT_EQ(ReportLines(DefaultPortfolioReport()).size(), 6u);
}

TEST_F(SweepWindowTest, TheCountRefusesMoreThan65000Variations) {
  ui::frmMain& w = PortfolioWindow();
  // One range of 32,501 values: 32,501 + 32,500 variations.
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("0");
  w.Text("txtPercDiff", 1)->setText("32500");
  w.Text("txtStep", 0)->setText("1");
  scripted->AnswerMsgBox(user::kAnswerOK, "This report will yield 65,001 variations. The limit is 65,000.");
  int32_t count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), user::kAnswerNo);
  EXPECT_EQ(count, 65001);

  // Two values of one range and 21,667 of another: 2 * 21,667 + 1 * 21,666.
  w.Text("txtPercDiff", 1)->setText("1");
  w.Check("chkBuildOption", 12)->SetValue(1);
  w.Text("txtVolChange", 0)->setText("0");
  w.Text("txtVolChange", 1)->setText("21666");
  w.Text("txtStep", 1)->setText("1");
  scripted->AnswerMsgBox(user::kAnswerYes, "This report will yield 65000 variations.\r\nDo you wish to continue?");
  count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), user::kAnswerYes);
  EXPECT_EQ(count, 65000);

  // A paused portfolio sweep goes on without a question.
  w.objResearch->StorePauseCriteria({"0", "0", "0", "5", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "3"}, false);
  count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), user::kAnswerYes);
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(SweepWindowTest, TheCountRefusesBoundsItCannotWalk) {
  ui::frmMain& w = PortfolioWindow();
  const char* incorrect = "An incorrect parameter has been entered.";
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("0");
  w.Text("txtPercDiff", 1)->clear();  // pass 0 runs once at 1; pass 1 needs Max - Step
  w.Text("txtStep", 0)->setText("5");
  scripted->AnswerMsgBox(user::kAnswerOK, incorrect);
  int32_t count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), 0);
  EXPECT_EQ(count, 0);  // both passes are set up before anything is counted

  // A zero step would never end its loop; the sweep refuses it the same way.
  w.Text("txtPercDiff", 1)->setText("10");
  w.Text("txtStep", 0)->setText("0");
  scripted->AnswerMsgBox(user::kAnswerOK, incorrect);
  count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), 0);
  // (No market or side is chosen: their loops stand at -1.)
  w.objResearch->StorePauseCriteria({"0", "-1", "-1", "5", "1", "1", "1", "1", "1", "1", "1", "1", "1", "0", "3"},
                                    false);
  scripted->AnswerMsgBox(user::kAnswerOK, incorrect);
  try {
    w.OutputPortfolioVariations();
    ADD_FAILURE() << "a paused sweep with a zero step ran";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Description().substr(0, 40), std::string(incorrect).substr(0, 40));
  }

  // A swept range whose Min lies above its Max gives no variation at all.
  w.ClearPauseCriteria();
  w.Text("txtPercDiff", 0)->setText("20");
  w.Text("txtStep", 0)->setText("5");
  scripted->AnswerMsgBox(user::kAnswerNo, "This report will yield 0 variations.");
  count = 0;
  EXPECT_EQ(w.CountPortfolioVariations(count), user::kAnswerNo);
}

TEST_F(SweepWindowTest, ValuesNearZeroReachTheFieldsAsZero) {
  ui::frmMain& w = PortfolioWindow();
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("-0.3");
  w.Text("txtPercDiff", 1)->setText("0.3");
  w.Text("txtStep", 0)->setText("0.1");
  // The sums of 0.1 stop short of 0.3 going up (0.30000000000000004) and of
  // -0.3 coming down: six values, then five.
  AcceptSweep(*scripted, 11, DefaultPortfolioReport());
  w.OutputPortfolioVariations();
  std::vector<std::string> ranges;
  for (const std::string& line : ReportLines(DefaultPortfolioReport())) ranges.push_back(ReportCells(line)[1]);
  EXPECT_EQ(ranges, (std::vector<std::string>{"Dist MA (-0.3:0.3)", "-0.3 to 0.3", "-0.2 to 0.3", "-0.1 to 0.3",
                                              "0 to 0.3", "0.1 to 0.3", "0.2 to 0.3", "-0.3 to 0.2", "-0.3 to 0.1",
                                              "-0.3 to 0", "-0.3 to -0.1", "-0.3 to -0.2"}));
}
