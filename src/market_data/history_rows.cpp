#include "market_data/history_rows.h"

#include "market_data/calendar_and_log.h"
#include "platform/runtime/conversions.h"

rt::Date NotEnoughData() {
  static const rt::Date kSentinel = *rt::Date::FromParts(1800, 1, 1);
  return kSentinel;
}

bool StockDayFromRow(const db::RowReader& row, DayRecord& day) {
  const std::string closeText = row.Text(kQuoteClose);
  const double close = rt::Val(closeText);
  if (close == 0) return false;
  day.strClose.Assign(row.Text(kQuoteAdjClose));  // "" for Null
  const double adjusted = day.strClose.Value();
  if (adjusted == 0) return false;  // bad data from an older download: no price can be derived
  double ratio = close / adjusted;
  // A dividend-sized difference keeps the stored prices; a split rescales them.
  if (ratio > 0.9 && ratio < 1.1) ratio = 1;
  day.strOpen.Assign(row.Double(kQuoteOpen) / ratio);
  day.strHigh.Assign(row.Double(kQuoteHigh) / ratio);
  day.strLow.Assign(row.Double(kQuoteLow) / ratio);
  day.lngVolume = row.Integer(kQuoteVolume);
  day.datDamnDate = row.Date(kQuoteDate);
  return true;
}

bool IndexDayFromRow(const db::RowReader& row, DayRecord& day) {
  const std::string closeText = row.Text(kQuoteClose);
  if (rt::Val(closeText) == 0) return false;
  day.strClose.Assign(closeText);
  day.strOpen.Assign(row.Text(kQuoteOpen));
  day.strHigh.Assign(row.Text(kQuoteHigh));
  day.strLow.Assign(row.Text(kQuoteLow));
  day.datDamnDate = row.Date(kQuoteDate);
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
