#pragma once
// The model of a results list: its rows (compact, see ListRows), their order
// (as added, or sorted by a column), and what the view has been shown of
// them. Rows are added at any rate; the view hears of them in one batch per
// display tick (Flush), and only of as many as it has asked for (Qt's
// canFetchMore/fetchMore): a view shown a page of rows lays out a page,
// whether the list holds a thousand rows or ten million.
#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "ui/list_rows.h"
#include "ui/row_key_index.h"

namespace ui {

struct ListColumn {
  const char* header;
  int widthTwips;  // 0 hides the column
  CellKind kind;
  int dateColumn = -1;  // kSortDate: the column whose date it writes
};

// A value for a column of a row.
struct CellAt {
  int column;
  Cell value;
};

class ListModel : public QAbstractTableModel {
 public:
  // The rows a view is shown at first, and at least the rows it is shown more.
  static constexpr int kPage = 1024;

  explicit ListModel(const std::vector<ListColumn>& columns, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  const ListColumn& Column(int column) const { return columns_.at(column); }
  uint32_t Count() const { return rows_.Count(); }
  bool Sorted() const { return sorted_; }

  void SetKeyColumns(std::vector<int> columns);
  // Called with the cause whenever rows cannot be read back (see ListRows::Text).
  void OnRowsLost(std::function<void(const std::string& cause)> handler) { rows_.OnPageLost(std::move(handler)); }
  void Append(std::span<const Cell> cells);
  // Sets cells of the first row with this key; false when there is none.
  // The first look-up makes the table of keys, calling `between` as it goes;
  // false when the model went away or was cleared meanwhile.
  bool SetByKey(std::span<const Cell> key, std::span<const CellAt> cells, const std::function<bool()>& between);
  // The text of a cell by the row's position in the list's order (after a
  // Flush); "" outside the list.
  QString Text(int row, int column) const;
  // Removes every row and switches sorting off.
  void Clear();

  // Puts the added rows in their places and tells the view of those it is
  // to be shown, in one insertion.
  void Flush();
  // Tells the view that cells changed since the last call, for the shown rows
  // first to last (those on its screen).
  void ShowChangedCells(int first, int last);
  // Shows the view `rows` more rows, when there are.
  void ShowMore(int rows);
  // Shows the view every row there is now; rows added later come as before.
  void ShowAll();

  // Sorts every row by the column; `between` runs between the steps (see
  // SortedOrder). False when the sort was given up or the list was cleared
  // meanwhile. Rows added meanwhile wait for the next Flush.
  bool Sort(int column, bool descending, const std::function<bool()>& between);
  bool Sorting() const { return sorting_; }

 private:
  uint32_t RowAt(int position) const;
  // The rows the view is to be shown: every row added, up to what it asked for.
  int RowsToShow() const;
  void PlaceAddedRows();

  std::vector<ListColumn> columns_;
  ListRows rows_;
  RowKeyIndex byKey_;
  // Row numbers in the list's order while sorted; empty: the order they came in.
  std::vector<uint32_t> order_;
  uint32_t placed_ = 0;   // rows [0, placed_) have their places in the order
  int shown_ = 0;         // rows the view has been told of (the first in the order)
  int wanted_ = kPage;    // rows the view may be shown
  bool changed_ = false;  // cells of shown rows changed since the last Flush
  bool sorted_ = false;
  int sortColumn_ = 0;
  bool descending_ = false;
  bool sorting_ = false;
  int clears_ = 0;  // counts Clear, so that a sort sees one happen under it
};

}  // namespace ui
