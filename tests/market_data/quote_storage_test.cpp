#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "market_data/database_connection.h"
#include "market_data/history_rows.h"
#include "support/engine_test_bed.h"
#include "support/quote_pages.h"
#include "support/quote_service_process.h"
#include "support/scripted_http_server.h"
#include "support/table_cells.h"
#include "support/write_faults.h"

namespace {

using testsupport::Day;
using testsupport::EngineTestBed;

using testsupport::FlatQuotePageRow;
using testsupport::QuotePage;

// A full page of 200 weekdays back from the newest; the row at index oddRow
// gets that price.
std::string FullPage(rt::Date newest, int oddRow = -1, const std::string& oddPrice = "") {
  std::string rows;
  rt::Date d = newest;
  for (int i = 0; i < 200; d = d - 1) {
    if (d.Weekday() == 1 || d.Weekday() == 7) continue;
    rows += FlatQuotePageRow(testsupport::QuotePageDate(d), i == oddRow ? oddPrice : "10");
    ++i;
  }
  return QuotePage(rows);
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
  std::string Inception() { return bed_.Scalar("SELECT Inception FROM Stock_Master WHERE Symbol = 'IBM'"); }
  // LoadData as a Select with downloads calls it.
  rt::Date Load(rt::Date start, rt::Date end, std::string symbol = "IBM") {
    Parms().blnUpdateData = true;
    Parms().blnUseInternet = true;
    int16_t lookBack = Parms().intWinDays;
    return bed_.Engine().LoadData(symbol, start, end, lookBack);
  }
  EngineTestBed bed_;
};

// The page's row `row` (0 the newest, -1 the oldest) with "NaN" as its open.
std::string WithUnreadableOpen(std::string page, int row) {
  std::vector<size_t> starts;
  for (size_t at = page.find("<tr><td>"); at != std::string::npos; at = page.find("<tr><td>", at + 1))
    starts.push_back(at);
  const size_t open = page.find("<nobr>", page.find("</nobr>", starts.at(row < 0 ? starts.size() - 1 : row))) + 6;
  return page.replace(open, page.find("</nobr>", open) - open, "NaN");
}

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

// A reply that is no quote page, or a page of other columns, fails the download
// with its reason and keeps nothing; so does a page without rows for days
// that should have some. Pages in either date order are read alike.
TEST_F(QuoteStorageTest, EveryShapeOfReplyIsReadAlikeOrRefusedWithItsReason) {
  const std::string day3 = FlatQuotePageRow("3-Mar-2004", "10"), day4 = FlatQuotePageRow("4-Mar-2004", "11"),
                    day5 = FlatQuotePageRow("5-Mar-2004", "12");
  const std::string otherColumns = "<table><tr><th><nobr>Date</nobr></th><th><nobr>Volume</nobr></th><th><nobr>Adj "
                                   "Close</nobr></th><th><nobr>Open</nobr></th><th><nobr>High</nobr></th><th><nobr>"
                                   "Low</nobr></th><th><nobr>Close</nobr></th></tr>" +
                                   day5 + "</table>";
  const rt::Date fromTheEarliestDate;  // the zero date
  const struct {
    std::string reply;
    rt::Date start, end;
    const char* reason;  // "": the download ends well
    const char* stored;
    const char* inception;
  } cases[] = {
      {QuotePage(day3 + day4 + day5), fromTheEarliestDate, Day(2004, 3, 5), "", "3", "3/3/2004"},
      {QuotePage(day5 + day4 + day3), fromTheEarliestDate, Day(2004, 3, 5), "", "3", "3/3/2004"},
      {QuotePage(""), Day(2004, 3, 6), Day(2004, 3, 7), "", "0", ""},  // a weekend
      {QuotePage(""), Day(2004, 3, 1), Day(2004, 3, 5), "the quote service holds none from 3/1/2004 to 3/5/2004", "0",
       ""},
      {"Date,Open,High,Low,Close,Adj Close,Volume\n2004-03-05,12,12,12,12,12,100\n", Day(2004, 3, 1), Day(2004, 3, 5),
       "the reply is not a quote page", "0", ""},
      {"Date range not available", Day(2004, 3, 1), Day(2004, 3, 5), "the reply is not a quote page", "0", ""},
      {otherColumns, Day(2004, 3, 1), Day(2004, 3, 5),
       "the quote page's columns are not Date, Open, High, Low, Close, Volume, Adj Close", "0", ""},
  };
  bed_.Engine().CreateTable("IBM");
  Parms().datEarliestDate = Day(2004, 2, 2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    bed_.Execute("DELETE FROM [IBM]");
    bed_.Execute("UPDATE [Stock_Master] SET Inception = NULL");
    testsupport::ScriptedHttpServer server({c.reply});
    rt::Date start = c.start, end = c.end;
    EXPECT_EQ(Update(start, end), std::string(c.reason).empty());
    EXPECT_EQ(bed_.Engine().LastDownloadFailure(), c.reason);
    EXPECT_EQ(Count(), c.stored);
    EXPECT_EQ(Inception(), c.inception);
  }
}

TEST_F(QuoteStorageTest, DatesKeepTheirCentury) {
  testsupport::ScriptedHttpServer server(
      {QuotePage(FlatQuotePageRow("31-Dec-1929", "10") + FlatQuotePageRow("30-Dec-1929", "9"))});
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
  EXPECT_FALSE(Update(start, end));
  EXPECT_EQ(bed_.Engine().LastDownloadFailure(), "the quote service sent no older days");
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Connections(), 1u);  // the pages share one connection
  EXPECT_EQ(Count(), "0");
}

