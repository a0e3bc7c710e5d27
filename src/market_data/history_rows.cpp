#include "market_data/history_rows.h"

#include "market_data/calendar_and_log.h"
#include "platform/runtime/conversions.h"

rt::Date NotEnoughData() {
  static const rt::Date kSentinel = *rt::Date::FromParts(1800, 1, 1);
  return kSentinel;
}

bool StockDayFromRow(const StoredQuoteRow& row, DayRecord& day) {
  const std::string closeText = row.close.ToText();
  const double close = rt::Val(closeText);
  if (close == 0) return false;
  day.strClose.Assign(row.adjClose.IsNull() ? std::string() : row.adjClose.ToText());
  const double adjusted = day.strClose.Value();
  if (adjusted == 0) return false;  // bad data from an older download: no price can be derived
  double ratio = close / adjusted;
  // A dividend-sized difference keeps the stored prices; a split rescales them.
  if (ratio > 0.9 && ratio < 1.1) ratio = 1;
  day.strOpen.Assign(row.open.ToDouble() / ratio);
  day.strHigh.Assign(row.high.ToDouble() / ratio);
  day.strLow.Assign(row.low.ToDouble() / ratio);
  day.lngVolume = row.volume.ToInteger();
  day.datDamnDate = row.date.ToDate();
  return true;
}

bool IndexDayFromRow(const StoredQuoteRow& row, DayRecord& day) {
  const std::string closeText = row.close.ToText();
  if (rt::Val(closeText) == 0) return false;
  day.strClose.Assign(closeText);
  day.strOpen.Assign(row.open.ToText());
  day.strHigh.Assign(row.high.ToText());
  day.strLow.Assign(row.low.ToText());
  day.datDamnDate = row.date.ToDate();
  return true;
}

bool SpansMoreThanLookBack(const db::Value& minDate, const db::Value& maxDate, int winDays) {
  if (minDate.IsNull() || maxDate.IsNull()) return false;
  return maxDate.ToDate() - minDate.ToDate() > winDays;
}

rt::Date FirstFullLookBackDate(rt::Date requestedStart, rt::Date oldestLoaded, int winDays) {
  if (requestedStart - oldestLoaded >= winDays) return requestedStart;
  return oldestLoaded + winDays;
}

void HistoryWindow(rt::Date requestedStart, rt::Date requestedEnd, int lookBackDays, rt::Date& windowStart,
                   rt::Date& windowEnd) {
  windowStart = (requestedStart - lookBackDays).DateOnly();
  windowEnd = requestedEnd;
  PreviousTradingDay(windowStart);
  PreviousTradingDay(windowEnd);
}
