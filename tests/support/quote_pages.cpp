#include "support/quote_pages.h"

namespace testsupport {

std::string QuotePageRow(const std::string& date, const std::string& open, const std::string& high,
                         const std::string& low, const std::string& close, const std::string& volume,
                         const std::string& adjClose) {
  std::string row = "<tr><td><nobr>" + date + "</nobr></td>";
  for (const std::string* cell : {&open, &high, &low}) row += "<td><nobr>" + *cell + "</nobr></td>";
  return row + "<td><b>" + close + "</b></td><td><nobr>" + volume + "</nobr></td><td><nobr>" + adjClose +
         "</nobr></td></tr>";
}

std::string FlatQuotePageRow(const std::string& date, const std::string& price) {
  return QuotePageRow(date, price, price, price, price, "100", price);
}

std::string QuotePage(const std::string& rows) {
  return "<html><body><table><tr><th><nobr>Date</nobr></th><th><nobr>Open</nobr></th><th><nobr>High</nobr></th>"
         "<th><nobr>Low</nobr></th><th><nobr>Close</nobr></th><th><nobr>Volume</nobr></th>"
         "<th><nobr>Adj Close</nobr></th></tr>" +
         rows + "</table></body></html>";
}

std::string QuotePageDate(rt::Date day) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return std::to_string(day.Day()) + "-" + kMonths[day.Month() - 1] + "-" + std::to_string(day.Year());
}

}  // namespace testsupport
