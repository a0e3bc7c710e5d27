#pragma once
// How stored quote rows become day records, shared by the history loader and
// by callers that hold a symbol's stored rows in memory and cut windows from
// them (the Trade stage): both must give exactly the same records.
#include <string>

#include "market_data/day_record.h"
#include "platform/db/row_reader.h"
#include "platform/db/value.h"
#include "platform/runtime/date.h"

// "Not enough data": the result of LoadData when the stored history in the
// window is too short or the load failed. Every caller compares with it.
rt::Date NotEnoughData();

// The row query's columns: DamnDate, [Open], [High], [Low], [Close], and for
// a stock Adj_Close and Volume.
enum StoredQuoteColumn { kQuoteDate, kQuoteOpen, kQuoteHigh, kQuoteLow, kQuoteClose, kQuoteAdjClose, kQuoteVolume };

// The day record of a stock row: the adjusted close as the close, open, high
// and low divided by the close/adjusted-close ratio when it shows a split
// (ratio >= 1.1 or <= 0.9). False for a row whose close or adjusted close
// reads as zero (not loaded).
bool StockDayFromRow(const db::RowReader& row, DayRecord& day);

// A stock row's prices as the numbers it stores.
struct StoredPrices {
  double open, high, low, close, adjClose;
};

// What a stock row surely is, told from its stored numbers alone without
// making any text: a day LoadData leaves out (a close or adjusted close
// stored as 0); a day it loads and whose every cell reads without fail (its
// prices given back, to make its texts when they are wanted); or unsure, when
// only StockDayFromRow can tell.
enum class StockRowKind { kNotLoaded, kLoaded, kUnsure };
StockRowKind SortStockRow(const db::RowReader& row, StoredPrices& prices);

// The prices of a loaded stock day from its stored numbers, exactly as
// StockDayFromRow makes them from the row (the volume and date aside).
bool StockPricesFromNumbers(const StoredPrices& prices, DayRecord& day);

// The day record of an index row, prices as stored; false for a zero close.
bool IndexDayFromRow(const db::RowReader& row, DayRecord& day);

// Whether MIN..MAX of the stored days in the window span more than the
// look-back (a Null bound means no day in the window).
bool SpansMoreThanLookBack(const db::Value& minDate, const db::Value& maxDate, int winDays);

// The first date with a full look-back in memory: the requested start, or the
// oldest loaded day plus the look-back when the history starts later.
rt::Date FirstFullLookBackDate(rt::Date requestedStart, rt::Date oldestLoaded, int winDays);

// The window the loader reads: the start moved back by the look-back (time of
// day dropped), both ends moved back to a trading day.
void HistoryWindow(rt::Date requestedStart, rt::Date requestedEnd, int lookBackDays, rt::Date& windowStart,
                   rt::Date& windowEnd);
