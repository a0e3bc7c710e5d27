#pragma once
// The close series of the two market indices that the chart window draws:
// one point per calendar day of the requested range, the latest day first.
#include <vector>

#include "market_data/day_record.h"
#include "platform/runtime/date.h"
#include "simulation/portfolio_records.h"

namespace ui {

// "^DJI", and any other index symbol (in practice "^IXIC"); written only by
// frmMain::LoadIndexData.
extern std::vector<ChartPoint> udtDJIChart;
extern std::vector<ChartPoint> udtNASDAQChart;

// Walks the calendar from endDate down to startDate and appends one point
// per day to chart (emptied first): a day with a record takes its close; a
// day without one repeats the value of the day after it, and the first day
// walked takes the close of the newest record before it. Records newer than
// the walk's end are passed over. Raises "Subscript out of range" when the
// first day needs a record that is not there and "Type mismatch" for a close
// that is not a number; the points appended until then stay.
void BuildIndexChart(const DayRecords& days, rt::Date startDate, rt::Date endDate, std::vector<ChartPoint>& chart);

}  // namespace ui
