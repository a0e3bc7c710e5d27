#include "support/synthetic_days.h"

namespace testsupport {

DayRecords MakeDays(long count, const std::function<SyntheticDay(long row)>& dayAt) {
  DayRecords days(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    const SyntheticDay day = dayAt(i);
    DayRecord& record = days[static_cast<size_t>(i)];
    record.strClose = rt::PriceText(day.close);
    record.strHigh = rt::PriceText(day.high);
    record.strLow = rt::PriceText(day.low);
    record.strOpen = rt::PriceText(day.close);
    record.lngVolume = day.volume;
    record.datDamnDate = rt::Date(45000.0 - static_cast<double>(i));
  }
  return days;
}

DayRecords MakeCloses(long count, const std::function<double(long row)>& closeAt) {
  return MakeDays(count, [&](long i) {
    const double close = closeAt(i);
    return SyntheticDay{close, close, close, 1000};
  });
}

}  // namespace testsupport
