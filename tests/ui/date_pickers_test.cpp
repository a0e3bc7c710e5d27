// The date pickers: the period, the portfolio window, One Day, the weekday rule.
#include "platform/user/user_services.h"
#include "widget_input.h"
#include "window_fixture.h"

using namespace widget_input;

namespace {

rt::Date Day(int year, int month, int day) { return rt::DateSerial(year, month, day); }

class PickerTest : public WindowTest {
 protected:
  ui::DatePicker* From() { return window->Picker("dteSimDate", 0); }
  ui::DatePicker* To() { return window->Picker("dteSimDate", 1); }
  ui::DatePicker* SelectStart() { return window->Picker("dteSelectStart"); }
  ui::DatePicker* SelectEnd() { return window->Picker("dteSelectEnd"); }
  void Period(rt::Date from, rt::Date to) {
    From()->SetValue(from);
    To()->SetValue(to);
  }
};

}  // namespace

TEST_F(PickerTest, TheHistoryPickerRefusesWeekends) {
  ui::DatePicker* picker = NewWindow().Picker("DTePicker1");
  picker->SetValue(Day(2004, 3, 6));  // a Saturday before any weekday: the Friday before
  EXPECT_EQ(picker->Value(), Day(2004, 3, 5));
  picker->SetValue(Day(2004, 3, 8));  // Monday
  EXPECT_EQ(picker->Value(), Day(2004, 3, 8));
  picker->SetValue(Day(2004, 3, 14));  // Sunday
  EXPECT_EQ(picker->Value(), Day(2004, 3, 8));
  picker->SetValue(Day(2004, 3, 13));  // Saturday
  EXPECT_EQ(picker->Value(), Day(2004, 3, 8));
  EXPECT_TRUE(scripted->Prompts().empty());
}

TEST_F(PickerTest, ThePeriodNeverRunsBackwards) {
  NewWindow();
  Period(Day(2004, 3, 1), Day(2004, 3, 15));
  From()->SetValue(Day(2004, 3, 20));
  Leave(From());
  EXPECT_EQ(To()->Value(), Day(2004, 3, 20));
  EXPECT_EQ(From()->Value(), Day(2004, 3, 20));

  To()->SetValue(Day(2004, 3, 10));
  Leave(To());
  EXPECT_EQ(To()->Value(), Day(2004, 3, 20));  // the end comes up to the start
  EXPECT_TRUE(scripted->Prompts().empty());

  // Opening the calendar or another window is not leaving the picker.
  To()->SetValue(Day(2004, 3, 10));
  Leave(To(), Qt::PopupFocusReason);
  Leave(To(), Qt::ActiveWindowFocusReason);
  EXPECT_EQ(To()->Value(), Day(2004, 3, 10));
}

TEST_F(PickerTest, TheStartIsRaisedToTheEarliestDateOfAnalysis) {
  ui::frmMain& w = NewWindow();
  w.Options().dteData()->SetValue(Day(1998, 1, 5));
  Period(Day(1997, 6, 2), Day(1997, 12, 1));
  scripted->AnswerMsgBox(user::kAnswerOK);
  Leave(From());
  EXPECT_EQ(From()->Value(), Day(1998, 1, 5));
  ASSERT_EQ(scripted->MessageTexts().size(), 1u);
  EXPECT_EQ(scripted->MessageTexts()[0],
            "The Period From Date must be greater than 01/05/1998.  The value will be changed to 01/05/1998");
  EXPECT_EQ(scripted->Prompts()[0].style, user::kOKOnly | user::kInformation);
  // A start raised past the end takes the end along.
  EXPECT_EQ(To()->Value(), Day(1998, 1, 5));

  From()->SetValue(Day(1998, 1, 5));  // on the earliest date itself: nothing to say
  Leave(From());
  EXPECT_EQ(scripted->MessageTexts().size(), 1u);
}

