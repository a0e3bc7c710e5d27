// The portfolio sweep over a small hand-made simulation: the two passes, the
// report, pause and resume, stop, and the count with its limit.
#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "sweep_fixture.h"

namespace {

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
  const std::string report = DefaultPortfolioReport();
  AcceptSweep(*scripted, 5, report);
  w.OutputPortfolioVariations();

  std::vector<std::string> lines = ReportLines(report);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0],
            "Ranked By\tDist MA (0:10)\tVol Change (1:1)\tPrice Change (1:1)\tMACD (1:1)\tDist BB (1:1)\t"
            "RSI Change (1:1)\tDJI MA (1:1)\tDJI RSI (1:1)\tNAS MA (1:1)\tNAS RSI (1:1)\tWin/Loss\tShort/Long\t"
            "Avg Hold\tBalance\tAvg. Ret.\tComp. Ret.");
  const char* ranges[] = {"0 to 10", "5 to 10", "10 to 10", "0 to 5", "0 to 0"};
  for (int i = 0; i < 5; ++i) {
    std::vector<std::string> cells = ReportCells(lines[i + 1]);
    ASSERT_EQ(cells.size(), 17u);
    EXPECT_EQ(cells[0], "%MA");
    EXPECT_EQ(cells[1], ranges[i]);
    for (int c = 2; c <= 10; ++c) EXPECT_EQ(cells[c], "") << c;  // their filters are off
  }
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "5 of 5");
  EXPECT_EQ(w.pbProgress->maximum(), 5);

  // Normal end: the swept range reads as typed, the row is cleared, the report opened.
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "0");
  EXPECT_EQ(w.Text("txtPercDiff", 1)->text(), "10");
  // A range that is not swept walks its empty Min as 1 in pass 0 and its Max
  // as 1 in pass 1; pass 1 writes the empty Min back, the Max stays.
  EXPECT_EQ(w.Text("txtVolChange", 0)->text(), "");
  EXPECT_EQ(w.Text("txtVolChange", 1)->text(), "1");
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

TEST_F(SweepWindowTest, AfterARestartAResumedSweepWritesToItsProposedReport) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  AcceptSweep(*scripted, 5, rt::AppPath("\\Reports\\mine.csv").string());
  scripted->OnDoEvents([&](int) {
    if (w.Label("lblCurrStock", 1)->text() == "4 of 5" && !w.objResearch->PauseProcess()) w.cmdPauseSim_Click();
  });
  w.OutputPortfolioVariations();
  scripted->OnDoEvents(nullptr);
  ASSERT_TRUE(w.IsPaused());
  EXPECT_EQ(w.lngPortPauseRev, 1);  // paused in the second pass

  // The report path lived in memory only.
  w.strPortfolioReportPath.clear();
  w.objResearch->PauseProcess(false);
  w.OutputPortfolioVariations();
  std::vector<std::string> lines = ReportLines(DefaultPortfolioReport());
  ASSERT_EQ(lines.size(), 2u);  // a header for the new file, then no variation of pass 0
  EXPECT_EQ(ReportCells(lines[0])[0], "Ranked By");
  EXPECT_EQ(ReportCells(lines[1])[1], "0 to 0");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "5 of 5");
}

TEST_F(SweepWindowTest, StopKeepsTheRowsWrittenAndClearsThePauseRow) {
  ui::frmMain& w = PortfolioWindow();
  SweepDistanceFromMA(w);
  const std::string report = DefaultPortfolioReport();
  AcceptSweep(*scripted, 5, report);
  scripted->OnDoEvents([&](int) {
    if (w.Label("lblCurrStock", 1)->text() == "2 of 5" && !w.objResearch->StopProcess()) {
      scripted->AnswerMsgBox(user::kAnswerYes, "Do you wish to stop this process before it completes?");
      w.cmdStopSim_Click();
    }
  });
  w.OutputPortfolioVariations();
  scripted->OnDoEvents(nullptr);
  EXPECT_EQ(ReportLines(report).size(), 3u);  // the cut-short variation keeps its row
  EXPECT_FALSE(w.IsPaused());
  EXPECT_EQ(w.Text("txtPercDiff", 0)->text(), "0");
  EXPECT_EQ(scripted->OpenedFiles(), std::vector<std::string>{report});
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
  EXPECT_EQ(count, 1);

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

