#pragma once
// Quote-history pages laid out as the stand-in service serves them, for tests
// that serve pages of their own.
#include <string>

#include "platform/runtime/date.h"

namespace testsupport {

// One day's table row, its cells in the page's order (the close in <b>).
std::string QuotePageRow(const std::string& date, const std::string& open, const std::string& high,
                         const std::string& low, const std::string& close, const std::string& volume,
                         const std::string& adjClose);
// A row whose prices, the adjusted close too, are all one value.
std::string FlatQuotePageRow(const std::string& date, const std::string& price);
// The page around the rows, under the column names the program expects.
std::string QuotePage(const std::string& rows);
// A day in the page's date form: "2-Jan-2019".
std::string QuotePageDate(rt::Date day);

}  // namespace testsupport
