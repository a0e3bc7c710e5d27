#include "ui/chart_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "market_data/calendar_and_log.h"
#include "platform/runtime/error.h"
#include "platform/runtime/rounding.h"
#include "simulation/portfolio_records.h"
#include "ui/handler_guard.h"
#include "ui/index_charts.h"
#include "ui/main_window.h"

namespace ui {

std::string MonthDayText(rt::Date day) { return rt::FormatMMDDYY(day).substr(0, 5); }
std::string MonthDayYearText(rt::Date day) { return rt::FormatMMDDYY(day); }

frmChart::frmChart(frmMain& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
  setObjectName("frmChart");
  setWindowTitle("Simulation Chart");
  setAttribute(Qt::WA_DeleteOnClose);

  mscChart = controls_.Add(new LineChart(this), "mscChart");
  mscChart2 = controls_.Add(new LineChart(this), "mscChart2");
  mscChart->hide();
  mscChart2->hide();
  auto* dji = controls_.Add(new OptionButton("DJI", this), "optShowIndex", 0);
  auto* nasdaq = controls_.Add(new OptionButton("NASDAQ", this), "optShowIndex", 1);
  cmdShowIndex = controls_.Add(new QPushButton("Show Index", this), "cmdShowIndex");
  OKButton = controls_.Add(new QPushButton("OK", this), "OKButton");
  dji->SetValue(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(dji);
  buttons->addWidget(nasdaq);
  buttons->addWidget(cmdShowIndex);
  buttons->addStretch();
  buttons->addWidget(OKButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mscChart, 1);
  layout->addWidget(mscChart2, 1);
  layout->addLayout(buttons);
  resize(820, 640);

  connect(cmdShowIndex, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdShowIndex_Click(); }); });
  connect(OKButton, &QPushButton::clicked, this, [this] { RunHandler([this] { OKButton_Click(); }); });
  for (int index = 0; index <= 1; ++index)
    connect(optShowIndex(index), &QRadioButton::toggled, this, [this, index](bool checked) {
      if (checked) RunHandler([this, index] { optShowIndex_Click(index); });
    });

  cmdShowIndex_Click();
}

void frmChart::cmdShowIndex_Click() {
  try {
    DrawIndexChart();
  } catch (const std::exception& error) {
    LogError(ErrorText(error));
  }
}

void frmChart::optShowIndex_Click(int) { cmdShowIndex_Click(); }

void frmChart::OKButton_Click() { close(); }

void frmChart::closeEvent(QCloseEvent* event) {
  unloaded_ = true;
  QWidget::closeEvent(event);
}

void frmChart::DrawIndexChart() {
  std::string symbol = optShowIndex(0)->Value() ? "^DJI" : "^IXIC";
  if (udtBalanceHistory.empty()) rt::RaiseSubscript();  // no portfolio built yet
  rt::Date start = udtBalanceHistory.front().datDate;
  rt::Date end = udtBalanceHistory.back().datDate;
  owner_.LoadIndexData(symbol, start, end);

  const std::vector<ChartPoint>& series = symbol == "^DJI" ? udtDJIChart : udtNASDAQChart;
  if (series.empty()) rt::RaiseSubscript();
  double highest = rt::Round(series.front().dblValue);
  double lowest = highest;
  for (const ChartPoint& point : series) {
    if (point.dblValue > highest) highest = rt::Round(point.dblValue);
    if (point.dblValue < lowest) lowest = rt::Round(point.dblValue);
  }

  // Row 1 is the earliest day, the last row the latest.
  LineChartData data;
  data.columns.assign(1, {});
  for (auto point = series.rbegin(); point != series.rend(); ++point) {
    data.rowLabels.push_back(symbol == "^DJI" ? MonthDayText(point->datDate) : MonthDayYearText(point->datDate));
    data.columns[0].push_back(point->dblValue);
  }
  data.autoScale = false;
  data.axisMaximum = highest;
  data.axisMinimum = lowest;
  mscChart2->SetData(std::move(data));
  mscChart2->setVisible(true);
}

}  // namespace ui
