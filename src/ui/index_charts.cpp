// LoadIndexData: the close series of a market index for the chart window,
// built from the index history the engine loads.
#include "ui/index_charts.h"

#include <QString>

#include "market_data/run_parameters.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "ui/main_window.h"

namespace ui {

std::vector<ChartPoint> udtDJIChart;
std::vector<ChartPoint> udtNASDAQChart;

namespace {

constexpr int32_t kErrRunInProgress = rt::kErrInvalidProcedureCall;
constexpr int32_t kErrNoEngine = 91;
constexpr const char* kRunInProgressText = "The index history cannot be loaded while a run is in progress.";

double CloseOf(const DayRecord& day) { return rt::CDbl(day.strClose.Trimmed()); }

}  // namespace

void BuildIndexChart(const DayRecords& days, rt::Date startDate, rt::Date endDate, std::vector<ChartPoint>& chart) {
  chart.clear();
  size_t k = 0;  // the record the walk compares with, newest first
  for (rt::Date d = endDate.DateOnly(); d >= startDate.DateOnly(); d = d - 1) {
    // A record after the walk's end would otherwise never match, and every
    // day would repeat its close.
    while (k < days.size() && days[k].datDamnDate.DateOnly() > d) ++k;
    ChartPoint point;
    point.datDate = d;
    if (k < days.size() && days[k].datDamnDate.DateOnly() == d) {
      point.dblValue = CloseOf(days[k]);
      ++k;
    } else if (chart.empty()) {
      point.dblValue = CloseOf(DayAt(days, static_cast<long>(k)));
    } else {
      point.dblValue = chart.back().dblValue;  // a weekend or holiday: the next trading day's close
    }
    chart.push_back(point);
  }
}

void frmMain::LoadIndexData(std::string& symbol, rt::Date& startDate, rt::Date& endDate) {
  // The load replaces the day records a running stage works on.
  if (RunInProgress()) throw rt::Error(kErrRunInProgress, kRunInProgressText);
  if (!objResearch) throw rt::Error(kErrNoEngine, "Object variable or With block variable not set");
  std::shared_ptr<clsResearch> engine = objResearch;
  int16_t lookBack = Parms().intWinDays;
  engine->LoadData(symbol, startDate, endDate, lookBack);

  const bool dji = QString::fromStdString(symbol).toUpper() == "^DJI";
  BuildIndexChart(dji ? udtDJIDays : udtNASDAQDays, startDate, endDate, dji ? udtDJIChart : udtNASDAQChart);
}

}  // namespace ui
