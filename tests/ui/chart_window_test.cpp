// The account chart behind the Graph button, the index close series, and the
// chart window's index chart, on index history written into the window's
// database.
#include "ui/chart_window.h"

#include <QCategoryAxis>
#include <QLineSeries>
#include <QValueAxis>

#include "market_data/calendar_and_log.h"
#include "market_data/database_connection.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "simulation/portfolio_records.h"
#include "support/engine_test_bed.h"
#include "ui/index_charts.h"
#include "window_fixture.h"

namespace {

using testsupport::Day;

constexpr const char* kNoPortfolio =
    "Chart not available. You must build a portfolio before you can chart the results.";

// A close that differs from day to day and ends in .5, so that the axis
// bounds show their half-to-even rounding: 1000.5 on 1 January 2001.
double CloseOn(rt::Date day) { return 1000.5 + (day - Day(2001, 1, 1)); }

ChartPoint Point(rt::Date day, double value) { return ChartPoint{value, day}; }

DayRecord Record(rt::Date day, const std::string& close) {
  DayRecord record;
  record.datDamnDate = day;
  record.strClose.Assign(close);
  return record;
}

class ChartTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    udtBalanceHistory.clear();  // no portfolio run yet
  }
  void TearDown() override {
    udtBalanceHistory.clear();
    blnLogging = false;
    WindowTest::TearDown();
  }

  // Every weekday of the first half of 2001 (enough for the look-back).
  void StoreIndex(const std::string& symbol) {
    window->objResearch->CreateTable(symbol);
    for (rt::Date d = Day(2001, 1, 2); d <= Day(2001, 6, 29); d = d + 1)
      if (d.Weekday() != 1 && d.Weekday() != 7)
        SharedConnection().Execute("INSERT INTO [" + symbol + "] (DamnDate, [Open], High, Low, [Close]) VALUES (#" +
                                   rt::FormatShortDate(d) + "#, 1, 2, 0.5, " + rt::FormatNumber(CloseOn(d)) + ")");
  }

  // An account history whose first and last days are the given ones.
  void History(rt::Date first, rt::Date last) { udtBalanceHistory = {Point(first, 15000), Point(last, 15100)}; }

  std::vector<ChartPoint> Load(const std::string& symbol, rt::Date start, rt::Date end) {
    std::string s = symbol;
    window->LoadIndexData(s, start, end);
    return s == "^DJI" ? ui::udtDJIChart : ui::udtNASDAQChart;
  }
};

}  // namespace

TEST_F(ChartTest, TheGraphButtonChartsTheBalanceWithAFlatLineAtTheSecondDay) {
  ui::frmMain& w = LoadedWindow();
  size_t messages = scripted->MessageTexts().size();
  udtBalanceHistory = {Point(Day(2019, 1, 2), 15000), Point(Day(2019, 1, 3), 15020.5), Point(Day(2019, 1, 4), 14990.5),
                       Point(Day(2019, 1, 7), 15101.5)};
  w.cmdGraph_Click();

  ui::frmChart* chart = w.LoadedChartWindow();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->windowTitle(), "Simulation Chart");
  EXPECT_TRUE(chart->isVisible());
  EXPECT_TRUE(chart->mscChart->isVisible());
  ui::LineChart& account = *chart->mscChart;
  ASSERT_EQ(account.RowCount(), 4);
  ASSERT_EQ(account.ColumnCount(), 2);
  EXPECT_EQ(account.RowLabel(1), "01/02");
  EXPECT_EQ(account.RowLabel(4), "01/07");
  // Whole numbers, halves to the even one.
  EXPECT_EQ(account.Value(2, 1), 15020);
  EXPECT_EQ(account.Value(3, 1), 14990);
  EXPECT_EQ(account.Value(4, 1), 15102);
  for (int row = 1; row <= 4; ++row) EXPECT_EQ(account.Value(row, 2), 15020.5);
  EXPECT_FALSE(account.Data().autoScale);
  EXPECT_EQ(account.Data().axisMinimum, 14990);
  EXPECT_EQ(account.Data().axisMaximum, 15102);
  EXPECT_THROW(account.Value(5, 1), rt::Error);

  // The drawing: two lines over the rows, the value axis at the bounds.
  QChart* drawing = account.chart();
  ASSERT_EQ(drawing->series().size(), 2);
  EXPECT_EQ(static_cast<QLineSeries*>(drawing->series()[0])->count(), 4);
  auto* valueAxis = qobject_cast<QValueAxis*>(drawing->axes(Qt::Vertical).value(0));
  ASSERT_NE(valueAxis, nullptr);
  EXPECT_EQ(valueAxis->min(), 14990);
  EXPECT_EQ(valueAxis->max(), 15102);
  EXPECT_EQ(scripted->MessageTexts().size(), messages);
}

