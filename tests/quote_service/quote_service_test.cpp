// The service as the program meets it: a process on a loopback port, asked
// over HTTP through the program's own client.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/inet/open_url.h"
#include "platform/inet/service_addresses.h"
#include "platform/runtime/date.h"
#include "support/quote_service_process.h"

namespace {

// The date cells of a page, in page order (header cells are not dates).
std::vector<rt::Date> PageDates(const std::string& page) {
  std::vector<rt::Date> dates;
  const std::string rowStart = "<tr><td><nobr>";
  for (size_t at = page.find(rowStart); at != std::string::npos; at = page.find(rowStart, at + 1)) {
    size_t start = at + rowStart.size();
    auto date = rt::ParseDate(page.substr(start, page.find("</nobr>", start) - start));
    if (date) dates.push_back(*date);
  }
  return dates;
}

std::string History(const std::string& query) { return inet::OpenURL(inet::QuoteServiceAddress() + "/d?" + query); }

class QuoteServiceTest : public ::testing::Test {
 protected:
  testsupport::QuoteServiceProcess service_;
};

}  // namespace

TEST_F(QuoteServiceTest, AnswersTheTestPage) {
  EXPECT_EQ(inet::QuoteServiceAddress(), service_.Address());
  EXPECT_FALSE(inet::OpenURL(inet::TestPageAddress()).empty());
}

TEST_F(QuoteServiceTest, AFullPageIsTheNewestTwoHundredDaysOfTheRange) {
  // 2004-01-02 .. 2004-12-31 holds 252 trading days.
  std::string page = History("a=0&b=01&c=2004&d=11&e=31&f=2004&g=d&s=IBM");
  std::vector<rt::Date> dates = PageDates(page);
  ASSERT_EQ(dates.size(), 200u);
  EXPECT_EQ(dates.front(), rt::DateSerial(2004, 12, 31));
  for (size_t i = 1; i < dates.size(); ++i) ASSERT_LT(dates[i], dates[i - 1]);

  // The rest of the year, asked for as the program asks: ending at the oldest day.
  rt::Date oldest = dates.back();
  std::string rest = History("a=0&b=01&c=2004&d=" + std::to_string(oldest.Month() - 1) +
                             "&e=" + std::to_string(oldest.Day()) + "&f=2004&g=d&s=IBM");
  std::vector<rt::Date> restDates = PageDates(rest);
  ASSERT_EQ(restDates.size(), 53u);
  EXPECT_EQ(restDates.front(), oldest);
  EXPECT_EQ(restDates.back(), rt::DateSerial(2004, 1, 2));
}

TEST_F(QuoteServiceTest, ServesIndicesWhetherTheCaretIsEncodedOrNot) {
  std::string raw = History("a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=^DJI");
  std::string encoded = History("a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=%5EDJI");
  EXPECT_EQ(PageDates(raw).size(), 5u);
  EXPECT_EQ(raw, encoded);
  EXPECT_EQ(PageDates(History("a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=ibm")).size(), 5u);
}

TEST_F(QuoteServiceTest, UnknownSymbolsAndEmptyRangesGetTheHeaderAlone) {
  for (const char* query : {"a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=NOSUCH", "a=2&b=01&c=1990&d=2&e=05&f=1990&g=d&s=FB",
                            "a=2&b=05&c=2004&d=2&e=01&f=2004&g=d&s=IBM"}) {
    std::string page = History(query);
    EXPECT_NE(page.find("<nobr>Date</nobr>"), std::string::npos) << query;
    EXPECT_TRUE(PageDates(page).empty()) << query;
  }
}

TEST_F(QuoteServiceTest, RefusesPathsAndMalformedRequests) {
  for (const char* query :
       {"a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=..", "a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=..%2FREADME.md%00",
        "a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=%2Fetc%2Fpasswd",
        "a=2&b=01&c=2004&d=2&e=05&f=2004&g=d&s=..%2Fdata%2FIBM", "a=12&b=01&c=2004&d=2&e=05&f=2004&g=d&s=IBM",
        "a=2&b=01&c=04&d=2&e=05&f=2004&g=d&s=IBM"})
    EXPECT_EQ(History(query), "") << query;
  EXPECT_EQ(inet::OpenURL(service_.Address() + "/data/IBM.csv"), "");
  EXPECT_EQ(inet::OpenURL(service_.Address() + "/../IBM.csv"), "");
}
