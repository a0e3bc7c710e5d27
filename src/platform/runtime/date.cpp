#include "platform/runtime/date.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/runtime/error.h"

namespace rt {
namespace {

constexpr long kSerialOfUnixEpoch = 25569;  // 1 January 1970
constexpr double kSecondsPerDay = 86400.0;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

struct Civil {
  long year;
  unsigned month;
  unsigned day;
};

Civil CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {y + (m <= 2), m, d};
}

bool IsLeap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(long y, unsigned m) {
  static constexpr std::array<unsigned, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// A date split into its whole day and its time of day in whole seconds.
struct Split {
  long day;
  long seconds;
};

Split SplitSerial(double serial) {
  double whole = std::trunc(serial);
  long seconds = std::lround(std::fabs(serial - whole) * kSecondsPerDay);
  long day = static_cast<long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  return {day, seconds};
}

double JoinSerial(long day, double dayFraction) {
  return day >= 0 ? static_cast<double>(day) + dayFraction : static_cast<double>(day) - dayFraction;
}

// The date on a straight time line (time always counts forward from its day).
double Linear(Date d) {
  double whole = std::trunc(d.Serial());
  return whole + std::fabs(d.Serial() - whole);
}

Date FromLinear(double linear) {
  double day = std::floor(linear);
  return Date(JoinSerial(static_cast<long>(day), linear - day));
}

Civil CivilOf(Date d) { return CivilFromDays(SplitSerial(d.Serial()).day - kSerialOfUnixEpoch); }

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// ---- parsing -------------------------------------------------------------

constexpr std::array<const char*, 12> kMonthNames = {"january",   "february", "march",    "april",
                                                     "may",       "june",     "july",     "august",
                                                     "september", "october",  "november", "december"};

class Scanner {
 public:
  explicit Scanner(std::string_view t) : t_(t) {}
  bool AtEnd() const { return i_ >= t_.size(); }
  char Peek() const { return AtEnd() ? '\0' : t_[i_]; }
  void SkipBlanks() {
    while (!AtEnd() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
  }
  bool Accept(char c) {
    if (Peek() == c) {
      ++i_;
      return true;
    }
    return false;
  }
  // Digits; returns the count read (0 when none) and the value.
  int Number(long& value) {
    int n = 0;
    value = 0;
    while (!AtEnd() && std::isdigit(static_cast<unsigned char>(t_[i_])) && n < 9) {
      value = value * 10 + (t_[i_] - '0');
      ++i_;
      ++n;
    }
    return n;
  }
  // A month name or its first three letters; 0 when none.
  int MonthName() {
    size_t start = i_;
    std::string word;
    while (!AtEnd() && std::isalpha(static_cast<unsigned char>(t_[i_]))) {
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(t_[i_])));
      ++i_;
    }
    if (word.size() >= 3) {
      for (size_t m = 0; m < kMonthNames.size(); ++m) {
        std::string_view full = kMonthNames[m];
        if (full == word || (word.size() <= full.size() && full.substr(0, word.size()) == word &&
                             (word.size() == 3 || (m == 8 && word == "sept")))) {
          Accept('.');
          return static_cast<int>(m) + 1;
        }
      }
    }
    i_ = start;
    return 0;
  }
  size_t Pos() const { return i_; }
  void Reset(size_t p) { i_ = p; }

 private:
  std::string_view t_;
  size_t i_ = 0;
};

long WindowYear(long y, int digits) {
  if (digits <= 2) return y < 30 ? 2000 + y : 1900 + y;
  return y;
}

struct DatePart {
  long year;
  long month;
  long day;
};

std::optional<DatePart> ParseDatePart(Scanner& s) {
  size_t start = s.Pos();
  long a = 0;
  int da = s.Number(a);
  if (da > 0) {
    if (s.Accept('-')) {
      if (da == 4) {  // yyyy-mm-dd
        long m = 0, d = 0;
        if (s.Number(m) == 0 || !s.Accept('-') || s.Number(d) == 0) return std::nullopt;
        return DatePart{a, m, d};
      }
      int m = s.MonthName();  // d-Mon-yy
      if (m == 0) {
        long mm = 0, y = 0;  // m-d-yyyy
        if (s.Number(mm) == 0 || !s.Accept('-')) return std::nullopt;
        int dy = s.Number(y);
        if (dy == 0) return std::nullopt;
        return DatePart{WindowYear(y, dy), a, mm};
      }
      if (!s.Accept('-')) return std::nullopt;
      long y = 0;
      int dy = s.Number(y);
      if (dy == 0) return std::nullopt;
      return DatePart{WindowYear(y, dy), m, a};
    }
    if (s.Accept('/')) {  // m/d/y
      long d = 0, y = 0;
      if (s.Number(d) == 0 || !s.Accept('/')) return std::nullopt;
      int dy = s.Number(y);
      if (dy == 0) return std::nullopt;
      if (da == 4) return DatePart{a, d, y};  // yyyy/mm/dd
      return DatePart{WindowYear(y, dy), a, d};
    }
    if (s.Peek() == ' ') {  // d Mon yyyy
      s.SkipBlanks();
      int m = s.MonthName();
      if (m == 0) {
        s.Reset(start);
        return std::nullopt;
      }
      s.SkipBlanks();
      s.Accept(',');
      s.SkipBlanks();
      long y = 0;
      int dy = s.Number(y);
      if (dy == 0) return std::nullopt;
      return DatePart{WindowYear(y, dy), m, a};
    }
    s.Reset(start);
    return std::nullopt;
  }
  int m = s.MonthName();  // Mon d, yyyy
  if (m == 0) return std::nullopt;
  s.SkipBlanks();
  s.Accept('-');
  long d = 0, y = 0;
  if (s.Number(d) == 0) return std::nullopt;
  s.SkipBlanks();
  s.Accept(',');
  s.Accept('-');
  s.SkipBlanks();
  int dy = s.Number(y);
  if (dy == 0) return std::nullopt;
  return DatePart{WindowYear(y, dy), m, d};
}

struct TimePart {
  long hour;
  long minute;
  long second;
};

std::optional<TimePart> ParseTimePart(Scanner& s) {
  long h = 0, m = 0, sec = 0;
  if (s.Number(h) == 0 || !s.Accept(':') || s.Number(m) == 0) return std::nullopt;
  if (s.Accept(':') && s.Number(sec) == 0) return std::nullopt;
  s.SkipBlanks();
  char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s.Peek())));
  if (c == 'A' || c == 'P') {
    size_t p = s.Pos();
    s.Accept(s.Peek());
    char c2 = static_cast<char>(std::toupper(static_cast<unsigned char>(s.Peek())));
    if (c2 != 'M') {
      s.Reset(p);
      return std::nullopt;
    }
    s.Accept(s.Peek());
    if (h < 1 || h > 12) return std::nullopt;
    if (h == 12) h = 0;
    if (c == 'P') h += 12;
  }
  if (h > 23 || m > 59 || sec > 59) return std::nullopt;
  return TimePart{h, m, sec};
}

}  // namespace

