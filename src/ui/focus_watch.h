#pragma once
// Runs an action when a widget gains or loses the keyboard focus, without
// subclassing it: the windows keep their stock widgets and add behaviour.
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>
#include <functional>

namespace ui {

// `action` runs whenever `widget` receives an event of `type` (FocusIn or
// FocusOut), before the widget's own handling of it.
void WatchFocus(QWidget* widget, QEvent::Type type, std::function<void(const QFocusEvent&)> action);

}  // namespace ui