TEST_F(ChartTest, WithoutTwoSimulatedDaysThereIsNoChart) {
  ui::frmMain& w = LoadedWindow();
  scripted->AnswerMsgBox(user::kAnswerOK, kNoPortfolio);
  w.cmdGraph_Click();
  EXPECT_EQ(w.LoadedChartWindow(), nullptr);

  udtBalanceHistory = {Point(Day(2019, 1, 2), 15000), Point(Day(2019, 1, 3), 15050)};
  w.cmdGraph_Click();
  ASSERT_NE(w.LoadedChartWindow(), nullptr);
  EXPECT_EQ(w.LoadedChartWindow()->mscChart->RowCount(), 2);
  EXPECT_EQ(w.LoadedChartWindow()->mscChart->Value(1, 2), 15050);

  // A portfolio of one simulated day: the message, and the open chart is hidden.
  udtBalanceHistory.resize(1);
  scripted->AnswerMsgBox(user::kAnswerOK, kNoPortfolio);
  w.cmdGraph_Click();
  ASSERT_NE(w.LoadedChartWindow(), nullptr);
  EXPECT_FALSE(w.LoadedChartWindow()->isVisible());
}

TEST_F(ChartTest, OkUnloadsTheChartAndTheNextGraphLoadsItAgain) {
  ui::frmMain& w = LoadedWindow();
  udtBalanceHistory = {Point(Day(2019, 1, 2), 15000), Point(Day(2019, 1, 3), 15050)};
  w.cmdGraph_Click();
  ui::frmChart* first = w.LoadedChartWindow();
  ASSERT_NE(first, nullptr);
  w.cmdGraph_Click();
  EXPECT_EQ(w.LoadedChartWindow(), first);  // one window, filled again
  first->OKButton_Click();
  EXPECT_EQ(w.LoadedChartWindow(), nullptr);
  w.cmdGraph_Click();
  EXPECT_NE(w.LoadedChartWindow(), nullptr);
  EXPECT_TRUE(w.LoadedChartWindow()->isVisible());
}

TEST_F(ChartTest, TheIndexSeriesHasOneDayPerCalendarDayLatestFirst) {
  LoadedWindow();
  StoreIndex("^DJI");
  StoreIndex("^IXIC");

  // Monday 18 June to Sunday 24 June 2001: the end moves back to Friday.
  std::vector<ChartPoint> week = Load("^DJI", Day(2001, 6, 18), Day(2001, 6, 24));
  ASSERT_EQ(week.size(), 5u);
  EXPECT_EQ(week[0].datDate, Day(2001, 6, 22));
  EXPECT_EQ(week[0].dblValue, CloseOn(Day(2001, 6, 22)));
  EXPECT_EQ(week[4].datDate, Day(2001, 6, 18));
  EXPECT_EQ(week[4].dblValue, CloseOn(Day(2001, 6, 18)));

  // Thursday to Saturday: Friday and Thursday.
  std::vector<ChartPoint> shortRange = Load("^DJI", Day(2001, 6, 21), Day(2001, 6, 23));
  ASSERT_EQ(shortRange.size(), 2u);
  EXPECT_EQ(shortRange[0].datDate, Day(2001, 6, 22));
  EXPECT_EQ(shortRange[1].datDate, Day(2001, 6, 21));

  // A weekend inside the range shows the Monday's close; "^IXIC" goes to its own series.
  std::vector<ChartPoint> weekend = Load("^IXIC", Day(2001, 6, 15), Day(2001, 6, 19));
  ASSERT_EQ(weekend.size(), 5u);
  EXPECT_EQ(weekend[2].datDate, Day(2001, 6, 17));
  EXPECT_EQ(weekend[2].dblValue, CloseOn(Day(2001, 6, 18)));
  EXPECT_EQ(weekend[3].dblValue, CloseOn(Day(2001, 6, 18)));
  EXPECT_EQ(weekend[4].dblValue, CloseOn(Day(2001, 6, 15)));
  EXPECT_EQ(ui::udtDJIChart.size(), 2u);  // untouched by the NASDAQ load
}

TEST_F(ChartTest, BuildingTheSeriesFromDayRecords) {
  // Thursday 16 February 2006 to Tuesday 21 February: no record on Monday
  // the 20th (a holiday the calendar does not list), none at the weekend.
  DayRecords days = {Record(Day(2006, 2, 21), "10.5"), Record(Day(2006, 2, 17), "9.75"), Record(Day(2006, 2, 16), "9")};
  std::vector<ChartPoint> chart;
  ui::BuildIndexChart(days, Day(2006, 2, 16), Day(2006, 2, 21), chart);
  std::vector<double> values;
  for (const ChartPoint& point : chart) values.push_back(point.dblValue);
  EXPECT_EQ(values, (std::vector<double>{10.5, 10.5, 10.5, 10.5, 9.75, 9}));

  // The first day walked without a record takes the newest record before it.
  ui::BuildIndexChart(days, Day(2006, 2, 17), Day(2006, 2, 20), chart);
  ASSERT_EQ(chart.size(), 4u);
  EXPECT_EQ(chart[0].dblValue, 9.75);

  // A record after the walk's end (a day the calendar steps back over, yet
  // traded) is passed over instead of holding every day at its close.
  ui::BuildIndexChart(days, Day(2006, 2, 16), Day(2006, 2, 17), chart);
  ASSERT_EQ(chart.size(), 2u);
  EXPECT_EQ(chart[0].dblValue, 9.75);
  EXPECT_EQ(chart[1].dblValue, 9);

  // An end before the start gives no points.
  ui::BuildIndexChart(days, Day(2006, 2, 21), Day(2006, 2, 17), chart);
  EXPECT_TRUE(chart.empty());
}