std::optional<Date> Date::FromParts(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  if (static_cast<unsigned>(day) > DaysInMonth(year, static_cast<unsigned>(month))) return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  long dayNumber = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kSerialOfUnixEpoch;
  // (Most dates have no time of day: they skip the division.)
  double fraction = (hour | minute | second) == 0 ? 0.0 : (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
  return Date(JoinSerial(dayNumber, fraction));
}

int Date::Year() const { return static_cast<int>(CivilOf(*this).year); }
int Date::Month() const { return static_cast<int>(CivilOf(*this).month); }
int Date::Day() const { return static_cast<int>(CivilOf(*this).day); }
int Date::Hour() const { return static_cast<int>(SplitSerial(serial_).seconds / 3600); }
int Date::Minute() const { return static_cast<int>(SplitSerial(serial_).seconds / 60 % 60); }
int Date::Second() const { return static_cast<int>(SplitSerial(serial_).seconds % 60); }
int Date::Weekday() const {
  long day = SplitSerial(serial_).day;
  return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}
bool Date::HasTime() const { return SplitSerial(serial_).seconds != 0; }
long Date::DayNumber() const { return SplitSerial(serial_).day; }
Date Date::DateOnly() const { return Date(static_cast<double>(SplitSerial(serial_).day)); }

Date Date::AddDays(double days) const { return FromLinear(Linear(*this) + days); }

double operator-(Date a, Date b) { return Linear(a) - Linear(b); }

std::partial_ordering operator<=>(const Date& a, const Date& b) { return Linear(a) <=> Linear(b); }
bool operator==(const Date& a, const Date& b) { return Linear(a) == Linear(b); }

Date DateSerial(int year, int month, int day) {
  long y = year;
  long m = month - 1;
  y += m >= 0 ? m / 12 : (m - 11) / 12;
  m = ((m % 12) + 12) % 12;
  if (y >= 0 && y < 30) y += 2000;
  else if (y >= 30 && y < 100) y += 1900;
  long first = DaysFromCivil(y, static_cast<unsigned>(m + 1), 1) + kSerialOfUnixEpoch;
  return Date(static_cast<double>(first + day - 1));
}

Date TimeSerial(int hour, int minute, int second) {
  return Date((hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay);
}

Date Now() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return *Date::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec);
}

