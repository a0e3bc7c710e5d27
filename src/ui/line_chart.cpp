#include "ui/line_chart.h"

#include <QCategoryAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "platform/runtime/error.h"
#include "ui/controls.h"

namespace ui {
namespace {

// The horizontal axis shows at most this many row labels, evenly spread, so
// that a long history stays readable; every row keeps its label.
constexpr int kMostAxisLabels = 10;

}  // namespace

LineChart::LineChart(QWidget* parent) : QChartView(parent) {
  setRenderHint(QPainter::Antialiasing);
  setMinimumHeight(180);
}

void LineChart::SetData(LineChartData data) {
  for (const std::vector<double>& column : data.columns)
    if (static_cast<int>(column.size()) != data.RowCount()) rt::RaiseSubscript();
  data_ = std::move(data);
  Draw();
}

const std::string& LineChart::RowLabel(int row) const {
  if (row < 1 || row > RowCount()) rt::RaiseSubscript();
  return data_.rowLabels[static_cast<size_t>(row - 1)];
}

double LineChart::Value(int row, int column) const {
  if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount()) rt::RaiseSubscript();
  return data_.columns[static_cast<size_t>(column - 1)][static_cast<size_t>(row - 1)];
}

void LineChart::Draw() {
  // A fresh chart each time: axes taken off a chart in place leave their
  // labels drawn behind the new ones.
  auto* drawing = new QChart;
  drawing->legend()->hide();
  QChart* previous = chart();
  setChart(drawing);
  delete previous;
  const int rows = RowCount();
  if (rows == 0) return;

  auto* rowAxis = new QCategoryAxis;
  rowAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const int stride = std::max(1, (rows + kMostAxisLabels - 1) / kMostAxisLabels);
  for (int r = 0; r < rows; r += stride) {
    // The axis refuses a label it holds already (the same day of another
    // year): an invisible suffix keeps each one distinct.
    QString label = Q(data_.rowLabels[static_cast<size_t>(r)]) + QString(r / stride, QChar(0x200B));
    rowAxis->append(label, r);
  }
  rowAxis->setRange(rows == 1 ? -1 : 0, rows == 1 ? 1 : rows - 1);

  auto* valueAxis = new QValueAxis;
  double low = data_.axisMinimum, high = data_.axisMaximum;
  if (data_.autoScale) {
    low = high = data_.columns.empty() ? 0 : data_.columns.front().front();
    for (const std::vector<double>& column : data_.columns)
      for (double value : column) {
        low = std::min(low, value);
        high = std::max(high, value);
      }
  }
  if (high <= low) {  // one value: give the line room to show
    low -= 1;
    high = low + 2;
  }
  valueAxis->setRange(low, high);
  valueAxis->setLabelFormat("%.0f");
  if (data_.autoScale) valueAxis->applyNiceNumbers();

  drawing->addAxis(rowAxis, Qt::AlignBottom);
  drawing->addAxis(valueAxis, Qt::AlignLeft);
  for (const std::vector<double>& column : data_.columns) {
    auto* line = new QLineSeries;
    for (int r = 0; r < rows; ++r) line->append(r, column[static_cast<size_t>(r)]);
    drawing->addSeries(line);
    line->attachAxis(rowAxis);
    line->attachAxis(valueAxis);
  }
}

}  // namespace ui
