// The Graph button: the account history of the last portfolio run as a line
// chart, with a flat reference line at the second day's balance.
#include "platform/runtime/rounding.h"
#include "platform/user/user_services.h"
#include "simulation/portfolio_records.h"
#include "ui/chart_window.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr const char* kNoPortfolioMessage =
    "Chart not available. You must build a portfolio before you can chart the results.";

}  // namespace

void frmMain::cmdGraph_Click() {
  const std::vector<ChartPoint>& history = udtBalanceHistory;
  if (history.size() < 2) {
    user::MsgBox(kNoPortfolioMessage, user::kOKOnly);
    if (frmChart* chart = LoadedChartWindow()) chart->hide();
    return;
  }
  double highest = rt::Round(history.front().dblValue);
  double lowest = highest;
  for (const ChartPoint& day : history) {
    highest = std::max(highest, rt::Round(day.dblValue));
    lowest = std::min(lowest, rt::Round(day.dblValue));
  }

  frmChart& chart = ChartWindow();
  LineChartData data;
  data.columns.assign(2, {});
  for (const ChartPoint& day : history) {
    data.rowLabels.push_back(MonthDayText(day.datDate));
    data.columns[0].push_back(rt::Round(day.dblValue));
    data.columns[1].push_back(history[1].dblValue);
  }
  data.autoScale = false;
  data.axisMaximum = highest;
  data.axisMinimum = lowest;
  chart.mscChart->SetData(std::move(data));
  chart.mscChart->setVisible(true);
  chart.show();
  chart.raise();
  chart.activateWindow();
}

}  // namespace ui
