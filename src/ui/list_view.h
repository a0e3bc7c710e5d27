#pragma once
// A report-style list: rows of cells under column headers, sorted by a
// column when a header is clicked (the order toggles on every click; a date
// column sorts by its hidden "YYYYMMDD" twin), unsorted again when cleared.
// A Qt tree view over a ListModel: rows added reach the view once per
// display tick, and the view holds only the rows it has been scrolled over,
// so a list of millions of winners costs what a screenful does to show.
// End, Ctrl+End and the scroll bar's thumb taken to the bottom go to the
// list's last row at once: they show the view every row first. Rows that
// cannot be read back from the list's temporary file show as unreadable,
// and the user is told so once.
#include <QTimer>
#include <QTreeView>
#include <initializer_list>
#include <span>
#include <vector>

#include "ui/list_model.h"

namespace ui {

class ListView : public QTreeView {
 public:
  using Column = ListColumn;

  ListView(const std::vector<Column>& columns, QWidget* parent = nullptr);

  // Removes every row and switches sorting off.
  void Clear();
  bool Sorted() const { return model_->Sorted(); }

  // Appends a row (in its sorted place while sorting is on); cells missing at
  // its end are empty, and a hidden date twin follows its date column.
  void AddRow(std::span<const Cell> cells);
  void AddRow(std::initializer_list<Cell> cells) { AddRow(std::span<const Cell>(cells.begin(), cells.size())); }
  // Rows can be found by the cells of these columns (the first row of a key wins).
  void SetKeyColumns(std::vector<int> columns) { model_->SetKeyColumns(std::move(columns)); }
  // Sets cells of the row with this key; false when there is none.
  bool SetByKey(std::initializer_list<Cell> key, std::initializer_list<CellAt> cells);

  int Count() const { return static_cast<int>(model_->Count()); }
  // The text of a cell by its row's position in the list's order; "" outside the list.
  QString Text(int row, int column);

  // A header click: sort by the column (or the hidden column that stands for
  // it), the order reversed from the last sort. The sort serves the window
  // while it runs; a click meanwhile is taken when it is done.
  void SortByColumnClick(int column);
  // Which column a click on a column sorts by (a date column's hidden twin).
  int SortColumnFor(int column) const;

  // Shares `width` pixels among the visible columns in proportion to their
  // design widths, so that all of them show without scrolling. Nothing
  // changes when a column would get 100 twips or less.
  void FitColumns(int width);
  // Brings the view up to date with the rows added and the cells changed;
  // the display tick does this a few tens of milliseconds after a change.
  void Flush();

  static constexpr int kTwipsPerPixel = 15;

 protected:
  // The columns follow the list's width; a cell too narrow for its text
  // shows the whole text in its tool tip.
  bool viewportEvent(QEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

 private:
  bool CellCut(const QModelIndex& cell) const;
  void Changed();
  void Tick();
  // The user moved the scroll bar (a drag, the wheel, a click on it).
  void ScrollBarMoved();
  // Tells the user, once, that rows of the list could not be read back.
  void TellRowsLost(const std::string& cause);
  bool LastRowInView() const;
  // Tells the view of the cells changed in the rows on its screen.
  void ShowChangedCells();

  ListModel* model_;
  QTimer tick_;
  Qt::SortOrder sortOrder_ = Qt::DescendingOrder;  // the first click sorts ascending
  std::vector<int> waitingClicks_;
  bool lossTold_ = false;
};

}  // namespace ui
