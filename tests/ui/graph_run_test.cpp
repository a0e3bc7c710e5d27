// The Graph button after real runs on the shipped data: when it is usable,
// and what the account and index charts then show.
#include "market_data/calendar_and_log.h"
#include "run_fixture.h"
#include "simulation/portfolio_records.h"
#include "ui/chart_window.h"

TEST_F(RunWindowTest, AfterAPortfolioRunTheGraphChartsTheAccountAndTheIndex) {
  ui::frmMain& w = ReadyWindow("AAPL");
  EXPECT_FALSE(w.cmdGraph->isEnabled());
  ChooseSimulationFile("graphed");
  w.cmdSimulate_Click();
  ASSERT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_TRUE(w.cmdGraph->isEnabled());
  ASSERT_GE(udtBalanceHistory.size(), 2u);

  w.cmdGraph->click();
  ui::frmChart* chart = w.LoadedChartWindow();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->mscChart->RowCount(), static_cast<int>(udtBalanceHistory.size()));
  EXPECT_EQ(chart->mscChart->Value(1, 2), udtBalanceHistory[1].dblValue);
  // The Dow, one row per calendar day up to the last trading day of the replay.
  rt::Date first = udtBalanceHistory.front().datDate;
  rt::Date last = udtBalanceHistory.back().datDate;
  PreviousTradingDay(last);
  ASSERT_TRUE(chart->mscChart2->isVisible());
  EXPECT_EQ(chart->mscChart2->RowCount(), static_cast<int>(last - first) + 1);
  EXPECT_EQ(chart->mscChart2->RowLabel(1), ui::MonthDayText(first));
  EXPECT_GT(chart->mscChart2->Value(1, 1), 20000);  // the Dow in 2019
  chart->OKButton_Click();

  // A Portfolio run from its tab leaves the button usable too.
  w.tabResearch->setCurrentIndex(2);
  w.cmdSimulate_Click();
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_TRUE(w.cmdGraph->isEnabled());
}

TEST_F(RunWindowTest, AStoppedSelectRunLeavesTheGraphUsable) {
  ui::frmMain& w = ReadyWindow("AAPL", false);
  scripted->AnswerSaveFile("", "Save Simulation");
  w.cmdSimulate_Click();
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_TRUE(w.cmdGraph->isEnabled());
}