// A row is stored only as the table can take it and as a plausible trading
// day: a weekday not after today in the page's date form, plain positive
// prices (also once cut to six characters) with Low <= Open, Close <= High, a
// volume that rounds (ties to even, as CLng does) to a whole number from 0 to
// the 64-bit limit. Every other row is left out and counted.
TEST_F(QuoteStorageTest, RowsWithBadCellsAreLeftOutAndCounted) {
  const struct {
    const char* date;
    const char* open;
    const char* high;
    const char* low;
    const char* close;
    const char* volume;
    const char* adjClose;
    const char* storedVolume;  // nullptr: left out
  } rows[] = {
      {"12-Mar-2004", "10", "10", "10", "10", "2.5", "10", "2"},
      {"11-Mar-2004", "10", "10", "10", "10", "3.5", "10", "4"},
      {"10-Mar-2004", "10", "10", "10", "10", "1,234", "10", "1234"},
      {"9-Mar-2004", "10", "10", "10", "10", "1e18", "10", "1000000000000000000"},
      {"24-Mar-2004", "9", "11", "9", "11", "100", "10", "100"},  // Open at the Low, Close at the High
      {"9:30", "10", "10", "10", "10", "100", "10", nullptr},
      {"8-Mar-2004", "$1,234", "$1,234", "$1,234", "$1,234", "100", "10", nullptr},
      {"5-Mar-2004", "10", "10", "10", "10", "1e300", "10", nullptr},
      {"4-Mar-2004", "10", "10", "10", "10", "-5", "10", nullptr},
      {"3-Mar-2004", "10", "10", "10", "10", "lots", "10", nullptr},
      {"2-Mar-2004", "10", "10", "10", "10", "100", "0", nullptr},
      {"1-Mar-2004", "10", "10", "10", "10", "100", "0.00001", nullptr},  // reads 0 once cut to six characters
      {"15-Mar-2004", "NaN", "10", "10", "10", "100", "10", nullptr},
      {"18-Mar-2004", "N/A", "10", "10", "10", "100", "10", nullptr},
      {"19-Mar-2004", "10", "9", "11", "10", "100", "10", nullptr},   // Low above High
      {"22-Mar-2004", "12", "11", "9", "10", "100", "10", nullptr},   // Open above High
      {"23-Mar-2004", "10", "11", "9", "8", "100", "10", nullptr},    // Close below Low
      {"13-Mar-2004", "10", "10", "10", "10", "100", "10", nullptr},  // a Saturday
      {"14-Mar-2004", "10", "10", "10", "10", "100", "10", nullptr},  // a Sunday
      {"3-Jan-2090", "10", "10", "10", "10", "100", "10", nullptr},   // after today
      {"31/03/2004", "10", "10", "10", "10", "100", "10", nullptr},   // not the page's date form
  };
  std::string page;
  for (const auto& r : rows)
    page += testsupport::QuotePageRow(r.date, r.open, r.high, r.low, r.close, r.volume, r.adjClose);
  testsupport::ScriptedHttpServer server({QuotePage(page)});
  bed_.Engine().CreateTable("IBM");
  rt::Date start = Day(2004, 3, 1), end = Day(2004, 3, 31);
  ASSERT_TRUE(Update(start, end));
  EXPECT_EQ(Count(), "5");
  for (const auto& row : rows) {
    if (!row.storedVolume) continue;
    EXPECT_EQ(bed_.Scalar("SELECT Volume FROM [IBM] WHERE DamnDate = #" +
                          rt::FormatShortDate(*rt::ParseDate(row.date)) + "#"),
              row.storedVolume)
        << row.date;
  }
  EXPECT_TRUE(bed_.User().Prompts().empty());
  EXPECT_NE(bed_.Engine().DownloadReport().find("IBM - 16"), std::string::npos);
}

