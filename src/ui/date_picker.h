#pragma once
// A date picker showing "M/d/yyyy". A date is typed the way it is shown, as
// one text: the first digit or "/" starts a fresh text, whatever part of the
// date the cursor was in or was selected, and the text becomes the date as
// soon as it is a whole date, with or without leading zeros ("1/2/2019",
// "01/02/2019"). A text that never became a date is dropped when the user
// moves on, and the box shows its date again.
#include <QDateEdit>
#include <optional>

#include "platform/runtime/date.h"

namespace ui {

class DatePicker : public QDateEdit {
 public:
  explicit DatePicker(QWidget* parent = nullptr);
  rt::Date Value() const;
  void SetValue(const rt::Date& date);

  // Ends the user's editing: an unfinished typed text is dropped, and what
  // the box then shows is its value.
  void FinishEditing();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void stepBy(int steps) override;

 private:
  // The date a typed text stands for; invalid until it is a whole date.
  QDate TypedDate(const QString& text) const;
  void DropTypedText();

  std::optional<QString> typed_;  // what the user is typing, shown as typed
};

}  // namespace ui
