#pragma once
// The user's keyboard and focus, played into a widget without a screen.
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <string>

namespace widget_input {

// The widget receives the focus.
inline void Focus(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason) {
  QFocusEvent focus(QEvent::FocusIn, reason);
  QCoreApplication::sendEvent(widget, &focus);
}

// The user moves on from the widget.
inline void Leave(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason) {
  QFocusEvent focus(QEvent::FocusOut, reason);
  QCoreApplication::sendEvent(widget, &focus);
}

inline void Press(QWidget* widget, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &press);
}

// Types each character of `text` as a key press of its own.
inline void Type(QWidget* widget, const std::string& text) {
  for (char c : text) Press(widget, QChar(c).toUpper().unicode(), QString(QChar(c)));
}

inline void Backspace(QWidget* widget) { Press(widget, Qt::Key_Backspace, "\b"); }

// The user rests the pointer on `pos` of the widget: true when a tool tip
// came up (QToolTip::text() then holds its text).
inline bool ToolTipAt(QWidget* widget, QPoint pos) {
  QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
  QCoreApplication::sendEvent(widget, &help);
  return help.isAccepted();
}

// The box's text with its selection, as "ab[cd]" or "ab|cd" for a caret.
inline std::string Shown(const QLineEdit* box) {
  std::string text = box->text().toStdString();
  if (!box->hasSelectedText()) return text.insert(box->cursorPosition(), "|");
  int start = box->selectionStart();
  int length = static_cast<int>(box->selectedText().size());
  return text.insert(start + length, "]").insert(start, "[");
}

}  // namespace widget_input
