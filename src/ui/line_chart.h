#pragma once
// LineChart: the windows' two-dimensional line chart. It is filled as a grid:
// rows along the horizontal axis, each with a label, and data columns, each
// drawn as one line; the value axis scales itself or keeps fixed bounds.
// Rows and columns count from 1.
#include <QChartView>
#include <string>
#include <vector>

namespace ui {

struct LineChartData {
  std::vector<std::string> rowLabels;        // one per row
  std::vector<std::vector<double>> columns;  // columns[c][r]: one value per row
  bool autoScale = true;
  double axisMinimum = 0;  // with autoScale false
  double axisMaximum = 0;

  int RowCount() const { return static_cast<int>(rowLabels.size()); }
  int ColumnCount() const { return static_cast<int>(columns.size()); }
};

class LineChart : public QChartView {
 public:
  explicit LineChart(QWidget* parent = nullptr);

  // Replaces what the chart shows. Every column must hold one value per row.
  void SetData(LineChartData data);
  const LineChartData& Data() const { return data_; }

  int RowCount() const { return data_.RowCount(); }
  int ColumnCount() const { return data_.ColumnCount(); }
  // "Subscript out of range" outside the grid.
  const std::string& RowLabel(int row) const;
  double Value(int row, int column) const;

 private:
  void Draw();

  LineChartData data_;
};

}  // namespace ui