// The page with the row of every day that `picks` (given the date text)
// chooses replaced by what `spoil` makes of it.
std::string WithRowsSpoilt(std::string page, const std::function<bool(const std::string&)>& picks,
                           const std::function<std::string(const std::string&)>& spoil) {
  for (size_t at = page.find("<tr><td><nobr>"); at != std::string::npos; at = page.find("<tr><td><nobr>", at + 1)) {
    const size_t date = at + 14, end = page.find("</tr>", at) + 5;
    if (!picks(page.substr(date, page.find('<', date) - date))) continue;
    const std::string spoilt = spoil(page.substr(at, end - at));
    page.replace(at, end - at, spoilt);
    at += spoilt.size() - 1;
  }
  return page;
}

// The row with its cell `cell` (0 the date, 6 the adjusted close) holding `text`.
std::string WithCell(std::string row, int cell, const std::string& text) {
  size_t at = 0;
  for (int k = 0; k <= cell; ++k) at = row.find("<td>", at) + 4;
  at = row.find('>', at) + 1;  // past <nobr> or <b>
  return row.replace(at, row.find("</", at) - at, text);
}

// A day left out never cuts the history for good: paging goes on past it,
// no inception date is taken from a download that missed the first day, a
// day left out between stored days is recorded and named by every run over
// it until a later download brings it, and the next run with sound pages
// holds what a straight download holds.
TEST_F(QuoteStorageTest, ADayLeftOutIsFetchedAgainAndNamedUntilItIsStored) {
  testsupport::QuoteServiceProcess service;
  using Page = std::function<std::string(std::string page, size_t request)>;
  auto onDay = [](const char* day, std::function<std::string(const std::string&)> spoil) -> Page {
    return [=](std::string page, size_t) {
      return WithRowsSpoilt(
          page, [&](const std::string& date) { return date == day; }, spoil);
    };
  };
  size_t firstRequest = 0, betweenRequest = 0;
  auto onFirstPage = [&](int row) -> Page {
    return [&, row](std::string page, size_t n) { return n == firstRequest ? WithUnreadableOpen(page, row) : page; };
  };
  const struct {
    Page spoil;
    const char* leftOut;  // in the message of the run with the spoilt pages
    const char* missing;  // in the message of a run between, with the same pages; "" for none
  } shapes[] = {
      // The oldest or the newest row of the first page, or the first day the service has.
      {onFirstPage(-1), "IBM - 1", ""},
      {onFirstPage(0), "IBM - 1", ""},
      {[](std::string page, size_t) {
         return page.find("3-Jan-2000") == std::string::npos ? page : WithUnreadableOpen(page, -1);
       },
       "IBM - 1", ""},
      // An unreadable open on the 15th of every month of 2001, on every page
      // but the one that reaches the first day.
      {[](std::string page, size_t) {
         auto picks = [](const std::string& date) { return date.starts_with("15-") && date.ends_with("2001"); };
         return WithRowsSpoilt(page, picks, [](const std::string& row) { return WithCell(row, 1, "NaN"); });
       },
       "IBM - 7", "IBM: 7 days of the stored history are missing (2/15/2001, 3/15/2001, 5/15/2001 and 4 more)"},
      // One day given twice, the first copy with another adjusted close.
      {onDay("15-May-2001", [](const std::string& row) { return WithCell(row, 6, "1") + row; }), "IBM - 2",
       "IBM: 1 day of the stored history is missing (5/15/2001)"},
      // Prices with more digits before the point than six characters keep.
      {onDay("15-May-2001", [](const std::string& row) { return WithCell(row, 2, "11975000.00"); }), "IBM - 1",
       "IBM: 1 day of the stored history is missing (5/15/2001)"},
      {onDay("15-May-2001", [](const std::string& row) { return WithCell(row, 6, "12345678"); }), "IBM - 1",
       "IBM: 1 day of the stored history is missing (5/15/2001)"},
      // Unreadable at first, then left out altogether: the record stays.
      {[&](std::string page, size_t n) {
         return WithRowsSpoilt(
             page, [](const std::string& date) { return date == "15-May-2001"; },
             [&](const std::string& row) { return n < betweenRequest ? WithCell(row, 1, "NaN") : std::string(); });
       },
       "IBM - 1", "IBM: 1 day of the stored history is missing (5/15/2001)"},
  };
  const Page* spoiling = nullptr;
  testsupport::ScriptedHttpServer proxy(
      service.Address(), [&](std::string page, size_t n) { return spoiling ? (*spoiling)(page, n) : page; });
  Parms().datEarliestDate = Day(1999, 6, 1);
  const rt::Date start = Day(2000, 3, 1), end = Day(2001, 12, 31);
  const rt::Date firstFullLookBack = Load(start, end);
  const std::vector<std::string> straight = testsupport::TableCells(SharedConnection(), "IBM");
  ASSERT_EQ(Inception(), "1/3/2000");

  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.missing);
    bed_.Execute("DELETE FROM [IBM]");
    bed_.Execute("UPDATE [Stock_Master] SET Inception = NULL");
    bed_.Engine().ClearDownloadReport();
    spoiling = &shape.spoil;
    firstRequest = proxy.Requests().size();
    betweenRequest = SIZE_MAX;
    Load(start, end);
    EXPECT_NE(bed_.Engine().DownloadReport().find(shape.leftOut), std::string::npos);

    // A run between, the pages as spoilt: the days left out are fetched
    // again and named while they stay unreadable.
    bed_.Engine().ClearDownloadReport();
    betweenRequest = proxy.Requests().size();
    Load(start, end);
    const std::string between = bed_.Engine().DownloadReport();
    if (*shape.missing) EXPECT_NE(between.find(shape.missing), std::string::npos) << between;
    else EXPECT_EQ(between.find("missing"), std::string::npos) << between;

    spoiling = nullptr;
    bed_.Engine().ClearDownloadReport();
    EXPECT_EQ(Load(start, end), firstFullLookBack);
    EXPECT_EQ(testsupport::TableCells(SharedConnection(), "IBM"), straight);
    EXPECT_EQ(Inception(), "1/3/2000");
    EXPECT_EQ(bed_.Engine().DownloadReport(), "");
  }
}

