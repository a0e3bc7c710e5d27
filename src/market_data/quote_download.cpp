// The network side of the quote history: the connectivity test, the request
// for one page of daily history and the parser of the page.
#include <cctype>
#include <chrono>
#include <functional>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/quote_page_parser.h"
#include "platform/inet/open_url.h"
#include "platform/inet/service_addresses.h"
#include "platform/runtime/named_list.h"
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

// The second column of a report line.
std::string AsText(const std::string& text) { return text; }
std::string AsText(size_t count) { return std::to_string(count); }

}  // namespace

std::string QuoteRequestAddress(const std::string& symbol, rt::Date startDate, rt::Date endDate) {
  return inet::QuoteServiceAddress() + "/d?a=" + std::to_string(startDate.Month() - 1) +
         "&b=" + TwoDigits(startDate.Day()) + "&c=" + std::to_string(startDate.Year()) +
         "&d=" + std::to_string(endDate.Month() - 1) + "&e=" + TwoDigits(endDate.Day()) +
         "&f=" + std::to_string(endDate.Year()) + "&g=d&s=" + PercentEncode(Trim(symbol));
}

bool clsResearch::TestInternet() {
  if (inet::OpenURL(inet::TestPageAddress()).empty()) {
    user::MsgBox("No Internet Connection Detected.");
    return false;
  }
  return true;
}

bool clsResearch::PullFromNet(std::string& symbol, rt::Date& startDate, rt::Date& endDate) {
  strDownloadFailure_.clear();
  blnNoConnection_ = false;
  bool busy = true;
  Raise(&ResearchEvents::Interneting, busy, symbol);
  const std::string address = QuoteRequestAddress(symbol, startDate, endDate);
  const bool isIndex = !symbol.empty() && symbol[0] == '^';
  // A Stop ends a fetch within a second; a Pause lets the symbol's download
  // finish, so that the pause takes effect after the symbol.
  const std::function<bool()> stopRequested = [this] {
    user::DoEvents();
    return StopRequested();
  };
  const auto giveUp = std::chrono::steady_clock::now() + inet::CurrentFetchLimits().retries;
  for (int tries = 0; tries <= kMaxEmptyReplies; ++tries) {
    if (StopRequested()) return false;
    inet::FetchFailure failure = inet::FetchFailure::kNone;
    std::string page = inet::OpenURL(address, &failure, stopRequested);
    if (failure == inet::FetchFailure::kCancelled) return false;
    if (failure != inet::FetchFailure::kNone) {
      strDownloadFailure_ = inet::DescribeFailure(failure);
      blnNoConnection_ = failure == inet::FetchFailure::kNoConnection;
      break;
    }
    if (!page.empty()) {
      bool parsed = ParseQuotePage(page, isIndex);
      if (intPageRowsLeftOut_ > 0) {
        LogError("Rows left out of the quote page of " + symbol + ": " + std::to_string(intPageRowsLeftOut_));
        quoteRowsLeftOut_[symbol] += intPageRowsLeftOut_;
      }
      busy = false;
      Raise(&ResearchEvents::Interneting, busy, symbol);
      return parsed;
    }
    if (std::chrono::steady_clock::now() >= giveUp) break;
    // Let the window breathe between tries so that Stop can land.
    user::DoEvents();
  }
  if (strDownloadFailure_.empty()) strDownloadFailure_ = "the quote service sent nothing";
  busy = false;
  Raise(&ResearchEvents::Interneting, busy, symbol);
  return false;
}

bool clsResearch::ParseQuotePage(const std::string& page, bool /*isIndex*/) {
  QuotePageResult result = ParseQuotePageRows(page);
  udtStockDays = std::move(result.rows);
  intPageRowsLeftOut_ = result.rowsLeftOut;
  pageDatesLeftOut_ = std::move(result.datesLeftOut);
  strDownloadFailure_ = result.problem;
  if (udtStockDays.empty()) udtStockDays.resize(1);  // one blank element: no rows
  return result.problem.empty();
}

void clsResearch::NoteDownloadFailure(const std::string& symbol) {
  if (strDownloadFailure_.empty()) return;
  downloadFailures_.emplace_back(symbol, strDownloadFailure_);
  blnNoConnectionReported_ = blnNoConnectionReported_ || blnNoConnection_;
}

void clsResearch::ClearDownloadReport() {
  strDownloadFailure_.clear();
  downloadFailures_.clear();
  quoteRowsLeftOut_.clear();
  blnNoConnectionReported_ = false;
  staleHistory_.clear();
  missingDays_.clear();
  unreadableMissingDays_.clear();
  missingDaysFetched_.clear();
  strMissingDaysUnread_.clear();
  ownTableSymbols_.clear();
}

std::string clsResearch::DownloadReport() const {
  std::string report;
  if (!downloadFailures_.empty()) {
    // Only a failed connection is told as one; any other failure by its reason alone.
    if (blnNoConnectionReported_)
      report = "No internet connection available.\r\nPlease check connection and try again.\r\n\r\n";
    report += "The quote history of these symbols could not be updated:";
    report += rt::SymbolLines(downloadFailures_, " - ", [](const auto& what) { return AsText(what); });
  }
  if (!quoteRowsLeftOut_.empty()) {
    if (!report.empty()) report += "\r\n\r\n";
    report += "Downloaded rows left out as unreadable or not a plausible trading day:";
    report += rt::SymbolLines(quoteRowsLeftOut_, " - ", [](const auto& what) { return AsText(what); });
  }
  for (const std::string& paragraph :
       {StaleHistoryReport(), MissingDaysReport(), UnreadableMissingDaysReport(), OwnTableSymbolsReport()})
    if (!paragraph.empty()) report += (report.empty() ? "" : "\r\n\r\n") + paragraph;
  return report;
}
