#pragma once
// Reads the rows of a quote-history page: after the first "Date", cells in
// <nobr>...</nobr> (the close in <b>...</b>) in the order date, open, high,
// low, close, volume, adjusted close. Cells that are not a date are passed
// over until one is, so header rows fall away.
//
// Only complete rows are kept: a row whose open is not a number is abandoned
// (the search for a date goes on with its next cell), and a row with any other
// price that is not a number, or one cut short by the end of the page, is
// dropped, so a blank or half-read row can never be stored.
#include <string>

#include "market_data/day_record.h"
#include "platform/runtime/date.h"

struct QuotePageResult {
  DayRecords rows;               // newest first, as on the page
  bool foundDateHeader = false;  // false: the page has no "Date" at all
  std::string error;             // a volume that is not a number ends the parse
};

QuotePageResult ParseQuotePageRows(const std::string& page);

// The address of one page of the symbol's history (trimmed, percent-encoded).
std::string QuoteRequestAddress(const std::string& symbol, rt::Date startDate, rt::Date endDate);
