#include "quote_page.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/runtime/date.h"

using quote_service::BuildQuotePage;
using quote_service::History;
using quote_service::QuoteRow;
using quote_service::SelectPage;

namespace {

QuoteRow Row(const std::string& iso, double close = 10) {
  QuoteRow row;
  row.isoDate = iso;
  row.open = row.high = row.low = row.close = close;
  row.adjClose = close / 2;
  row.volume = 1000;
  return row;
}

// Consecutive calendar days from 1 January 2003 (weekends do not matter here).
History Days(int count) {
  History history;
  rt::Date day = rt::DateSerial(2003, 1, 1);
  for (int i = 0; i < count; ++i, day = day + 1) history.push_back(Row(rt::FormatIso(day), 10 + i));
  return history;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

}  // namespace

TEST(SelectPageTest, NewestFirstWithBothEndsIncluded) {
  History history = Days(10);  // 2003-01-01 .. 2003-01-10
  std::vector<QuoteRow> page = SelectPage(history, "2003-01-03", "2003-01-06");
  ASSERT_EQ(page.size(), 4u);
  EXPECT_EQ(page.front().isoDate, "2003-01-06");
  EXPECT_EQ(page.back().isoDate, "2003-01-03");
  for (size_t i = 1; i < page.size(); ++i) EXPECT_GT(page[i - 1].isoDate, page[i].isoDate);
}

TEST(SelectPageTest, AtMostTwoHundredRowsFromTheNewestEnd) {
  History history = Days(450);
  std::vector<QuoteRow> page = SelectPage(history, "2000-01-01", "2030-01-01");
  ASSERT_EQ(page.size(), 200u);
  EXPECT_EQ(page.front().isoDate, history.back().isoDate);
  EXPECT_EQ(page.back().isoDate, history[250].isoDate);

  // The next request ends at the oldest day of the page and gets the older part.
  std::vector<QuoteRow> next = SelectPage(history, "2000-01-01", page.back().isoDate);
  ASSERT_EQ(next.size(), 200u);
  EXPECT_EQ(next.front().isoDate, page.back().isoDate);
  std::vector<QuoteRow> last = SelectPage(history, "2000-01-01", next.back().isoDate);
  EXPECT_EQ(last.size(), 52u);
  EXPECT_EQ(last.back().isoDate, history.front().isoDate);
}

TEST(SelectPageTest, EmptyWhenNothingFallsInTheRange) {
  History history = Days(10);
  EXPECT_TRUE(SelectPage(history, "2003-01-06", "2003-01-05").empty());  // start after end
  EXPECT_TRUE(SelectPage(history, "2004-01-01", "2004-12-31").empty());
  EXPECT_TRUE(SelectPage(History{}, "2000-01-01", "2030-01-01").empty());
  EXPECT_EQ(SelectPage(history, "2003-01-05", "2003-01-05").size(), 1u);
}

TEST(QuotePageTest, CellTextsTheParserReads) {
  EXPECT_EQ(quote_service::PageDate("2004-03-05"), "5-Mar-2004");
  EXPECT_EQ(quote_service::PageDate("2020-11-16"), "16-Nov-2020");
  EXPECT_EQ(*rt::ParseDate("5-Mar-2004"), rt::DateSerial(2004, 3, 5));
  EXPECT_EQ(*rt::ParseDate("31-Dec-1999"), rt::DateSerial(1999, 12, 31));

  EXPECT_EQ(quote_service::PriceCell(104.87), "104.87");
  EXPECT_EQ(quote_service::PriceCell(28.750000000000004), "28.75");
  EXPECT_EQ(quote_service::PriceCell(11501.849609), "11501.849609");
  EXPECT_EQ(quote_service::PriceCell(0.061042), "0.061042");
  EXPECT_EQ(quote_service::PriceCell(0.00001), "0.00001");
  EXPECT_EQ(quote_service::PriceCell(42), "42");
  EXPECT_EQ(quote_service::PriceCell(0), "0");
}

TEST(QuotePageTest, OneRowPageLayout) {
  QuoteRow row;
  row.isoDate = "2004-03-05";
  row.open = 10.5;
  row.high = 11.25;
  row.low = 10;
  row.close = 11;
  row.adjClose = 5.5;
  row.volume = 2500000000LL;
  std::string page = BuildQuotePage("IBM", {row});
  EXPECT_NE(page.find("<tr><td><nobr>5-Mar-2004</nobr></td><td><nobr>10.5</nobr></td><td><nobr>11.25</nobr></td>"
                      "<td><nobr>10</nobr></td><td><b>11</b></td><td><nobr>2500000000</nobr></td>"
                      "<td><nobr>5.5</nobr></td></tr>"),
            std::string::npos)
      << page;
}

TEST(QuotePageTest, HeaderFirstAndNoCellAfterTheLastRow) {
  std::string page = BuildQuotePage("IBM", {Row("2004-03-05", 11), Row("2004-03-04", 10)});
  size_t header = page.find("Date");
  ASSERT_NE(header, std::string::npos);
  EXPECT_EQ(page.substr(header - 6, 17), "<nobr>Date</nobr>");
  // Every <nobr> of the header holds a text that is not a date.
  size_t firstRow = page.find("<tr><td>");
  for (size_t at = page.find("<nobr>"); at < firstRow; at = page.find("<nobr>", at + 1)) {
    size_t end = page.find("</nobr>", at);
    EXPECT_FALSE(rt::IsDate(page.substr(at + 6, end - at - 6))) << page.substr(at, end - at);
  }
  EXPECT_LT(page.find("5-Mar-2004"), page.find("4-Mar-2004"));
  EXPECT_EQ(page.find("<nobr>", page.rfind("</nobr>")), std::string::npos);
  EXPECT_EQ(Count(page, "<b>"), 2u);
  EXPECT_EQ(Count(page, "<nobr>"), 7u + 2 * 6);
}

TEST(QuotePageTest, UnknownSymbolGetsTheHeaderAloneAndTheSymbolIsEscaped) {
  std::string page = BuildQuotePage("<X&Y>", {});
  EXPECT_NE(page.find("&lt;X&amp;Y&gt;"), std::string::npos);
  EXPECT_EQ(page.find("<X&Y>"), std::string::npos);
  EXPECT_EQ(Count(page, "<nobr>"), 7u);
  EXPECT_EQ(Count(page, "<b>"), 0u);
  EXPECT_NE(page.find("Date"), std::string::npos);
}
