#include "market_data/calendar_and_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_app_folder.h"

using rt::Date;

namespace {

Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) { return *Date::FromParts(y, m, d, hh, mm, ss); }

// Turns the trace switch on for one test and back off after it.
class LoggingOn {
 public:
  LoggingOn() { blnLogging = true; }
  ~LoggingOn() { blnLogging = false; }
};

}  // namespace

TEST(PreviousTradingDayTest, WeekdaysThatAreNotHolidaysStay) {
  Date wednesday = D(2004, 3, 10);
  EXPECT_EQ(PreviousTradingDay(wednesday), D(2004, 3, 10));
  Date friday = D(2004, 3, 12);
  EXPECT_EQ(PreviousTradingDay(friday), D(2004, 3, 12));
}

TEST(PreviousTradingDayTest, WeekendsStepBackToFridayAndTheResultIsLeftInTheArgument) {
  Date saturday = D(2004, 3, 13);
  Date sunday = D(2004, 3, 14);
  EXPECT_EQ(PreviousTradingDay(saturday), D(2004, 3, 12));
  EXPECT_EQ(saturday, D(2004, 3, 12));
  PreviousTradingDay(sunday);
  EXPECT_EQ(sunday, D(2004, 3, 12));
}

TEST(PreviousTradingDayTest, HolidaysStepBackOnceThenOverTheWeekend) {
  Date newYearMonday = D(2007, 1, 1);
  EXPECT_EQ(PreviousTradingDay(newYearMonday), D(2006, 12, 29));
  Date sundaySecondJanuary = D(2005, 1, 2);
  EXPECT_EQ(PreviousTradingDay(sundaySecondJanuary), D(2004, 12, 31));
  Date holidayOnTuesday = D(2003, 2, 18);
  EXPECT_EQ(PreviousTradingDay(holidayOnTuesday), D(2003, 2, 17));
  // The holiday reached over the weekend is not tested again.
  Date saturdayAfterHoliday = D(2005, 2, 19);
  EXPECT_EQ(PreviousTradingDay(saturdayAfterHoliday), D(2005, 2, 18));
}

TEST(PreviousTradingDayTest, KeepsTheTimeOfDay) {
  Date saturdayNoon = D(2004, 3, 13, 12, 0, 0);
  EXPECT_EQ(PreviousTradingDay(saturdayNoon), D(2004, 3, 12, 12, 0, 0));
}

TEST(FormatElapsedTimeTest, HoursMinutesSecondsTwoDigitsEach) {
  Date start = D(2004, 3, 5, 9, 0, 0);
  EXPECT_EQ(FormatElapsedTime(start, start), "00:00:00");
  EXPECT_EQ(FormatElapsedTime(start, D(2004, 3, 5, 10, 2, 5)), "01:02:05");
  EXPECT_EQ(FormatElapsedTime(start, start + 100.0 / 24), "100:00:00");
  EXPECT_EQ(FormatElapsedTime(D(2004, 3, 5, 23, 59, 59), D(2004, 3, 6)), "00:00:01");
}

TEST(FormatElapsedTimeTest, BackwardsGivesNegativeHoursWithFlooredMinutesAndSeconds) {
  Date start = D(2004, 3, 5, 9, 0, 30);
  EXPECT_EQ(FormatElapsedTime(start, D(2004, 3, 5, 9, 0, 0)), "-01:59:30");
  EXPECT_EQ(FormatElapsedTime(D(2004, 3, 5, 12, 0, 0), D(2004, 3, 5, 9, 0, 0)), "-03:00:00");
}

TEST(FormatElapsedTimeTest, SpansBeyondAThirtyTwoBitSecondCountGiveZero) {
  EXPECT_EQ(FormatElapsedTime(D(1900, 1, 1), D(2004, 3, 5)), "00:00:00");
  EXPECT_EQ(FormatElapsedTime(D(2004, 3, 5), D(1900, 1, 1)), "00:00:00");
  // 68 years still fit.
  EXPECT_EQ(FormatElapsedTime(D(2000, 1, 1), D(2000, 1, 1) + 24855), "596520:00:00");
}

TEST(LogErrorTest, WritesNothingWhileLoggingIsOff) {
  testsupport::TempAppFolder folder;
  ASSERT_FALSE(blnLogging);
  LogError("Entering LoadData");
  EXPECT_FALSE(std::filesystem::exists(folder.File("err.log")));
}

TEST(LogErrorTest, AppendsDateTimeTabMessageCrLfWhenOn) {
  testsupport::TempAppFolder folder;
  LoggingOn on;
  Date before = rt::Now();
  LogError("Entering LoadData");
  LogError("Exiting LoadData: True");
  std::string log = testsupport::ReadFileBytes(folder.File("err.log"));

  size_t firstEnd = log.find("\r\n");
  ASSERT_NE(firstEnd, std::string::npos);
  std::string first = log.substr(0, firstEnd);
  size_t tab = first.find('\t');
  ASSERT_NE(tab, std::string::npos);
  std::optional<Date> stamp = rt::ParseDate(first.substr(0, tab));
  ASSERT_TRUE(stamp.has_value()) << first;
  EXPECT_GE(rt::SecondsBetween(before, *stamp), -1);
  EXPECT_EQ(first.substr(tab + 1), "Entering LoadData");
  EXPECT_NE(log.find("\tExiting LoadData: True\r\n", firstEnd), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST(LogErrorTest, AnUnwritableLogIsIgnored) {
  testsupport::TempAppFolder folder;
  std::filesystem::create_directory(folder.File("err.log"));  // a folder where the file should be
  LoggingOn on;
  EXPECT_NO_THROW(LogError("lost"));
}
