// The network side of the quote history: the connectivity test, the request
// for one page of daily history and the parser of the page.
#include <cctype>
#include <cmath>
#include <string>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/quote_page_parser.h"
#include "platform/inet/open_url.h"
#include "platform/inet/service_addresses.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace {

// Every try after an empty reply; the 21st empty reply gives up.
constexpr int kMaxEmptyReplies = 20;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// Percent-encodes everything but unreserved characters, so "^DJI" and odd
// symbols reach the service intact.
std::string PercentEncode(const std::string& s) {
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

std::string QuoteRequestAddress(const std::string& symbol, rt::Date startDate, rt::Date endDate) {
  return inet::QuoteServiceAddress() + "/d?a=" + std::to_string(startDate.Month() - 1) +
         "&b=" + TwoDigits(startDate.Day()) + "&c=" + std::to_string(startDate.Year()) +
         "&d=" + std::to_string(endDate.Month() - 1) + "&e=" + TwoDigits(endDate.Day()) +
         "&f=" + std::to_string(endDate.Year()) + "&g=d&s=" + PercentEncode(Trim(symbol));
}

bool clsResearch::TestInternet() {
  std::string body;
  try {
    body = inet::OpenURL(inet::TestPageAddress());
  } catch (...) {
    body.clear();
  }
  if (body.empty()) {
    user::MsgBox("No Internet Connection Detected.");
    return false;
  }
  return true;
}

bool clsResearch::PullFromNet(std::string& symbol, rt::Date& startDate, rt::Date& endDate) {
  bool busy = true;
  Raise(&ResearchEvents::Interneting, busy, symbol);
  const std::string address = QuoteRequestAddress(symbol, startDate, endDate);
  const bool isIndex = !symbol.empty() && symbol[0] == '^';
  for (int tries = 0; tries <= kMaxEmptyReplies; ++tries) {
    if (StopProcess()) return false;
    std::string page;
    try {
      page = inet::OpenURL(address);
    } catch (...) {
      user::MsgBox("No internet connection available.\r\nPlease check connection and try again.");
      break;
    }
    if (!page.empty()) {
      bool parsed = ParseQuotePage(page, isIndex);
      busy = false;
      Raise(&ResearchEvents::Interneting, busy, symbol);
      return parsed;
    }
    // Let the window breathe between tries so that Stop can land.
    user::DoEvents();
  }
  busy = false;
  Raise(&ResearchEvents::Interneting, busy, symbol);
  return false;
}

bool clsResearch::ParseQuotePage(const std::string& page, bool /*isIndex*/) {
  QuotePageResult result = ParseQuotePageRows(page);
  udtStockDays = std::move(result.rows);
  if (udtStockDays.empty()) udtStockDays.resize(1);  // one blank element: no rows
  if (!result.error.empty()) {
    user::MsgBox(result.error);
    return false;
  }
  return result.foundDateHeader;
}
