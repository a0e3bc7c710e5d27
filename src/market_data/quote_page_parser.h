#pragma once
// Reads the rows of a quote-history page. The page is a table whose first
// row holding a "Date" cell names the columns Date, Open, High, Low, Close,
// Volume, Adj Close (cells in <nobr>...</nobr>); a reply without that row is
// no quote page, and one whose names differ is refused, since its cells would
// be read into the wrong fields.
//
// Every table row after the names is one day: seven cells, the close in
// <b>...</b>, the others in <nobr>...</nobr>. A row is kept only when it is a
// plausible trading day the table can take as it stands: a date in the
// page's own form ("2-Jan-2019") that is a weekday and not after today;
// prices that are plain positive decimals (also once cut to six characters,
// a cut that may drop decimals only) with Low <= Open, Close <= High; a
// volume that rounds (ties to even) to a whole number from 0 to the 64-bit
// limit. Every other row is left out and counted, so that paging and the
// user both learn of it, and its date is kept when the row names one that
// can be read, so that the day can be fetched again.
#include <string>
#include <vector>

#include "market_data/day_record.h"
#include "platform/runtime/date.h"

struct QuotePageResult {
  DayRecords rows;         // newest first, whatever the page's order
  std::string problem;     // why the reply is no quote page to read; "" when it is one
  size_t rowsLeftOut = 0;  // table rows after the column names that were not kept
  // The dates of the rows left out whose first cell reads as a date in the
  // page's form (any day, weekends too); a row with no readable date names none.
  std::vector<rt::Date> datesLeftOut;
};

QuotePageResult ParseQuotePageRows(const std::string& page);

// The address of one page of the symbol's history (trimmed, percent-encoded).
std::string QuoteRequestAddress(const std::string& symbol, rt::Date startDate, rt::Date endDate);
