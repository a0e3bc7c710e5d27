#include <gtest/gtest.h>

#include "market_data/history_rows.h"

#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/scripted_http_server.h"
#include "support/write_faults.h"

namespace {

using testsupport::Day;
using testsupport::EngineTestBed;

std::string Row(const std::string& date, const std::string& price, const std::string& volume = "100",
                const std::string& adjClose = "") {
  return "<tr><td><nobr>" + date + "</nobr></td><td><nobr>" + price + "</nobr></td><td><nobr>" + price +
         "</nobr></td><td><nobr>" + price + "</nobr></td><td><b>" + price + "</b></td><td><nobr>" + volume +
         "</nobr></td><td><nobr>" + (adjClose.empty() ? price : adjClose) + "</nobr></td></tr>";
}

std::string Page(const std::string& rows) { return "<table><tr><th><nobr>Date</nobr></th></tr>" + rows + "</table>"; }

// A full page of 200 days back from the newest; the row at index oddRow gets
// that price.
std::string FullPage(rt::Date newest, int oddRow = -1, const std::string& oddPrice = "") {
  std::string rows;
  rt::Date d = newest;
  for (int i = 0; i < 200; ++i, d = d - 1)
    rows += Row(std::to_string(d.Day()) + "-" +
                    std::string("JanFebMarAprMayJunJulAugSepOctNovDec").substr((d.Month() - 1) * 3, 3) + "-" +
                    std::to_string(d.Year()),
                i == oddRow ? oddPrice : "10");
  return Page(rows);
}

class QuoteStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed_.Engine().CreateTable_Master();
    bed_.Execute("INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('IBM', 'ny')");
  }
  bool Update(rt::Date& start, rt::Date& end, std::string symbol = "IBM") {
    return bed_.Engine().UpdateStock(start, end, symbol);
  }
  std::string Count(const std::string& table = "IBM") { return bed_.Scalar("SELECT COUNT(*) FROM [" + table + "]"); }
  EngineTestBed bed_;
};

TEST_F(QuoteStorageTest, AZeroStartDownloadsTwentyYearsPageByPageAndRecordsTheInception) {
  testsupport::QuoteServiceProcess service;
  bed_.Engine().CreateTable("IBM");
  Parms().datEarliestDate = Day(1999, 6, 1);
  rt::Date start;  // the zero date
  rt::Date end = Day(2020, 11, 16);
  ASSERT_TRUE(Update(start, end));
  EXPECT_EQ(start, Day(1999, 6, 1));  // given back as the earliest date
  EXPECT_EQ(end, Day(2020, 11, 16));  // the caller's end date stays
  EXPECT_EQ(Count(), "5253");         // every trading day of the file, each once
  EXPECT_EQ(bed_.Scalar("SELECT Inception FROM Stock_Master WHERE Symbol = 'IBM'"), "1/3/2000");
  // One request per 200 days, each ending where the last one did.
  EXPECT_EQ(bed_.Events().interneting.size(), 2u * 27u);
  // Prices are stored as the six-character texts of the page.
  EXPECT_EQ(bed_.Scalar("SELECT [Close] FROM [IBM] WHERE DamnDate = #1/3/2000#"), "116");
  EXPECT_EQ(bed_.Scalar("SELECT Adj_Close FROM [IBM] WHERE DamnDate = #1/3/2000#"), "73.872");
  EXPECT_EQ(bed_.Scalar("SELECT Volume FROM [IBM] WHERE DamnDate = #1/3/2000#"), "10347700");

  // Stored days are skipped on a second download.
  rt::Date again = Day(2020, 1, 1), last = Day(2020, 11, 16);
  ASSERT_TRUE(Update(again, last));
  EXPECT_EQ(Count(), "5253");
}

TEST_F(QuoteStorageTest, APageWithNoRowsEndsTheDownloadWithoutAnInceptionDate) {
  testsupport::QuoteServiceProcess service;
  bed_.Engine().CreateTable("IBM");
  rt::Date start, end = Day(1990, 1, 1);
  Parms().datEarliestDate = Day(1989, 1, 1);
  EXPECT_TRUE(Update(start, end));
  EXPECT_EQ(Count(), "0");
  EXPECT_EQ(bed_.Scalar("SELECT Inception FROM Stock_Master WHERE Symbol = 'IBM'"), "");
}

TEST_F(QuoteStorageTest, DatesKeepTheirCentury) {
  testsupport::ScriptedHttpServer server({Page(Row("31-Dec-1929", "10") + Row("30-Dec-1929", "9"))});
  bed_.Engine().CreateTable("IBM");
  rt::Date start = Day(1929, 1, 1), end = Day(1929, 12, 31);
  ASSERT_TRUE(Update(start, end));
  EXPECT_EQ(bed_.Scalar("SELECT MAX(DamnDate) FROM [IBM]"), "12/31/1929");
}

TEST_F(QuoteStorageTest, AServiceThatIgnoresTheEndDateCannotLoopForever) {
  // A row left out still makes the page full.
  testsupport::ScriptedHttpServer server({FullPage(Day(2010, 12, 31), 100, "$10")}, 0, true);
  bed_.Engine().CreateTable("IBM");
  rt::Date start = Day(2000, 1, 1), end = Day(2010, 12, 31);
  EXPECT_TRUE(Update(start, end));
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Connections(), 1u);  // the pages share one connection
  EXPECT_EQ(Count(), "199");
}

