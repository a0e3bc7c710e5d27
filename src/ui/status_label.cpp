#include "ui/status_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace ui {

StatusLabel::StatusLabel(const QString& text, const QString& roomFor, Fit fit)
    : QLabel(text), roomFor_(roomFor), fit_(fit) {
  setTextFormat(Qt::PlainText);
  setWordWrap(fit == Fit::kWrap);
}

QRect StatusLabel::TextArea() const { return contentsRect().adjusted(margin(), margin(), -margin(), -margin()); }

bool StatusLabel::Elided() const {
  if (fit_ == Fit::kWrap) return heightForWidth(width()) > height();
  return fontMetrics().horizontalAdvance(text()) > TextArea().width();
}

QSize StatusLabel::minimumSizeHint() const {
  // One line high: a wrapped text asks for its lines through heightForWidth.
  QMargins frame = contentsMargins();
  int extra = 2 * margin();
  return {fontMetrics().horizontalAdvance(roomFor_) + extra + frame.left() + frame.right(),
          fontMetrics().height() + extra + frame.top() + frame.bottom()};
}

bool StatusLabel::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QLabel::event(event);
  if (Elided()) {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

void StatusLabel::paintEvent(QPaintEvent* event) {
  if (fit_ == Fit::kWrap) return QLabel::paintEvent(event);
  QPainter painter(this);
  drawFrame(&painter);
  QRect area = TextArea();
  QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
  style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace ui
