#pragma once
// Reads the rows of a quote-history page: after the first "Date", cells in
// <nobr>...</nobr> (the close in <b>...</b>) in the order date, open, high,
// low, close, volume, adjusted close. Cells that are not a date are passed
// over until one is, so header rows fall away.
//
// A row whose open is not a number is abandoned (the search for a date goes on
// with its next cell); a row cut short by the end of the page is dropped.
// Every other row is kept only when its values can be stored as they are: a
// calendar date (no time-only cell), prices that are plain positive decimals
// (also once cut to six characters), a volume that rounds (ties to even) to
// a whole number from 0 to the 64-bit limit. Rows that fail are left out and
// counted, so that a bad cell can never reach the database.
#include <string>

#include "market_data/day_record.h"
#include "platform/runtime/date.h"

struct QuotePageResult {
  DayRecords rows;               // newest first, as on the page
  bool foundDateHeader = false;  // false: the page has no "Date" at all
  size_t rowsLeftOut = 0;        // rows read whole but left out for a bad value
};

QuotePageResult ParseQuotePageRows(const std::string& page);

// The address of one page of the symbol's history (trimmed, percent-encoded).
std::string QuoteRequestAddress(const std::string& symbol, rt::Date startDate, rt::Date endDate);
