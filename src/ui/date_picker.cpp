#include "ui/date_picker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "ui/controls.h"

namespace ui {
namespace {

bool IsDateKey(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = key.text();
  return text.size() == 1 && ((text[0] >= '0' && text[0] <= '9') || text[0] == '/');
}

}  // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
  setDisplayFormat("M/d/yyyy");
  setCalendarPopup(true);
  setMinimumDate(QDate(1800, 1, 1));
}

rt::Date DatePicker::Value() const { return ToDate(date()); }

void DatePicker::SetValue(const rt::Date& value) {
  typed_.reset();
  setDate(ToQDate(value));
}

QDate DatePicker::TypedDate(const QString& text) const {
  static const QRegularExpression wholeDate("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$");
  QRegularExpressionMatch parts = wholeDate.match(text);
  if (!parts.hasMatch()) return {};
  QDate day(parts.captured(3).toInt(), parts.captured(1).toInt(), parts.captured(2).toInt());
  if (!day.isValid() || day < minimumDate() || day > maximumDate()) return {};
  return day;
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
  bool editingTyped = typed_ && event->key() == Qt::Key_Backspace;
  if (!IsDateKey(*event) && !editingTyped) {
    // Any other key (arrows, Enter, Ctrl+A, ...) works on the date as shown.
    DropTypedText();
    QDateEdit::keyPressEvent(event);
    return;
  }
  QString text = typed_.value_or(QString());
  if (editingTyped) text.chop(1);
  else text += event->text();
  event->accept();

  QDate day = TypedDate(text);
  if (day.isValid()) {
    typed_.reset();
    setDate(day);
    return;
  }
  typed_ = text;
  // The box shows the text as typed; the date stays until the text is one.
  QLineEdit* box = lineEdit();
  const QSignalBlocker quiet(box);
  box->setText(text);
}

void DatePicker::DropTypedText() {
  if (!typed_) return;
  typed_.reset();
  setDate(date());  // shows the date again
}

void DatePicker::FinishEditing() {
  DropTypedText();
  interpretText();
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
  FinishEditing();
  QDateEdit::focusOutEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
  DropTypedText();
  QDateEdit::mousePressEvent(event);
}

void DatePicker::wheelEvent(QWheelEvent* event) {
  DropTypedText();
  QDateEdit::wheelEvent(event);
}

void DatePicker::stepBy(int steps) {
  DropTypedText();
  QDateEdit::stepBy(steps);
}

}  // namespace ui
