#pragma once
// The HTML page that answers a history request. Layout, which the program's
// quote parser reads:
//   - a table whose first row is the header: <th><nobr>Date</nobr></th>, then
//     Open, High, Low, Close, Volume, Adj Close the same way (none is a date);
//   - then one row per trading day, newest first, seven cells in this order:
//     <td><nobr>5-Mar-2004</nobr></td> date (d-Mon-yyyy)
//     <td><nobr>open</nobr></td> <td><nobr>high</nobr></td> <td><nobr>low</nobr></td>
//     <td><b>close</b></td>
//     <td><nobr>volume</nobr></td> (whole number, no separators)
//     <td><nobr>adjusted close</nobr></td>
//   - no <nobr> after the last row's adjusted close, and no "Date" before the
//     header, so the rows of a page are exactly the days served.
#include <string>
#include <string_view>
#include <vector>

#include "csv_store.h"

namespace quote_service {

inline constexpr size_t kRowsPerPage = 200;

// The rows dated from startIso to endIso (both included), newest first, at
// most maxRows of them: the newest end of the range when it holds more.
std::vector<QuoteRow> SelectPage(const History& history, const std::string& startIso, const std::string& endIso,
                                 size_t maxRows = kRowsPerPage);

// "2004-03-05" as the page writes it: "5-Mar-2004".
std::string PageDate(const std::string& isoDate);
// A price with up to 15 significant digits, no exponent, no trailing zeros.
std::string PriceCell(double price);

// The whole page for the symbol (rows as SelectPage gives them; none for an
// unknown symbol: the header alone).
std::string BuildQuotePage(std::string_view symbol, const std::vector<QuoteRow>& rows);

// The connectivity test page.
std::string BuildTestPage();

}  // namespace quote_service