TEST_F(PickerTest, ThePortfolioWindowFollowsThePeriodOnlyWhenSwitchedOn) {
  ui::frmMain& w = NewWindow();
  Period(Day(2004, 3, 1), Day(2004, 3, 31));
  SelectStart()->SetValue(Day(2004, 3, 5));
  SelectEnd()->SetValue(Day(2004, 3, 25));

  Period(Day(2004, 3, 10), Day(2004, 3, 20));
  Leave(From());
  Leave(To());
  EXPECT_EQ(SelectStart()->Value(), Day(2004, 3, 5));
  EXPECT_EQ(SelectEnd()->Value(), Day(2004, 3, 25));

  w.Check("chkSelectByDate")->SetValue(1);  // its own click brings the window inside
  SelectStart()->SetValue(Day(2004, 3, 12));
  SelectEnd()->SetValue(Day(2004, 3, 18));
  Period(Day(2004, 3, 14), Day(2004, 3, 16));
  Leave(From());
  EXPECT_EQ(SelectStart()->Value(), Day(2004, 3, 14));
  EXPECT_EQ(SelectEnd()->Value(), Day(2004, 3, 18));  // To was not left yet
  Leave(To());
  EXPECT_EQ(SelectEnd()->Value(), Day(2004, 3, 16));
  EXPECT_TRUE(scripted->Prompts().empty());
}

TEST_F(PickerTest, ThePortfolioWindowEndsAreCheckedWhenLeft) {
  NewWindow();
  Period(Day(2004, 3, 1), Day(2004, 3, 31));
  SelectStart()->SetValue(Day(2004, 3, 1));
  Leave(SelectStart());
  SelectEnd()->SetValue(Day(2004, 3, 31));
  Leave(SelectEnd());
  EXPECT_TRUE(scripted->Prompts().empty());

  scripted->AnswerMsgBox(user::kAnswerOK,
                         "The Select Start Date must be greater than or equal to the Simulation Start Date.");
  SelectStart()->SetValue(Day(2004, 2, 29));
  Leave(SelectStart());
  EXPECT_EQ(SelectStart()->Value(), Day(2004, 3, 1));

  scripted->AnswerMsgBox(user::kAnswerOK, "The Select End Date must be less than or equal to the Simulation End Date.");
  SelectEnd()->SetValue(Day(2004, 4, 1));
  Leave(SelectEnd());
  EXPECT_EQ(SelectEnd()->Value(), Day(2004, 3, 31));
}

TEST_F(PickerTest, OneDayKeepsTheEndOnTheStart) {
  ui::frmMain& w = NewWindow();
  Period(Day(2004, 3, 10), Day(2004, 3, 20));
  w.Check("chkOneDay")->SetValue(1);
  From()->SetValue(Day(2004, 3, 3));  // earlier: the disabled end still follows
  EXPECT_EQ(To()->Value(), Day(2004, 3, 3));
  w.Check("chkOneDay")->SetValue(0);
  From()->SetValue(Day(2004, 3, 1));
  EXPECT_EQ(To()->Value(), Day(2004, 3, 3));
}

// A date typed the way the box shows it becomes that date, wherever the
// cursor stood; a text that is no whole date leaves the date as it was.
TEST_F(PickerTest, ADateTypedAsShownIsTheDateTyped) {
  enum Start { TabbedIn, AllSelected, CursorInMonth, CursorInDay, CursorInYear };
  struct Case {
    Start start;
    const char* typed;
    const char* expected;
  };
  const Case cases[] = {{TabbedIn, "11/16/2020", "11/16/2020"},    {AllSelected, "1/2/2019", "1/2/2019"},
                        {AllSelected, "01/02/2019", "1/2/2019"},   {CursorInMonth, "1/2/2019", "1/2/2019"},
                        {CursorInDay, "11/16/2020", "11/16/2020"}, {CursorInYear, "07/4/2021", "7/4/2021"},
                        {TabbedIn, "11/16/20", "11/9/2026"},       {AllSelected, "2/30/2019", "11/9/2026"}};
  NewWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Period(Day(2026, 11, 9), Day(2026, 11, 9));
    Focus(From());
    if (c.start == AllSelected) Press(From(), Qt::Key_A, "", Qt::ControlModifier);
    if (c.start == CursorInMonth) From()->setCurrentSection(QDateTimeEdit::MonthSection);
    if (c.start == CursorInDay) From()->setCurrentSection(QDateTimeEdit::DaySection);
    if (c.start == CursorInYear) From()->setCurrentSection(QDateTimeEdit::YearSection);
    Type(From(), c.typed);
    Leave(From());
    EXPECT_EQ(rt::FormatShortDate(From()->Value()), c.expected);
    EXPECT_EQ(From()->text().toStdString(), c.expected);
  }
  // The leaving rules then apply to the typed date: an end before the start follows it.
  Focus(To());
  Type(To(), "3/1/2026");
  EXPECT_EQ(rt::FormatShortDate(To()->Value()), "3/1/2026");
  Leave(To());
  EXPECT_EQ(rt::FormatShortDate(To()->Value()), "11/9/2026");
}
