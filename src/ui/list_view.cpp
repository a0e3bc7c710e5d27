#include "ui/list_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <vector>

namespace ui {
ListView::ListView(const std::vector<Column>& columns, QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setColumnCount(static_cast<int>(columns.size()));
  QStringList headers;
  for (const Column& column : columns) headers << column.header;
  setHeaderLabels(headers);
  // Before any column is hidden: a hidden last section that was stretched
  // would still count in the scrolling width.
  header()->setStretchLastSection(false);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    designTwips_.push_back(columns[i].widthTwips);
    if (columns[i].widthTwips == 0) setColumnHidden(i, true);
    else setColumnWidth(i, columns[i].widthTwips / kTwipsPerPixel);
  }
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { SortByColumnClick(column); });
}

void ListView::Clear() {
  clear();
  byKey_.clear();
  sorted_ = false;
}

QString ListView::KeyOf(const QStringList& texts) const {
  QStringList key;
  for (int column : keyColumns_) key << (column < texts.size() ? texts[column] : QString());
  return key.join('\t');
}

QTreeWidgetItem* ListView::FindByKey(const QStringList& key) const {
  auto found = byKey_.find(key.join('\t'));
  return found == byKey_.end() ? nullptr : found->second;
}

bool ListView::Less(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const {
  int order = a->text(sortKey_).compare(b->text(sortKey_), Qt::CaseInsensitive);
  return sortOrder_ == Qt::AscendingOrder ? order < 0 : order > 0;
}

QTreeWidgetItem* ListView::AddRow(const QStringList& texts) {
  auto* item = new QTreeWidgetItem(texts);
  if (!keyColumns_.empty()) byKey_.try_emplace(KeyOf(texts), item);
  if (!sorted_) {
    addTopLevelItem(item);
    return item;
  }
  // After the rows that sort before it or equal to it.
  int low = 0, high = topLevelItemCount();
  while (low < high) {
    int middle = (low + high) / 2;
    if (Less(item, topLevelItem(middle))) high = middle;
    else low = middle + 1;
  }
  insertTopLevelItem(low, item);
  return item;
}

QString ListView::Text(int row, int column) const {
  const QTreeWidgetItem* item = row >= 0 && row < topLevelItemCount() ? topLevelItem(row) : nullptr;
  return item ? item->text(column) : QString();
}

bool ListView::SetText(int row, int column, const QString& text) {
  if (row < 0 || row >= topLevelItemCount() || column < 0 || column >= columnCount()) return false;
  topLevelItem(row)->setText(column, text);
  return true;
}

void ListView::SortRows() {
  std::vector<QTreeWidgetItem*> items;
  while (topLevelItemCount() > 0) items.push_back(takeTopLevelItem(0));
  std::stable_sort(items.begin(), items.end(), [this](auto* a, auto* b) { return Less(a, b); });
  for (QTreeWidgetItem* item : items) addTopLevelItem(item);
}

void ListView::SortByColumnClick(int column) {
  int key = sortColumnFor(column);
  if (key < 0 || key >= columnCount()) return;
  sortKey_ = key;
  sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  sorted_ = true;
  SortRows();
}

void ListView::FitColumns(int width) {
  double designTotal = 0;
  int narrowest = 0;
  for (int i = 0; i < columnCount(); ++i) {
    if (isColumnHidden(i)) continue;
    designTotal += designTwips_[i];
    if (narrowest == 0 || designTwips_[i] < narrowest) narrowest = designTwips_[i];
  }
  if (designTotal <= 0) return;
  double pixelsPerTwip = width / designTotal;
  if (narrowest * pixelsPerTwip * kTwipsPerPixel <= 100) return;
  // Rounded down, so that the columns never add up to more than the width.
  for (int i = 0; i < columnCount(); ++i)
    if (!isColumnHidden(i)) setColumnWidth(i, static_cast<int>(designTwips_[i] * pixelsPerTwip));
}

bool ListView::CellCut(const QModelIndex& cell) const {
  QString text = cell.data().toString();
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1);
  return fontMetrics().horizontalAdvance(text) + margins > visualRect(cell).width();
}

bool ListView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) FitColumns(viewport()->width());
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    QModelIndex cell = indexAt(help->pos());
    if (cell.isValid() && CellCut(cell)) {
      QToolTip::showText(help->globalPos(), cell.data().toString(), viewport(), visualRect(cell));
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QTreeWidget::viewportEvent(event);
}

}  // namespace ui
