#include "market_data/calendar_and_log.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>

#include "platform/runtime/app_folder.h"

bool blnLogging = false;

namespace {

constexpr int kSaturday = 7;
constexpr int kSunday = 1;

bool IsListedHoliday(const rt::Date& day) {
  return (day.Month() == 1 && day.Day() == 1) || (day.Month() == 2 && day.Day() == 18);
}

bool IsWeekend(const rt::Date& day) {
  int weekday = day.Weekday();
  return weekday == kSaturday || weekday == kSunday;
}

// A number with at least two digits, the sign in front ("-01", "100").
std::string TwoDigits(long long value) {
  char text[32];
  std::snprintf(text, sizeof text, value < 0 ? "-%02lld" : "%02lld", value < 0 ? -value : value);
  return text;
}

// Division rounding towards minus infinity (denominator positive).
long long FloorDiv(long long numerator, long long denominator) {
  long long quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;
  return quotient;
}

}  // namespace

rt::Date PreviousTradingDay(rt::Date& datDay) {
  // The holiday is tested once, before the weekend steps, so a holiday reached
  // by stepping back over a weekend is returned as it is.
  if (IsListedHoliday(datDay)) datDay = datDay - 1;
  while (IsWeekend(datDay)) datDay = datDay - 1;
  return datDay;
}

bool HoldsTradingDay(rt::Date first, rt::Date last) {
  rt::Date day = std::min(last.DateOnly(), rt::Today());
  return PreviousTradingDay(day) >= first.DateOnly();
}

void LogError(std::string_view strMessage) {
  if (!blnLogging) return;
  std::ofstream log(rt::AppFolder() / "err.log", std::ios::binary | std::ios::app);
  if (!log) return;  // tracing must never break the run it traces
  log << rt::FormatDate(rt::Now()) << '\t' << strMessage << "\r\n";
}

std::string FormatElapsedTime(rt::Date datStart, rt::Date datFinish) {
  long long seconds = rt::SecondsBetween(datStart, datFinish);
  if (seconds > std::numeric_limits<int32_t>::max() || seconds < std::numeric_limits<int32_t>::min()) return "00:00:00";
  long long hours = FloorDiv(seconds, 3600);
  long long minutes = FloorDiv(seconds - hours * 3600, 60);
  long long rest = seconds - hours * 3600 - minutes * 60;
  return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
}
