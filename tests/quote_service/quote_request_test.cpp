#include "quote_request.h"

#include <gtest/gtest.h>

using quote_service::ParseQuoteRequest;
using Params = std::multimap<std::string, std::string>;

namespace {

Params Request(const std::string& symbol = "IBM") {
  return {{"a", "2"}, {"b", "05"}, {"c", "2004"}, {"d", "11"}, {"e", "31"}, {"f", "2004"}, {"g", "d"}, {"s", symbol}};
}

Params With(Params params, const std::string& key, const std::string& value) {
  params.erase(key);
  params.emplace(key, value);
  return params;
}

}  // namespace

TEST(QuoteRequestTest, ReadsZeroBasedMonthsTwoDigitDaysAndFourDigitYears) {
  std::string problem;
  auto request = ParseQuoteRequest(Request(), problem);
  ASSERT_TRUE(request) << problem;
  EXPECT_EQ(request->symbol, "IBM");
  EXPECT_EQ(request->startIso, "2004-03-05");
  EXPECT_EQ(request->endIso, "2004-12-31");

  auto january = ParseQuoteRequest(With(With(Request(), "a", "0"), "b", "1"), problem);
  ASSERT_TRUE(january);
  EXPECT_EQ(january->startIso, "2004-01-01");
}

TEST(QuoteRequestTest, KeepsIndexSymbolsAndTrimsBlanks) {
  std::string problem;
  EXPECT_EQ(ParseQuoteRequest(Request("^DJI"), problem)->symbol, "^DJI");
  EXPECT_EQ(ParseQuoteRequest(Request("  IBM "), problem)->symbol, "IBM");
}

TEST(QuoteRequestTest, RefusesMissingOrOutOfRangeValues) {
  struct Case {
    Params params;
    const char* why;
  } cases[] = {
      {With(Request(), "a", "12"), "month 12 is past December"},
      {With(Request(), "d", "-1"), "negative month"},
      {With(Request(), "b", "0"), "day 0"},
      {With(Request(), "e", "32"), "day 32"},
      {With(Request(), "c", "04"), "two-digit year"},
      {With(Request(), "f", "20x4"), "not a number"},
      {With(Request(), "b", ""), "empty day"},
      {With(Request(), "g", "w"), "weekly rows"},
      {With(Request(), "s", "  "), "blank symbol"},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(ParseQuoteRequest(c.params, problem)) << c.why;
    EXPECT_FALSE(problem.empty()) << c.why;
  }
  for (const char* key : {"a", "b", "c", "d", "e", "f", "g", "s"}) {
    Params params = Request();
    params.erase(key);
    std::string problem;
    EXPECT_FALSE(ParseQuoteRequest(params, problem)) << "without " << key;
  }
}
