#pragma once
// A report-style list: rows of texts under column headers, sorted by a key
// column as text when a header is clicked (the order toggles on every click),
// unsorted again when the program switches sorting off.
#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <unordered_map>
#include <vector>

namespace ui {

class ListView : public QTreeWidget {
 public:
  struct Column {
    const char* header;
    int widthTwips;  // 0 hides the column
  };

  ListView(const std::vector<Column>& columns, QWidget* parent = nullptr);

  // Removes every row and switches sorting off.
  void Clear();
  // Switches sorting off (the rows keep their current order).
  void SetUnsorted() { sorted_ = false; }
  bool Sorted() const { return sorted_; }

  // Appends a row (in its sorted place while sorting is on); returns it.
  QTreeWidgetItem* AddRow(const QStringList& texts);
  // Rows can be found by the texts of these columns (the first row of a key wins).
  void SetKeyColumns(std::vector<int> columns) { keyColumns_ = std::move(columns); }
  // The row whose key columns hold these texts; nullptr when there is none.
  QTreeWidgetItem* FindByKey(const QStringList& key) const;
  int Count() const { return topLevelItemCount(); }
  // The text of a cell, "" outside the list.
  QString Text(int row, int column) const;
  // Sets a cell of an existing row; false when the row does not exist.
  bool SetText(int row, int column, const QString& text);

  // A header click: sort by the column (or the hidden column that stands for
  // it), the order reversed from the last sort.
  void SortByColumnClick(int column);
  // Which column a click on a column sorts by (a date column's hidden twin).
  std::function<int(int)> sortColumnFor = [](int column) { return column; };

  // Shares `width` pixels among the visible columns in proportion to their
  // design widths, so that all of them show without scrolling. Nothing
  // changes when a column would get 100 twips or less.
  void FitColumns(int width);

  static constexpr int kTwipsPerPixel = 15;

 protected:
  // The columns follow the list's width; a cell too narrow for its text
  // shows the whole text in its tool tip.
  bool viewportEvent(QEvent* event) override;

 private:
  bool CellCut(const QModelIndex& cell) const;
  bool Less(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
  void SortRows();

  QString KeyOf(const QStringList& texts) const;

  std::vector<int> designTwips_;
  std::vector<int> keyColumns_;
  std::unordered_map<QString, QTreeWidgetItem*> byKey_;
  bool sorted_ = false;
  int sortKey_ = 0;
  Qt::SortOrder sortOrder_ = Qt::DescendingOrder;  // the first click sorts ascending
};

}  // namespace ui