Date Today() { return Now().DateOnly(); }

long long SecondsBetween(Date start, Date finish) {
  auto secs = [](Date d) { return std::llround(Linear(d) * kSecondsPerDay); };
  return secs(finish) - secs(start);
}

std::string FormatShortDate(Date d) {
  Civil c = CivilOf(d);
  return std::to_string(c.month) + "/" + std::to_string(c.day) + "/" + std::to_string(c.year);
}

std::string FormatTime(Date d) {
  long secs = SplitSerial(d.Serial()).seconds;
  long h = secs / 3600;
  long m = secs / 60 % 60;
  long s = secs % 60;
  long h12 = h % 12 == 0 ? 12 : h % 12;
  return std::to_string(h12) + ":" + TwoDigits(static_cast<int>(m)) + ":" + TwoDigits(static_cast<int>(s)) +
         (h < 12 ? " AM" : " PM");
}

std::string FormatDate(Date d) {
  Split s = SplitSerial(d.Serial());
  if (s.day == 0) return FormatTime(d);  // the zero date shows as its time of day
  if (s.seconds == 0) return FormatShortDate(d);
  return FormatShortDate(d) + " " + FormatTime(d);
}

std::string FormatMMDDYY(Date d) {
  Civil c = CivilOf(d);
  return TwoDigits(static_cast<int>(c.month)) + "/" + TwoDigits(static_cast<int>(c.day)) + "/" +
         TwoDigits(static_cast<int>(((c.year % 100) + 100) % 100));
}

std::string FormatMMDDYYYY(Date d) {
  Civil c = CivilOf(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04ld", c.month, c.day, c.year);
  return buf;
}

std::string FormatYYYYMMDD(Date d) {
  Civil c = CivilOf(d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04ld%02u%02u", c.year, c.month, c.day);
  return buf;
}

std::string FormatIso(Date d) {
  Civil c = CivilOf(d);
  char buf[48];
  long secs = SplitSerial(d.Serial()).seconds;
  if (secs == 0 && c.year >= 0 && c.year <= 9999) {
    // Written by hand: every stored row's date goes through here.
    std::string text = "0000-00-00";
    for (long year = c.year, i = 3; i >= 0; --i, year /= 10)
      text[static_cast<size_t>(i)] = static_cast<char>('0' + year % 10);
    text[5] = static_cast<char>('0' + c.month / 10);
    text[6] = static_cast<char>('0' + c.month % 10);
    text[8] = static_cast<char>('0' + c.day / 10);
    text[9] = static_cast<char>('0' + c.day % 10);
    return text;
  }
  if (secs == 0) {
    std::snprintf(buf, sizeof buf, "%04ld-%02u-%02u", c.year, c.month, c.day);
  } else {
    std::snprintf(buf, sizeof buf, "%04ld-%02u-%02u %02ld:%02ld:%02ld", c.year, c.month, c.day, secs / 3600,
                  secs / 60 % 60, secs % 60);
  }
  return buf;
}

std::optional<Date> ParseDate(std::string_view text) {
  Scanner s(text);
  s.SkipBlanks();
  size_t start = s.Pos();
  std::optional<DatePart> date = ParseDatePart(s);
  if (!date) s.Reset(start);
  s.SkipBlanks();
  if (date && (s.Accept('T') || s.Accept('t'))) s.SkipBlanks();
  std::optional<TimePart> time;
  if (!s.AtEnd()) {
    time = ParseTimePart(s);
    if (!time) return std::nullopt;
  }
  s.SkipBlanks();
  if (!s.AtEnd() || (!date && !time)) return std::nullopt;
  TimePart t = time.value_or(TimePart{0, 0, 0});
  if (!date) return Date((t.hour * 3600.0 + t.minute * 60.0 + t.second) / kSecondsPerDay);
  if (date->year > 9999 || date->month > 12 || date->day > 31) return std::nullopt;
  return Date::FromParts(static_cast<int>(date->year), static_cast<int>(date->month), static_cast<int>(date->day),
                         static_cast<int>(t.hour), static_cast<int>(t.minute), static_cast<int>(t.second));
}

Date CDate(std::string_view text) {
  std::optional<Date> d = ParseDate(text);
  if (!d) RaiseTypeMismatch();
  return *d;
}

}  // namespace rt
