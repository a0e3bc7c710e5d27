#include "platform/runtime/date.h"

#include <gtest/gtest.h>

#include "platform/runtime/error.h"

using rt::Date;

namespace {
Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) { return *Date::FromParts(y, m, d, hh, mm, ss); }
}  // namespace

TEST(DateTest, SerialNumbersMatchTheDayCount) {
  EXPECT_EQ(D(1899, 12, 30).Serial(), 0.0);
  EXPECT_EQ(D(1900, 1, 1).Serial(), 2.0);
  EXPECT_EQ(D(1970, 1, 1).Serial(), 25569.0);
  EXPECT_EQ(D(2004, 3, 5).Serial(), 38051.0);
  EXPECT_EQ(D(1800, 1, 1).Serial(), -36522.0);
  EXPECT_DOUBLE_EQ(D(2004, 3, 5, 18, 0, 0).Serial(), 38051.75);
}

TEST(DateTest, PartsRoundTripIncludingBefore1900AndLeapDays) {
  for (Date d : {D(1800, 1, 1), D(1899, 12, 29, 6, 0, 0), D(2000, 2, 29), D(2020, 12, 31, 23, 59, 59)}) {
    Date back = *Date::FromParts(d.Year(), d.Month(), d.Day(), d.Hour(), d.Minute(), d.Second());
    EXPECT_EQ(back, d) << rt::FormatDate(d);
  }
  EXPECT_DOUBLE_EQ(D(1899, 12, 29, 6, 0, 0).Serial(), -1.25);
  EXPECT_FALSE(Date::FromParts(2001, 2, 29));
  EXPECT_FALSE(Date::FromParts(2004, 13, 1));
}

TEST(DateTest, WeekdayCountsFromSunday) {
  EXPECT_EQ(D(1899, 12, 30).Weekday(), 7);  // Saturday
  EXPECT_EQ(D(2007, 1, 1).Weekday(), 2);    // Monday
  EXPECT_EQ(D(2004, 3, 7).Weekday(), 1);    // Sunday
  EXPECT_EQ(D(1800, 1, 1).Weekday(), 4);    // Wednesday
}

TEST(DateTest, ArithmeticAndOrderFollowTheTimeLine) {
  EXPECT_EQ(D(2004, 3, 5) - 5, D(2004, 2, 29));
  EXPECT_EQ(D(1800, 1, 1) + 1, D(1800, 1, 2));
  EXPECT_DOUBLE_EQ(D(2004, 3, 5) - D(2004, 1, 1), 64.0);
  EXPECT_LT(D(1899, 12, 29, 6, 0, 0), D(1899, 12, 29, 12, 0, 0));
  EXPECT_LT(D(1800, 1, 1), Date());
  EXPECT_EQ((D(1899, 12, 29, 18, 0, 0) + 0.5), D(1899, 12, 30, 6, 0, 0));
}

TEST(DateTest, DefaultTextForms) {
  EXPECT_EQ(rt::FormatDate(Date()), "12:00:00 AM");
  EXPECT_EQ(rt::FormatDate(D(2004, 3, 5)), "3/5/2004");
  EXPECT_EQ(rt::FormatDate(D(1800, 1, 1)), "1/1/1800");
  EXPECT_EQ(rt::FormatDate(D(2004, 3, 5, 13, 4, 5)), "3/5/2004 1:04:05 PM");
  EXPECT_EQ(rt::FormatDate(D(2004, 3, 5, 0, 0, 1)), "3/5/2004 12:00:01 AM");
  EXPECT_EQ(rt::FormatDate(rt::TimeSerial(12, 30, 0)), "12:30:00 PM");
  EXPECT_EQ(rt::FormatMMDDYY(D(2004, 3, 5)), "03/05/04");
  EXPECT_EQ(rt::FormatMMDDYYYY(D(2004, 3, 5)), "03/05/2004");
  EXPECT_EQ(rt::FormatYYYYMMDD(D(2004, 3, 5)), "20040305");
  EXPECT_EQ(rt::FormatIso(D(2004, 3, 5)), "2004-03-05");
  EXPECT_EQ(rt::FormatIso(D(2004, 3, 5, 9, 30, 0)), "2004-03-05 09:30:00");
}

TEST(DateTest, ParsesTheFormsTheProgramMeets) {
  EXPECT_EQ(rt::ParseDate("3/5/2004"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate(" 03/05/04 "), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("1/1/45"), D(1945, 1, 1));
  EXPECT_EQ(rt::ParseDate("1/1/29"), D(2029, 1, 1));
  EXPECT_EQ(rt::ParseDate("2004-03-05"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("2004-03-05 13:45:00"), D(2004, 3, 5, 13, 45, 0));
  EXPECT_EQ(rt::ParseDate("Mar 5, 2004"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("March 5, 2004"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("5-Mar-04"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("5-Mar-2004"), D(2004, 3, 5));
  EXPECT_EQ(rt::ParseDate("3/5/2004 1:04:05 PM"), D(2004, 3, 5, 13, 4, 5));
  EXPECT_EQ(rt::ParseDate("12:00:00 AM"), Date());
  EXPECT_EQ(rt::ParseDate("1/1/1800"), D(1800, 1, 1));
}

TEST(DateTest, RejectsWhatIsNotADate) {
  for (const char* text : {"", "Date", "12.5", "2/30/2004", "13/1/2004", "Open", "3/5", "5-Foo-04", "1/1/2004 x"})
    EXPECT_FALSE(rt::IsDate(text)) << text;
  EXPECT_THROW(rt::CDate("High"), rt::Error);
}

TEST(DateTest, SecondsBetweenCountsBoundaries) {
  Date start = D(2004, 3, 5, 10, 0, 0);
  EXPECT_EQ(rt::SecondsBetween(start, start), 0);
  EXPECT_EQ(rt::SecondsBetween(start, D(2004, 3, 5, 11, 2, 5)), 3725);
  EXPECT_EQ(rt::SecondsBetween(start, D(2004, 3, 5, 9, 59, 30)), -30);
}

TEST(DateTest, DateSerialNormalises) {
  EXPECT_EQ(rt::DateSerial(2004, 13, 1), D(2005, 1, 1));
  EXPECT_EQ(rt::DateSerial(2004, 3, 0), D(2004, 2, 29));
  EXPECT_EQ(rt::DateSerial(2004, 0, 15), D(2003, 12, 15));
}
