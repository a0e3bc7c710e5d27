#include "market_data/history_rows.h"

#include "market_data/calendar_and_log.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"

rt::Date NotEnoughData() {
  static const rt::Date kSentinel = *rt::Date::FromParts(1800, 1, 1);
  return kSentinel;
}

namespace {

// A stock row's price cells, read from the row itself.
struct RowCells {
  const db::RowReader& row;
  std::string Text(StoredQuoteColumn column) const { return row.Text(column); }
  double Double(StoredQuoteColumn column) const { return row.Double(column); }
};

// The same cells held as the numbers they store: a number reads as text
// in its default text form, as a stored number does.
struct NumberCells {
  const StoredPrices& prices;
  std::string Text(StoredQuoteColumn column) const { return rt::FormatNumber(Double(column)); }
  double Double(StoredQuoteColumn column) const {
    switch (column) {
      case kQuoteOpen: return prices.open;
      case kQuoteHigh: return prices.high;
      case kQuoteLow: return prices.low;
      case kQuoteClose: return prices.close;
      default: return prices.adjClose;
    }
  }
};

// The prices of a stock day, each cell read only once the ones before let
// the day load (a cell that cannot be read fails only a day that loads).
template <typename Cells>
bool StockPrices(const Cells& cells, DayRecord& day) {
  const double close = rt::Val(cells.Text(kQuoteClose));
  if (close == 0) return false;
  day.strClose.Assign(cells.Text(kQuoteAdjClose));  // "" for Null
  const double adjusted = day.strClose.Value();
  if (adjusted == 0) return false;  // bad data from an older download: no price can be derived
  double ratio = close / adjusted;
  // A dividend-sized difference keeps the stored prices; a split rescales them.
  if (ratio > 0.9 && ratio < 1.1) ratio = 1;
  day.strOpen.Assign(cells.Double(kQuoteOpen) / ratio);
  day.strHigh.Assign(cells.Double(kQuoteHigh) / ratio);
  day.strLow.Assign(cells.Double(kQuoteLow) / ratio);
  return true;
}

// Surely read as not zero, in its default text form or cut to six
// characters: "0.001", "1.5E+15", "1.#INF".
bool SurelyNotZero(double stored) { return stored >= 0.001; }

}  // namespace

bool StockDayFromRow(const db::RowReader& row, DayRecord& day) {
  if (!StockPrices(RowCells{row}, day)) return false;
  day.lngVolume = row.Integer(kQuoteVolume);
  day.datDamnDate = row.Date(kQuoteDate);
  return true;
}

bool StockPricesFromNumbers(const StoredPrices& prices, DayRecord& day) {
  return StockPrices(NumberCells{prices}, day);
}

StockRowKind SortStockRow(const db::RowReader& row, StoredPrices& prices) {
  const std::optional<double> close = row.StoredReal(kQuoteClose), adjClose = row.StoredReal(kQuoteAdjClose);
  // (Reading a close or an adjusted close as text never fails.)
  if ((close && *close == 0) || (adjClose && *adjClose == 0)) return StockRowKind::kNotLoaded;
  const std::optional<double> open = row.StoredReal(kQuoteOpen), high = row.StoredReal(kQuoteHigh),
                              low = row.StoredReal(kQuoteLow);
  if (!close || !adjClose || !SurelyNotZero(*close) || !SurelyNotZero(*adjClose) || !open || !high || !low ||
      !row.StoredInteger(kQuoteVolume))
    return StockRowKind::kUnsure;
  prices = {*open, *high, *low, *close, *adjClose};
  return StockRowKind::kLoaded;
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
