// The date pickers of the main window: their focus help, the rules that keep
// the period and the portfolio window consistent when the user leaves one,
// One Day, and the weekday rule of the history picker.
#include "platform/runtime/date.h"
#include "platform/user/user_services.h"
#include "ui/focus_watch.h"
#include "ui/main_window.h"

namespace ui {
namespace {

const char* const kSelectStartBeforePeriod =
    "The Select Start Date must be greater than or equal to the Simulation Start Date.";
const char* const kSelectEndAfterPeriod = "The Select End Date must be less than or equal to the Simulation End Date.";

void Inform(const std::string& message) { user::MsgBox(message, user::kOKOnly | user::kInformation); }

// Runs `action` when the user leaves the picker for another control. Opening
// its calendar, a menu or another window is not leaving it.
void OnLeaving(DatePicker* picker, std::function<bool()> alive, std::function<void()> action) {
  WatchFocus(picker, QEvent::FocusOut, [picker, alive, action](const QFocusEvent& focus) {
    Qt::FocusReason reason = focus.reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || reason == Qt::MenuBarFocusReason)
      return;
    if (!alive()) return;
    picker->FinishEditing();  // the rules see the date the box shows when left
    action();
  });
}

bool IsWeekend(const rt::Date& day) { return day.Weekday() == 1 || day.Weekday() == 7; }

}  // namespace

std::function<bool()> frmMain::WindowAlive() const {
  std::weak_ptr<int> token = aliveToken_;
  return [token] { return !token.expired(); };
}

void frmMain::ConnectDatePickers() {
  auto alive = WindowAlive();
  for (int i = 0; i <= 1; ++i) {
    OnFocus(Picker("dteSimDate", i), [this, i] { dteSimDate_GotFocus(i); });
    OnLeaving(Picker("dteSimDate", i), alive, [this, i] { dteSimDate_LostFocus(i); });
  }
  OnFocus(Picker("dteSelectStart"), [this] { dteSelectStart_GotFocus(); });
  OnFocus(Picker("dteSelectEnd"), [this] { dteSelectEnd_GotFocus(); });
  OnLeaving(Picker("dteSelectStart"), alive, [this] { dteSelectStart_LostFocus(); });
  OnLeaving(Picker("dteSelectEnd"), alive, [this] { dteSelectEnd_LostFocus(); });

  // One Day keeps the end of the period on its start, however the start
  // changes: the end picker is disabled meanwhile, so nothing else could.
  connect(Picker("dteSimDate", 0), &QDateEdit::dateChanged, this, [this](const QDate& day) {
    if (Check("chkOneDay")->Value() == 1) Picker("dteSimDate", 1)->setDate(day);
  });

  // The history picker takes a typed date when it is complete, so that a
  // weekend passed on the way to a weekday does not undo the typing.
  DatePicker* history = Picker("DTePicker1");
  history->setKeyboardTracking(false);
  connect(history, &QDateEdit::dateChanged, this, [this] { DTePicker1_Change(); });
}

void frmMain::dteSimDate_GotFocus(int index) {
  if (index == 0) ShowHelp(132);
  else if (index == 1) ShowHelp(133);
}

void frmMain::dteSelectStart_GotFocus() { ShowHelp(159); }
void frmMain::dteSelectEnd_GotFocus() { ShowHelp(159); }

void frmMain::dteSimDate_LostFocus(int index) {
  if (index != 0 && index != 1) return;
  DatePicker* from = Picker("dteSimDate", 0);
  DatePicker* to = Picker("dteSimDate", 1);
  DatePicker* selectStart = Picker("dteSelectStart");
  DatePicker* selectEnd = Picker("dteSelectEnd");
  // The portfolio window follows the end of the period that moved.
  auto keepWindowInside = [&](int end) {
    if (Check("chkSelectByDate")->Value() != 1) return;
    if (end == 1 && to->Value() < selectEnd->Value()) selectEnd->SetValue(to->Value());
    if (end == 0 && from->Value() > selectStart->Value()) selectStart->SetValue(from->Value());
  };
  // The period never runs backwards: the start the user chose stands.
  auto keepOrder = [&] {
    if (from->Value() > to->Value()) to->SetValue(from->Value());
  };

  keepWindowInside(index);
  keepOrder();
  rt::Date earliest = Options().dteData()->Value();
  if (from->Value() < earliest) {
    from->SetValue(earliest);
    std::string day = rt::FormatMMDDYYYY(earliest);
    Inform("The Period From Date must be greater than " + day + ".  The value will be changed to " + day);
    // The raised start may now pass the end or the portfolio window.
    keepWindowInside(0);
    keepOrder();
  }
}

void frmMain::dteSelectStart_LostFocus() {
  DatePicker* start = Picker("dteSelectStart");
  rt::Date first = Picker("dteSimDate", 0)->Value();
  if (start->Value() >= first) return;
  Inform(kSelectStartBeforePeriod);
  start->SetValue(first);
}

void frmMain::dteSelectEnd_LostFocus() {
  DatePicker* end = Picker("dteSelectEnd");
  rt::Date last = Picker("dteSimDate", 1)->Value();
  if (end->Value() <= last) return;
  Inform(kSelectEndAfterPeriod);
  end->SetValue(last);
}

void frmMain::DTePicker1_Change() {
  DatePicker* picker = Picker("DTePicker1");
  rt::Date day = picker->Value();
  if (!IsWeekend(day)) {
    datDTePicker1Weekday_ = day;
    return;
  }
  // Before any weekday was accepted there is nothing to go back to: the
  // Friday before the weekend stands in. Setting the picker runs this again.
  rt::Date fallback = datDTePicker1Weekday_.IsZero() ? day - (day.Weekday() == 1 ? 2 : 1) : datDTePicker1Weekday_;
  picker->SetValue(fallback);
}

}  // namespace ui