TEST_F(ChartTest, TheSeriesFailsWhereItsRecordsDoNotReach) {
  std::vector<ChartPoint> chart = {Point(Day(2000, 1, 3), 1)};
  // No record at or before the first day walked.
  EXPECT_THROW(ui::BuildIndexChart({}, Day(2006, 2, 16), Day(2006, 2, 17), chart), rt::Error);
  EXPECT_TRUE(chart.empty());
  // A close that is not a number stops the walk; the points before it stay.
  DayRecords days = {Record(Day(2006, 2, 17), "9.75"), Record(Day(2006, 2, 16), "n/a")};
  try {
    ui::BuildIndexChart(days, Day(2006, 2, 16), Day(2006, 2, 17), chart);
    ADD_FAILURE() << "no error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::kErrTypeMismatch);
  }
  ASSERT_EQ(chart.size(), 1u);
  EXPECT_EQ(chart[0].dblValue, 9.75);
}

TEST_F(ChartTest, TheIndexChartRunsFromTheEarliestDayWithFixedBounds) {
  ui::frmMain& w = LoadedWindow();
  StoreIndex("^DJI");
  StoreIndex("^IXIC");
  History(Day(2001, 6, 18), Day(2001, 6, 24));
  w.cmdGraph_Click();

  ui::frmChart& chart = *w.LoadedChartWindow();
  EXPECT_TRUE(chart.optShowIndex(0)->Value());
  EXPECT_TRUE(chart.mscChart2->isVisible());
  ui::LineChart& index = *chart.mscChart2;
  ASSERT_EQ(index.RowCount(), 5);
  ASSERT_EQ(index.ColumnCount(), 1);
  EXPECT_EQ(index.RowLabel(1), "06/18");
  EXPECT_EQ(index.Value(1, 1), CloseOn(Day(2001, 6, 18)));
  EXPECT_EQ(index.RowLabel(5), "06/22");
  EXPECT_EQ(index.Value(5, 1), CloseOn(Day(2001, 6, 22)));
  // 1168.5 to 1172.5, each bound rounded when taken: 1171.5 lifts the
  // minimum to 1172 before 1170.5 and 1168.5 bring it down.
  EXPECT_FALSE(index.Data().autoScale);
  EXPECT_EQ(index.Data().axisMaximum, 1172);
  EXPECT_EQ(index.Data().axisMinimum, 1168);

  // Choosing NASDAQ redraws at once, for the same days, with the year in the labels.
  chart.optShowIndex(1)->SetValue(true);
  ASSERT_EQ(index.RowCount(), 5);
  EXPECT_EQ(index.RowLabel(1), "06/18/01");
  EXPECT_EQ(index.RowLabel(5), "06/22/01");
  EXPECT_EQ(ui::udtNASDAQChart.size(), 5u);

  // A series of one day: one row, both bounds that day's rounded close.
  History(Day(2001, 6, 20), Day(2001, 6, 20));
  chart.cmdShowIndex_Click();
  ASSERT_EQ(index.RowCount(), 1);
  EXPECT_EQ(index.Data().axisMaximum, 1170);
  EXPECT_EQ(index.Data().axisMinimum, 1170);
}

TEST_F(ChartTest, AFailedDrawIsLoggedAndTheChartKeepsWhatItShowed) {
  ui::frmMain& w = LoadedWindow();
  size_t messages = scripted->MessageTexts().size();
  blnLogging = true;
  // Before any portfolio: the window opens, draws nothing and says nothing.
  ui::frmChart& chart = w.ChartWindow();
  EXPECT_FALSE(chart.mscChart2->isVisible());
  EXPECT_EQ(chart.mscChart2->RowCount(), 0);
  EXPECT_NE(ReadText(rt::AppPath("err.log")).find("\tSubscript out of range\r\n"), std::string::npos);

  StoreIndex("^DJI");
  History(Day(2001, 6, 18), Day(2001, 6, 22));
  chart.cmdShowIndex_Click();
  ASSERT_EQ(chart.mscChart2->RowCount(), 5);

  // No NASDAQ history: the DJI chart stays.
  chart.optShowIndex(1)->SetValue(true);
  EXPECT_EQ(chart.mscChart2->RowCount(), 5);
  EXPECT_EQ(chart.mscChart2->RowLabel(1), "06/18");
  EXPECT_EQ(scripted->MessageTexts().size(), messages);
}
