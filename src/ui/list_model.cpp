#include "ui/list_model.h"

#include <QPointer>
#include <algorithm>

#include "ui/list_sort.h"

namespace ui {
namespace {

std::vector<ListRows::ColumnKind> KindsOf(const std::vector<ListColumn>& columns) {
  std::vector<ListRows::ColumnKind> kinds;
  for (const ListColumn& column : columns) kinds.push_back({column.kind, column.dateColumn});
  return kinds;
}

}  // namespace

ListModel::ListModel(const std::vector<ListColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), rows_(KindsOf(columns)), byKey_(rows_) {}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
  return rows_.Text(RowAt(index.row()), index.column());
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return QString::fromUtf8(columns_[section].header);
}

bool ListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && static_cast<uint32_t>(shown_) < placed_;
}

void ListModel::fetchMore(const QModelIndex& parent) {
  // A view scrolled to its end: half as many again, so that the end of a
  // long list is a few scrolls away.
  if (!parent.isValid()) ShowMore(std::max(kPage, shown_ / 2));
}

uint32_t ListModel::RowAt(int position) const {
  const auto at = static_cast<uint32_t>(position);
  return at < order_.size() ? order_[at] : at;
}

void ListModel::SetKeyColumns(std::vector<int> columns) { byKey_.SetColumns(std::move(columns)); }

void ListModel::Append(std::span<const Cell> cells) {
  rows_.Append(cells);
  byKey_.Add(rows_.Count() - 1);
}

bool ListModel::SetByKey(std::span<const Cell> key, std::span<const CellAt> cells,
                         const std::function<bool()>& between) {
  if (!byKey_.Made()) {
    const int clears = clears_;
    QPointer<ListModel> alive(this);
    if (!byKey_.Make([&] { return between() && alive && clears_ == clears; })) return false;
  }
  std::optional<uint32_t> row = byKey_.Find(key);
  if (!row) return false;
  for (const CellAt& cell : cells) {
    if (cell.column < 0 || cell.column >= columnCount()) return false;
    rows_.Set(*row, cell.column, cell.value);
    changed_ = true;
  }
  return true;
}

QString ListModel::Text(int row, int column) const {
  if (row < 0 || static_cast<uint32_t>(row) >= rows_.Count() || column < 0 || column >= columnCount()) return {};
  return rows_.Text(RowAt(row), column);
}

void ListModel::Clear() {
  // A list as new has nothing to reset: a sweep clears its list before each
  // of its thousands of replays, which may add no row.
  if (rows_.Count() == 0 && order_.empty() && !sorted_ && !sorting_ && shown_ == 0 && wanted_ == kPage) return;
  beginResetModel();
  rows_.Clear();
  byKey_.Clear();
  order_ = {};
  placed_ = 0;
  shown_ = 0;
  wanted_ = kPage;
  changed_ = false;
  sorted_ = false;
  sorting_ = false;  // a sort under way gives up when it sees the clear
  ++clears_;
  endResetModel();
}

int ListModel::RowsToShow() const {
  return static_cast<int>(std::min<uint32_t>(rows_.Count(), static_cast<uint32_t>(wanted_)));
}

void ListModel::PlaceAddedRows() {
  if (!sorted_) {
    placed_ = rows_.Count();
    return;
  }
  const uint32_t firstNew = placed_;
  const Arrivals arrivals = ArrivalsOf(order_, firstNew, rows_, sortColumn_, descending_);
  // The view hears of the new rows at the end of the order, where positions
  // past the order stand for the rows added (RowAt), then of their moves
  // into place: a change of layout, after which a chosen row is still the
  // same row.
  if (const int show = RowsToShow(); shown_ < show) {
    beginInsertRows({}, shown_, show - 1);
    shown_ = show;
    endInsertRows();
  }
  const bool moved = !arrivals.places.empty() && arrivals.places.front() < static_cast<size_t>(shown_);
  if (moved) emit layoutAboutToBeChanged();
  InsertArrivals(order_, arrivals);
  placed_ = rows_.Count();
  if (!moved) return;
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  for (const QModelIndex& held : from) {
    const auto position = static_cast<size_t>(held.row());
    size_t now = 0;
    if (position < firstNew) {
      now = position + static_cast<size_t>(std::upper_bound(arrivals.places.begin(), arrivals.places.end(), position) -
                                           arrivals.places.begin());
    } else {
      const auto arrival = std::find(arrivals.rows.begin(), arrivals.rows.end(), static_cast<uint32_t>(position));
      const auto i = static_cast<size_t>(arrival - arrivals.rows.begin());
      now = arrivals.places[i] + i;
    }
    to.push_back(index(static_cast<int>(now), held.column()));
  }
  changePersistentIndexList(from, to);
  emit layoutChanged();
}

void ListModel::Flush() {
  if (sorting_) return;
  if (placed_ < rows_.Count()) PlaceAddedRows();
  if (const int show = RowsToShow(); shown_ < show) {
    beginInsertRows({}, shown_, show - 1);
    shown_ = show;
    endInsertRows();
  }
}

void ListModel::ShowChangedCells(int first, int last) {
  if (!changed_) return;
  changed_ = false;
  first = std::max(first, 0);
  last = std::min(last, shown_ - 1);
  if (first <= last) emit dataChanged(index(first, 0), index(last, columnCount() - 1), {Qt::DisplayRole});
}

void ListModel::ShowMore(int rows) {
  wanted_ = static_cast<int>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(shown_) + rows));
  Flush();
}

void ListModel::ShowAll() {
  wanted_ = std::max(wanted_, static_cast<int>(std::min<uint32_t>(rows_.Count(), INT32_MAX)));
  Flush();
}

bool ListModel::Sort(int column, bool descending, const std::function<bool()>& between) {
  if (sorting_ || column < 0 || column >= columnCount()) return false;
  Flush();
  const int clears = clears_;
  QPointer<ListModel> alive(this);
  sorting_ = true;
  // The order stays as it is while the sort runs (Flush waits for it).
  std::optional<std::vector<uint32_t>> sorted =
      SortedOrder(placed_, order_, rows_, column, descending, [&] { return between() && alive && clears_ == clears; });
  if (!alive) return false;
  sorting_ = false;
  if (!sorted) return false;
  beginResetModel();
  order_ = std::move(*sorted);
  sorted_ = true;
  sortColumn_ = column;
  descending_ = descending;
  shown_ = 0;
  wanted_ = kPage;
  endResetModel();
  Flush();
  return true;
}

}  // namespace ui