// A row is stored only as the table can take it: a calendar date, plain
// positive prices (also once cut to six characters), a volume that rounds
// (ties to even, as CLng does) to a whole number from 0 to the 64-bit limit.
TEST_F(QuoteStorageTest, RowsWithBadCellsAreLeftOutAndCounted) {
  const struct {
    const char* date;
    const char* price;
    const char* volume;
    const char* adjClose;
    const char* storedVolume;  // nullptr: left out
  } rows[] = {
      {"12-Mar-2004", "10", "2.5", "10", "2"},
      {"11-Mar-2004", "10", "3.5", "10", "4"},
      {"10-Mar-2004", "10", "1,234", "10", "1234"},
      {"9-Mar-2004", "10", "1e18", "10", "1000000000000000000"},
      {"9:30", "10", "100", "10", nullptr},
      {"8-Mar-2004", "$1,234", "100", "10", nullptr},
      {"5-Mar-2004", "10", "1e300", "10", nullptr},
      {"4-Mar-2004", "10", "-5", "10", nullptr},
      {"3-Mar-2004", "10", "lots", "10", nullptr},
      {"2-Mar-2004", "10", "100", "0", nullptr},
      {"1-Mar-2004", "10", "100", "0.00001", nullptr},  // reads 0 once cut to six characters
  };
  std::string page;
  for (const auto& row : rows) page += Row(row.date, row.price, row.volume, row.adjClose);
  testsupport::ScriptedHttpServer server({Page(page)});
  bed_.Engine().CreateTable("IBM");
  rt::Date start = Day(2004, 3, 1), end = Day(2004, 3, 31);
  ASSERT_TRUE(Update(start, end));
  EXPECT_EQ(Count(), "4");
  for (const auto& row : rows) {
    if (!row.storedVolume) continue;
    EXPECT_EQ(bed_.Scalar("SELECT Volume FROM [IBM] WHERE DamnDate = #" + rt::FormatShortDate(*rt::ParseDate(row.date)) + "#"),
              row.storedVolume)
        << row.date;
  }
  EXPECT_TRUE(bed_.User().Prompts().empty());
  EXPECT_NE(bed_.Engine().DownloadReport().find("IBM - 7"), std::string::npos);
}

TEST_F(QuoteStorageTest, AMissingTableIsCreatedAndThePageFetchedAgain) {
  testsupport::ScriptedHttpServer server({Page(Row("5-Mar-2004", "10"))});
  rt::Date start = Day(2004, 3, 1), end = Day(2004, 3, 5);
  EXPECT_TRUE(Update(start, end, "XOM"));
  EXPECT_EQ(Count("XOM"), "1");
  EXPECT_EQ(server.Requests().size(), 2u);
}

// A download that fails, at its first page or after others, keeps none of
// its rows: the next top-up then fetches the whole range, leaving no gap.
TEST_F(QuoteStorageTest, AFailedFetchFailsTheDownloadAndKeepsNoneOfIt) {
  bed_.Engine().CreateTable("IBM");
  for (const std::vector<std::string>& replies : {std::vector<std::string>{""}, {FullPage(Day(2010, 12, 31)), ""}}) {
    testsupport::ScriptedHttpServer server(replies);
    rt::Date start = Day(2000, 1, 1), end = Day(2010, 12, 31);
    EXPECT_FALSE(Update(start, end));
    EXPECT_EQ(Count(), "0") << replies.size() << " replies";
  }
}

TEST_F(QuoteStorageTest, InceptionDatesAreWrittenAndReadBackAndUnknownOnesAreZero) {
  bed_.Engine().UpdateInceptionDate("IBM", Day(1962, 1, 2));
  EXPECT_EQ(bed_.Engine().GetInceptionDate("IBM"), Day(1962, 1, 2));
  EXPECT_TRUE(bed_.Engine().GetInceptionDate("^DJI").IsZero());  // no master row
  bed_.Execute("INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('MSFT', 'ns')");
  EXPECT_TRUE(bed_.Engine().GetInceptionDate("MSFT").IsZero());  // Null
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

TEST_F(QuoteStorageTest, AStoreThatFailsForALastingReasonIsShownAndTheSymbolIsNotUsed) {
  using testsupport::WriteFault;
  testsupport::QuoteServiceProcess service;
  Parms().datEarliestDate = Day(2012, 1, 1);
  Parms().blnUpdateData = true;
  Parms().blnUseInternet = true;
  const std::pair<WriteFault, std::string> cases[] = {
      {WriteFault::kDiskFull, "AAPL"}, {WriteFault::kReadOnly, "MSFT"}, {WriteFault::kLockHeld, "IBM"}};
  for (const auto& [kind, name] : cases) {
    testsupport::InjectedWriteFault fault(kind, 8);  // a full disk takes a few pages of rows first
    SCOPED_TRACE(fault.Name());
    bed_.Engine().CreateTable(name);
    fault.Apply();
    bed_.User().AnswerMsgBox(user::kAnswerOK, "Unable to store the quote history of " + name + ".\r\n");
    std::string symbol = name;
    rt::Date start = Day(2016, 1, 4), end = Day(2020, 11, 16);
    int16_t lookBack = 105;
    EXPECT_EQ(bed_.Engine().LoadData(symbol, start, end, lookBack), NotEnoughData());
    EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
    EXPECT_TRUE(bed_.User().UnscriptedPrompts().empty());
    ASSERT_FALSE(bed_.User().Prompts().empty());
    EXPECT_NE(bed_.User().Prompts().back().text.find(fault.Cause()), std::string::npos);
  }
}

}  // namespace
