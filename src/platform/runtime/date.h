#pragma once
// The program's date type: a day count with the time of day as a fraction,
// day 0 being 30 December 1899 (the zero date). Negative counts reach back
// before 1900; for them the whole part is the day and the fraction's
// magnitude the time, as the stored dates and the "1/1/1800" sentinel expect.
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

class Date {
 public:
  constexpr Date() = default;
  constexpr explicit Date(double serial) : serial_(serial) {}

  // A calendar date with an optional time; nullopt when a part is out of range.
  static std::optional<Date> FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  constexpr double Serial() const { return serial_; }
  constexpr bool IsZero() const { return serial_ == 0.0; }

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  int Weekday() const;  // 1 = Sunday ... 7 = Saturday
  bool HasTime() const;
  Date DateOnly() const;
  long DayNumber() const;  // the whole day count (serial without the time)

  Date AddDays(double days) const;

 private:
  double serial_ = 0.0;
};

// Ordered on the time line (the serial alone misorders times before 1900).
std::partial_ordering operator<=>(const Date& a, const Date& b);
bool operator==(const Date& a, const Date& b);

inline Date operator+(Date d, double days) { return d.AddDays(days); }
inline Date operator-(Date d, double days) { return d.AddDays(-days); }
// Days between two dates (fraction included).
double operator-(Date a, Date b);

// Normalising constructor: month 13 is January of the next year, day 0 the
// last day of the month before, and so on.
Date DateSerial(int year, int month, int day);
Date TimeSerial(int hour, int minute, int second);

Date Now();
Date Today();

// Whole seconds between two moments, counting second boundaries crossed.
long long SecondsBetween(Date start, Date finish);

// The default text form: "M/d/yyyy", "h:mm:ss AM" for a time of day,
// both joined by a blank, "12:00:00 AM" for the zero date.
std::string FormatDate(Date d);
std::string FormatShortDate(Date d);  // "M/d/yyyy", never a time
std::string FormatTime(Date d);       // "h:mm:ss AM"
std::string FormatMMDDYY(Date d);     // "03/05/04"
std::string FormatMMDDYYYY(Date d);   // "03/05/2004"
std::string FormatYYYYMMDD(Date d);   // "20040305"
std::string FormatIso(Date d);        // "2004-03-05", with " 13:45:00" when there is a time

// Reads a date text the way the program's users and files write them:
// "3/5/2004", "03/05/04", "2004-03-05", "Mar 5, 2004", "5-Mar-2004", "5-Mar-04",
// "March 5, 2004", each optionally followed by a time ("1:45:00 PM", "13:45",
// "13:45:00"), or a time alone ("12:00:00 AM" is the zero date).
// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. nullopt when not a date.
std::optional<Date> ParseDate(std::string_view text);
inline bool IsDate(std::string_view text) { return ParseDate(text).has_value(); }
// ParseDate or the type-mismatch error.
Date CDate(std::string_view text);

}  // namespace rt