// A row the table refuses for another cause than holding its day already
// fails the download: none of it is kept and the run's message names the
// symbol with the cause.
TEST_F(QuoteStorageTest, ARowTheTableRefusesFailsTheDownloadWithItsCause) {
  testsupport::QuoteServiceProcess service;
  Parms().datEarliestDate = Day(2003, 1, 1);
  bed_.Engine().CreateTable("IBM");
  bed_.Execute("CREATE TRIGGER refuse BEFORE INSERT ON [IBM] WHEN NEW.DamnDate = '2004-06-01' "
               "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  EXPECT_EQ(Load(Day(2004, 3, 1), Day(2004, 12, 31)), NotEnoughData());
  EXPECT_EQ(Count(), "0");
  EXPECT_NE(bed_.Engine().DownloadReport().find("IBM - a row could not be stored: "), std::string::npos);
  EXPECT_NE(bed_.Engine().DownloadReport().find("refused"), std::string::npos);
}

// The rows are stored once every page is in, so the page is not fetched again.
TEST_F(QuoteStorageTest, AMissingTableIsCreatedAndThePageStoredInIt) {
  testsupport::ScriptedHttpServer server({QuotePage(FlatQuotePageRow("5-Mar-2004", "10"))});
  rt::Date start = Day(2004, 3, 1), end = Day(2004, 3, 5);
  EXPECT_TRUE(Update(start, end, "XOM"));
  EXPECT_EQ(Count("XOM"), "1");
  EXPECT_EQ(server.Requests().size(), 1u);
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
  const std::pair<WriteFault, std::string> cases[] = {{WriteFault::kDiskFull, "AAPL"},
                                                      {WriteFault::kReadOnly, "MSFT"},
                                                      {WriteFault::kLockHeld, "IBM"},
                                                      {WriteFault::kDamagedTable, "XOM"}};
  for (const auto& [kind, name] : cases) {
    testsupport::InjectedWriteFault fault(kind, 8);  // a full disk takes a few pages of rows first
    SCOPED_TRACE(fault.Name());
    bed_.Engine().CreateTable(name);
    // A stored day: the load reads the symbol's missing days before it downloads.
    bed_.Execute("INSERT INTO [" + name + "] VALUES (#11/16/2020#, 1, 1, 1, 1, 1, 1)");
    fault.Apply();
    bed_.User().AnswerMsgBox(user::kAnswerOK, "Unable to store the quote history of " + name + ".\r\n");
    EXPECT_EQ(Load(Day(2016, 1, 4), Day(2020, 11, 16), name), NotEnoughData());
    EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
    EXPECT_TRUE(bed_.User().UnscriptedPrompts().empty());
    ASSERT_FALSE(bed_.User().Prompts().empty());
    EXPECT_NE(bed_.User().Prompts().back().text.find(fault.Cause()), std::string::npos);
  }
}

}  // namespace
