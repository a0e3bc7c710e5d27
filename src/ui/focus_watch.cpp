#include "ui/focus_watch.h"

namespace ui {
namespace {

class FocusWatcher : public QObject {
 public:
  FocusWatcher(QObject* parent, QEvent::Type type, std::function<void(const QFocusEvent&)> action)
      : QObject(parent), type_(type), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == type_) action_(static_cast<const QFocusEvent&>(*event));
    return QObject::eventFilter(watched, event);
  }

 private:
  QEvent::Type type_;
  std::function<void(const QFocusEvent&)> action_;
};

}  // namespace

void WatchFocus(QWidget* widget, QEvent::Type type, std::function<void(const QFocusEvent&)> action) {
  widget->installEventFilter(new FocusWatcher(widget, type, std::move(action)));
}

}  // namespace ui
