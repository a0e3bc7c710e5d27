#include <gtest/gtest.h>

#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/value.h"
#include "support/error_of.h"

using db::Value;

namespace {

using testsupport::ErrorOf;

rt::Date D(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return *rt::Date::FromParts(y, m, d, hh, mm, ss);
}

}  // namespace

TEST(ValueTest, ReadersConvertLikeTheLanguage) {
  EXPECT_EQ(Value(int64_t{7}).ToText(), "7");
  EXPECT_EQ(Value(12.5).ToText(), "12.5");
  EXPECT_EQ(Value(D(2004, 3, 5)).ToText(), "3/5/2004");
  EXPECT_EQ(Value().ToText(), "");
  EXPECT_DOUBLE_EQ(Value(std::string(" 12.25 ")).ToDouble(), 12.25);
  EXPECT_EQ(Value(2.5).ToInteger(), 2);
  EXPECT_EQ(Value(3.5).ToInteger(), 4);
  EXPECT_EQ(Value(std::string("3/5/2004")).ToDate(), D(2004, 3, 5));
  EXPECT_EQ(Value(38051.0).ToDate(), D(2004, 3, 5));

  EXPECT_EQ(ErrorOf([] { Value().ToDouble(); }), rt::kErrInvalidUseOfNull);
  EXPECT_EQ(ErrorOf([] { Value().ToDate(); }), rt::kErrInvalidUseOfNull);
  EXPECT_EQ(ErrorOf([] { Value(std::string("abc")).ToDouble(); }), rt::kErrTypeMismatch);
  EXPECT_EQ(ErrorOf([] { Value(std::string("abc")).ToDate(); }), rt::kErrTypeMismatch);
  EXPECT_EQ(ErrorOf([] { Value(1e300).ToInteger(); }), rt::kErrOverflow);
}

TEST(ValueTest, OnlyTheExactStoredFormReadsAsADate) {
  EXPECT_EQ(db::ParseStoredDate("2004-03-05"), D(2004, 3, 5));
  EXPECT_EQ(db::ParseStoredDate("1899-12-30"), rt::Date(0));
  EXPECT_EQ(db::ParseStoredDate("2004-03-05 13:45:00"), D(2004, 3, 5, 13, 45, 0));
  for (const char* text : {"2004-3-5", "2004-03-05 ", "2004-02-30", "3/5/2004", "2004-03-05T13:45:00", "20040305"})
    EXPECT_FALSE(db::ParseStoredDate(text)) << text;
}

TEST(SqlTextTest, QuotesAreDoubledAndUnsafeNamesRefused) {
  EXPECT_EQ(db::SqlText("O'Neil's"), "O''Neil''s");
  EXPECT_EQ(db::SqlText(""), "");
  EXPECT_EQ(db::SqlName("^DJI"), "^DJI");
  EXPECT_EQ(db::SqlName("sim_my test-1"), "sim_my test-1");
  for (std::string bad :
       {std::string(""), std::string("a]b"), std::string("a[b"), std::string("a\nb"), std::string("x\0y", 3)}) {
    EXPECT_FALSE(db::IsBracketSafe(bad));
    try {
      db::SqlName(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), db::kErrStatementFailed);
      EXPECT_NE(e.Description().find("cannot be used as a table or symbol name"), std::string::npos);
    }
  }
}
