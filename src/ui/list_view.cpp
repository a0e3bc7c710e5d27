#include "ui/list_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

#include "platform/user/user_services.h"
#include "ui/pace.h"

namespace ui {

ListView::ListView(const std::vector<Column>& columns, QWidget* parent)
    : QTreeView(parent), model_(new ListModel(columns, this)) {
  setModel(model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // Before any column is hidden: a hidden last section that was stretched
  // would still count in the scrolling width.
  header()->setStretchLastSection(false);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    if (columns[i].widthTwips == 0) setColumnHidden(i, true);
    else setColumnWidth(i, columns[i].widthTwips / kTwipsPerPixel);
  }
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { SortByColumnClick(column); });
  tick_.setSingleShot(true);
  tick_.setInterval(kDisplayInterval);
  connect(&tick_, &QTimer::timeout, this, [this] { Tick(); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { ScrollBarMoved(); });
  model_->OnRowsLost([this](const std::string& cause) { TellRowsLost(cause); });
}

void ListView::TellRowsLost(const std::string& cause) {
  if (lossTold_) return;
  lossTold_ = true;
  // Rows are read while the view paints or sorts: the message waits for the event loop.
  QTimer::singleShot(0, this, [cause] {
    user::MsgBox("Some rows of the results list could not be read back from the list's temporary file (" + cause +
                     "): their cells show \"" + ListRows::kUnreadable + "\" instead of values.",
                 user::kExclamation);
  });
}

void ListView::Clear() {
  tick_.stop();
  model_->Clear();
  lossTold_ = false;  // told once for each filling of the list
}

void ListView::Changed() {
  if (!tick_.isActive()) tick_.start();
}

void ListView::AddRow(std::span<const Cell> cells) {
  model_->Append(cells);
  Changed();
}

bool ListView::SetByKey(std::initializer_list<Cell> key, std::initializer_list<CellAt> cells) {
  const auto serve = [] {
    user::DoEvents();
    return true;
  };
  if (!model_->SetByKey(std::span<const Cell>(key.begin(), key.size()),
                        std::span<const CellAt>(cells.begin(), cells.size()), serve))
    return false;
  Changed();
  return true;
}

QString ListView::Text(int row, int column) {
  Flush();
  return model_->Text(row, column);
}

void ListView::Flush() {
  tick_.stop();
  model_->Flush();
  ShowChangedCells();
}

void ListView::ShowChangedCells() {
  const int first = indexAt(QPoint(0, 0)).row();
  const int last = indexAt(QPoint(0, viewport()->height() - 1)).row();
  model_->ShowChangedCells(first < 0 ? 0 : first, last < 0 ? model_->rowCount() - 1 : last);
}

bool ListView::LastRowInView() const {
  const int shown = model_->rowCount();
  if (shown == 0) return true;
  return visualRect(model_->index(shown - 1, 0)).intersects(viewport()->rect());
}

void ListView::Tick() {
  model_->Flush();
  ShowChangedCells();
  // A view that shows its last row (it is not full, or scrolled to its end)
  // is shown a page more, as Qt does when the user scrolls to the end.
  if (isVisible() && !model_->Sorting() && model_->canFetchMore({}) && LastRowInView()) {
    model_->ShowMore(ListModel::kPage);
    Changed();
  }
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action != MoveEnd) return QTreeView::moveCursor(action, modifiers);
  model_->ShowAll();
  // Qt's end is in the current row's column, but is the first row when no
  // row is current (as after a sort): the row is the last either way.
  const QModelIndex end = QTreeView::moveCursor(action, modifiers);
  return end.isValid() ? end.siblingAtRow(model_->rowCount() - 1) : end;
}

void ListView::ScrollBarMoved() {
  QScrollBar& bar = *verticalScrollBar();
  if (bar.sliderPosition() < bar.maximum() || !model_->canFetchMore({})) return;
  // Qt's own fetch at the end adds a part of what is left, and leaves the
  // thumb short of the new end.
  model_->ShowAll();
  scrollToBottom();
}

int ListView::SortColumnFor(int column) const {
  for (int twin = 0; twin < model_->columnCount(); ++twin)
    if (model_->Column(twin).kind == CellKind::kSortDate && model_->Column(twin).dateColumn == column) return twin;
  return column;
}

void ListView::SortByColumnClick(int column) {
  if (model_->Sorting()) {
    waitingClicks_.push_back(column);
    return;
  }
  QPointer<ListView> alive(this);
  for (;;) {
    const int key = SortColumnFor(column);
    if (key >= 0 && key < model_->columnCount()) {
      sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
      const bool sorted = model_->Sort(key, sortOrder_ == Qt::DescendingOrder, [] {
        user::DoEvents();
        return true;
      });
      if (!alive) return;  // the window was closed meanwhile
      // The new order from its start: a thumb left at the bottom would
      // stand for an end the view has not been shown.
      if (sorted) scrollToTop();
    }
    if (waitingClicks_.empty()) return;
    column = waitingClicks_.front();
    waitingClicks_.erase(waitingClicks_.begin());
  }
}

void ListView::FitColumns(int width) {
  double designTotal = 0;
  int narrowest = 0;
  const int columns = model_->columnCount();
  for (int i = 0; i < columns; ++i) {
    if (isColumnHidden(i)) continue;
    const int design = model_->Column(i).widthTwips;
    designTotal += design;
    if (narrowest == 0 || design < narrowest) narrowest = design;
  }
  if (designTotal <= 0) return;
  double pixelsPerTwip = width / designTotal;
  if (narrowest * pixelsPerTwip * kTwipsPerPixel <= 100) return;
  // Rounded down, so that the columns never add up to more than the width.
  for (int i = 0; i < columns; ++i)
    if (!isColumnHidden(i)) setColumnWidth(i, static_cast<int>(model_->Column(i).widthTwips * pixelsPerTwip));
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
  return QTreeView::viewportEvent(event);
}

}  // namespace ui
