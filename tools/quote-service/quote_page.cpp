#include "quote_page.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quote_service {
namespace {

const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void TrimTrailingZeros(std::string& number) {
  if (number.find('.') == std::string::npos) return;
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
}

}  // namespace

std::vector<QuoteRow> SelectPage(const History& history, const std::string& startIso, const std::string& endIso,
                                 size_t maxRows) {
  std::vector<QuoteRow> page;
  if (startIso > endIso) return page;
  auto byDate = [](const QuoteRow& row, const std::string& iso) { return row.isoDate < iso; };
  auto first = std::lower_bound(history.begin(), history.end(), startIso, byDate);
  auto last = std::upper_bound(history.begin(), history.end(), endIso,
                               [](const std::string& iso, const QuoteRow& row) { return iso < row.isoDate; });
  for (auto row = last; row != first && page.size() < maxRows;) page.push_back(*--row);
  return page;
}

std::string PageDate(const std::string& isoDate) {
  int year = 0, month = 0, day = 0;
  if (std::sscanf(isoDate.c_str(), "%4d-%2d-%2d", &year, &month, &day) != 3 || month < 1 || month > 12) return "";
  return std::to_string(day) + "-" + kMonthNames[month - 1] + "-" + std::to_string(year);
}

std::string PriceCell(double price) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", price);
  if (std::strchr(text, 'e') != nullptr) std::snprintf(text, sizeof text, "%.12f", price);
  std::string number = text;
  TrimTrailingZeros(number);
  return number;
}

std::string BuildQuotePage(std::string_view symbol, const std::vector<QuoteRow>& rows) {
  std::string page;
  page.reserve(256 + rows.size() * 220);
  page += "<html>\r\n<head><title>Historical Prices: " + EscapeHtml(symbol) + "</title></head>\r\n<body>\r\n";
  page += "<table class=\"quotes\">\r\n<tr>";
  for (const char* heading : {"Date", "Open", "High", "Low", "Close", "Volume", "Adj Close"})
    page += std::string("<th><nobr>") + heading + "</nobr></th>";
  page += "</tr>\r\n";
  for (const QuoteRow& row : rows) {
    page += "<tr><td><nobr>" + PageDate(row.isoDate) + "</nobr></td>";
    page += "<td><nobr>" + PriceCell(row.open) + "</nobr></td>";
    page += "<td><nobr>" + PriceCell(row.high) + "</nobr></td>";
    page += "<td><nobr>" + PriceCell(row.low) + "</nobr></td>";
    page += "<td><b>" + PriceCell(row.close) + "</b></td>";
    page += "<td><nobr>" + std::to_string(row.volume) + "</nobr></td>";
    page += "<td><nobr>" + PriceCell(row.adjClose) + "</nobr></td></tr>\r\n";
  }
  page += "</table>\r\n</body>\r\n</html>\r\n";
  return page;
}

std::string BuildTestPage() {
  return "<html>\r\n<head><title>Quote service</title></head>\r\n<body>Connected.</body>\r\n</html>\r\n";
}

}  // namespace quote_service
