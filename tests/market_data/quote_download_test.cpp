#include <gtest/gtest.h>

#include "market_data/day_record.h"
#include "market_data/quote_page_parser.h"
#include "platform/inet/open_url.h"
#include "platform/inet/service_addresses.h"
#include "support/engine_test_bed.h"
#include "support/quote_pages.h"
#include "support/quote_service_process.h"
#include "support/scripted_http_server.h"

namespace {

using testsupport::Day;
using testsupport::EngineTestBed;

using testsupport::QuotePage;

std::string Row(const std::string& date, const std::string& open, const std::string& close = "10.5",
                const std::string& volume = "1000", const std::string& high = "11", const std::string& low = "9") {
  return testsupport::QuotePageRow(date, open, high, low, close, volume, close);
}

TEST(QuoteRequest, AddressCarriesZeroBasedMonthsTwoDigitDaysAndTheTrimmedEncodedSymbol) {
  ::setenv(inet::kQuoteHostVariable, "http://quotes.example:9", 1);
  EXPECT_EQ(QuoteRequestAddress(" IBM ", Day(2004, 3, 5), Day(2004, 12, 31)),
            "http://quotes.example:9/d?a=2&b=05&c=2004&d=11&e=31&f=2004&g=d&s=IBM");
  EXPECT_EQ(QuoteRequestAddress("^DJI", Day(2000, 1, 3), Day(2000, 10, 9)),
            "http://quotes.example:9/d?a=0&b=03&c=2000&d=9&e=09&f=2000&g=d&s=%5EDJI");
  EXPECT_EQ(QuoteRequestAddress("A&B=C", Day(2000, 1, 3), Day(2000, 1, 3)),
            "http://quotes.example:9/d?a=0&b=03&c=2000&d=0&e=03&f=2000&g=d&s=A%26B%3DC");
  ::unsetenv(inet::kQuoteHostVariable);
}

TEST(QuotePageParser, ReadsDataRowsAndCountsEveryRowPassedOver) {
  QuotePageResult page = ParseQuotePageRows(
      QuotePage(Row("5-Mar-2004", "10.25") + Row("4-Mar-2004", "N/A") + "<tr><td><nobr>Dividend</nobr></td></tr>" +
                Row("3-Mar-2004", "10582.589844", "10595.549805", "266500000", "10600", "10500")));
  EXPECT_EQ(page.problem, "");
  EXPECT_EQ(page.rowsLeftOut, 2u);
  ASSERT_EQ(page.rows.size(), 2u);
  EXPECT_EQ(page.rows[0].datDamnDate, Day(2004, 3, 5));
  EXPECT_EQ(page.rows[0].strOpen.Text(), "10.25 ");
  EXPECT_EQ(page.rows[0].strHigh.Text(), "11    ");
  EXPECT_EQ(page.rows[0].strLow.Text(), "9     ");
  EXPECT_EQ(page.rows[0].strClose.Text(), "10.5  ");
  EXPECT_EQ(page.rows[0].lngVolume, 1000);
  EXPECT_EQ(page.rows[1].datDamnDate, Day(2004, 3, 3));
  EXPECT_EQ(page.rows[1].strOpen.Text(), "10582.");  // cut to six characters
  EXPECT_EQ(page.rows[1].strAdjClose.Text(), "10595.");
  EXPECT_EQ(page.rows[1].lngVolume, 266500000);
}

TEST(QuotePageParser, NeverKeepsAHalfReadRowOrABlankOne) {
  std::string cut = QuotePage(Row("5-Mar-2004", "10") + "<tr><td><nobr>4-Mar-2004</nobr></td><td><nobr>10</nobr></td>");
  QuotePageResult page = ParseQuotePageRows(cut + "<nobr>trailing</nobr>");
  ASSERT_EQ(page.rows.size(), 1u);
  EXPECT_EQ(page.rows[0].datDamnDate, Day(2004, 3, 5));
  // A non-numeric close drops the row too.
  EXPECT_TRUE(ParseQuotePageRows(QuotePage(Row("5-Mar-2004", "10", "n/a"))).rows.empty());
}

TEST(QuotePageParser, PagesWithoutDateOrWithABadVolume) {
  QuotePageResult none = ParseQuotePageRows("<html>No quotes</html>");
  EXPECT_EQ(none.problem, "the reply is not a quote page");
  EXPECT_TRUE(none.rows.empty());
  QuotePageResult bad = ParseQuotePageRows(
      QuotePage(Row("5-Mar-2004", "10") + Row("4-Mar-2004", "10", "10", "lots") + Row("3-Mar-2004", "10")));
  EXPECT_EQ(bad.rows.size(), 2u);  // the rows around the bad one stay
  EXPECT_EQ(bad.rowsLeftOut, 1u);
}

class QuoteDownloadTest : public ::testing::Test {
 protected:
  bool Pull(std::string symbol, rt::Date start, rt::Date end) { return bed_.Engine().PullFromNet(symbol, start, end); }
  EngineTestBed bed_;
};

TEST_F(QuoteDownloadTest, PullsAPageFromTheQuoteServiceNewestFirst) {
  testsupport::QuoteServiceProcess service;
  ASSERT_TRUE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  ASSERT_EQ(udtStockDays.size(), 5u);
  EXPECT_EQ(udtStockDays.front().datDamnDate, Day(2004, 3, 5));
  EXPECT_EQ(udtStockDays.back().datDamnDate, Day(2004, 3, 1));
  ASSERT_EQ(bed_.Events().interneting.size(), 2u);
  EXPECT_TRUE(bed_.Events().interneting[0].busy);
  EXPECT_FALSE(bed_.Events().interneting[1].busy);
  EXPECT_EQ(bed_.Events().interneting[1].symbol, "IBM");

  // An unknown symbol's page has no rows: one blank element.
  EXPECT_TRUE(Pull("NOSUCH", Day(2004, 3, 1), Day(2004, 3, 5)));
  ASSERT_EQ(udtStockDays.size(), 1u);
  EXPECT_TRUE(udtStockDays[0].strOpen.IsBlank());
}

TEST_F(QuoteDownloadTest, FourEmptyRepliesThenAPage) {
  testsupport::ScriptedHttpServer server({"", "", "", "", QuotePage(Row("5-Mar-2004", "10"))});
  EXPECT_TRUE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  EXPECT_EQ(server.Requests().size(), 5u);
  ASSERT_EQ(udtStockDays.size(), 1u);
  EXPECT_EQ(udtStockDays[0].strOpen.Text(), "10    ");
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

TEST_F(QuoteDownloadTest, EmptyRepliesGiveUpAfterTwentyOneFetchesWithoutAMessage) {
  testsupport::ScriptedHttpServer server({""});
  EXPECT_FALSE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  EXPECT_EQ(server.Requests().size(), 21u);
  EXPECT_TRUE(bed_.User().Prompts().empty());
  EXPECT_EQ(bed_.Engine().LastDownloadFailure(), "the quote service sent nothing");
  ASSERT_EQ(bed_.Events().interneting.size(), 2u);
  EXPECT_FALSE(bed_.Events().interneting[1].busy);

  // Slow empty replies cannot stretch the tries beyond their time limit.
  inet::FetchLimits limits = inet::CurrentFetchLimits();
  limits.retries = std::chrono::milliseconds(0);
  inet::SetFetchLimits(limits);
  EXPECT_FALSE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  EXPECT_EQ(server.Requests().size(), 22u);  // one more
  inet::SetFetchLimits(inet::FetchLimits{});
}

TEST_F(QuoteDownloadTest, NoServerAtAllEndsTheTriesAtOnceAndSaysWhy) {
  ::setenv(inet::kQuoteHostVariable, ("http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort())).c_str(),
           1);
  EXPECT_FALSE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  EXPECT_EQ(bed_.Engine().LastDownloadFailure(), "no connection to the quote service");
  EXPECT_TRUE(bed_.User().Prompts().empty());  // the run tells the user, once
  ASSERT_EQ(bed_.Events().interneting.size(), 2u);
  EXPECT_FALSE(bed_.Events().interneting[1].busy);
  ::unsetenv(inet::kQuoteHostVariable);
}

TEST_F(QuoteDownloadTest, AStopWhileRepliesAreEmptyEndsTheWaitWithoutTheClosingEvent) {
  testsupport::ScriptedHttpServer server({""});
  bed_.User().OnDoEvents([&](int) {
    if (server.Requests().size() == 3) bed_.Engine().StopProcess(true);
  });
  EXPECT_FALSE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  EXPECT_EQ(server.Requests().size(), 3u);
  ASSERT_EQ(bed_.Events().interneting.size(), 1u);
  EXPECT_TRUE(bed_.Events().interneting[0].busy);
  EXPECT_EQ(bed_.Engine().LastDownloadFailure(), "");
}

TEST_F(QuoteDownloadTest, ABadVolumeLeavesOutItsRowWithoutAMessage) {
  testsupport::ScriptedHttpServer server({QuotePage(Row("5-Mar-2004", "10", "10", "lots") + Row("4-Mar-2004", "10"))});
  EXPECT_TRUE(Pull("IBM", Day(2004, 3, 1), Day(2004, 3, 5)));
  ASSERT_EQ(udtStockDays.size(), 1u);
  EXPECT_EQ(udtStockDays[0].datDamnDate, Day(2004, 3, 4));
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

TEST_F(QuoteDownloadTest, TheConnectivityTestWantsANonEmptyBody) {
  {
    testsupport::QuoteServiceProcess service;
    EXPECT_TRUE(bed_.Engine().TestInternet());
  }
  testsupport::ScriptedHttpServer empty({""});
  bed_.User().AnswerMsgBox(user::kAnswerOK, "No Internet Connection Detected.");
  EXPECT_FALSE(bed_.Engine().TestInternet());
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
}

}  // namespace
