#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/price_text.h"
#include "platform/runtime/rounding.h"

TEST(NumberTextTest, PlainFormUpToFifteenSignificantDigits) {
  EXPECT_EQ(rt::FormatNumber(0.0), "0");
  EXPECT_EQ(rt::FormatNumber(-0.0), "0");
  EXPECT_EQ(rt::FormatNumber(3.10), "3.1");
  EXPECT_EQ(rt::FormatNumber(2.0), "2");
  EXPECT_EQ(rt::FormatNumber(-12.5), "-12.5");
  EXPECT_EQ(rt::FormatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(rt::FormatNumber(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(rt::FormatNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(rt::FormatNumber(0.0001), "0.0001");
  EXPECT_EQ(rt::FormatNumber(10000.0), "10000");
}

TEST(NumberTextTest, ExponentFormOutsideThePlainRange) {
  EXPECT_EQ(rt::FormatNumber(1e15), "1E+15");
  EXPECT_EQ(rt::FormatNumber(1234567890123456.0), "1.23456789012346E+15");
  EXPECT_EQ(rt::FormatNumber(0.00001), "1E-05");
  EXPECT_EQ(rt::FormatNumber(-2.5e-7), "-2.5E-07");
  // A subnormal's shortest digits are fewer than its 15 rounded ones.
  EXPECT_EQ(rt::FormatNumber(7.3781856196233903e-310), "7.37818561962339E-310");
  EXPECT_EQ(rt::FormatSingle(0.1f), "0.1");
  EXPECT_EQ(rt::FormatSingle(1.0f / 3.0f), "0.3333333");
}

// The texts are made from the shortest digits, rounded; the C library's
// "%G" rounds the exact binary value, in the same layout. Texts of 16
// digits ending in 5 are the values whose shortest digits lie on a half.
TEST(NumberTextTest, DigitsAreTheExactValuesRoundingAsPrintfGivesIt) {
  std::mt19937_64 random(20261209);
  std::vector<double> values;
  for (int i = 0; i < 100000; ++i) {
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 200) - 150));
    std::string half = std::to_string(random() % 900000000000000 + 100000000000000) + "5e" +
                       std::to_string(static_cast<int>(random() % 40) - 30);
    values.push_back(std::strtod(half.c_str(), nullptr));
    values.push_back(static_cast<double>(static_cast<float>(values[values.size() - 2])));
    values.push_back(std::round(values[values.size() - 3]) / 100 + 0.995);
    values.push_back(static_cast<double>(random() % 10000000000) / 100);           // prices in cents
    values.push_back(static_cast<double>(random() % 1000000000000000) / 1000000);  // millionths below 10^9
    values.push_back(static_cast<double>(random() % 1000) / 1000000);              // and below 0.001
  }
  char expected[64];
  for (double value : values) {
    std::snprintf(expected, sizeof expected, "%.15G", value);
    ASSERT_EQ(rt::FormatNumber(value), expected) << std::hexfloat << value;
    std::snprintf(expected, sizeof expected, "%.7G", static_cast<double>(static_cast<float>(value)));
    ASSERT_EQ(rt::FormatSingle(static_cast<float>(value)), expected) << std::hexfloat << value;
  }
}

TEST(RoundingTest, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(rt::Round(2.5), 2.0);
  EXPECT_EQ(rt::Round(3.5), 4.0);
  EXPECT_EQ(rt::Round(-2.5), -2.0);
  EXPECT_EQ(rt::Round(12.346, 2), 12.35);
  EXPECT_EQ(rt::Round(0.125, 2), 0.12);
  EXPECT_EQ(rt::Round(0.0348, 2), 0.03);
  EXPECT_EQ(rt::Round(-0.0361, 2), -0.04);
  EXPECT_EQ(rt::Round(7.0, 2), 7.0);
}

TEST(ConversionsTest, ValReadsTheLeadingNumber) {
  EXPECT_EQ(rt::Val("12.5abc"), 12.5);
  EXPECT_EQ(rt::Val("  -3"), -3.0);
  EXPECT_EQ(rt::Val("1 2 3"), 123.0);
  EXPECT_EQ(rt::Val("abc"), 0.0);
  EXPECT_EQ(rt::Val(""), 0.0);
  EXPECT_EQ(rt::Val("1e3x"), 1000.0);
  EXPECT_EQ(rt::Val(".5"), 0.5);
  EXPECT_EQ(rt::Val("&HFF"), 255.0);
  EXPECT_EQ(rt::Val(std::string("12\0\0\0\0", 6)), 12.0);
  EXPECT_EQ(rt::Val("1,000"), 1.0);
}

TEST(ConversionsTest, AHexadecimalTextBeyondTheDoubleRangeIsNoInfinity) {
  const std::string huge = "&H" + std::string(300, 'F');
  EXPECT_EQ(rt::Val(huge), 0.0);  // as a decimal text beyond the range reads
  EXPECT_FALSE(rt::IsNumeric(huge));
  EXPECT_THROW(rt::CDbl(huge), rt::Error);
}

TEST(ConversionsTest, IsNumericWantsTheWholeText) {
  for (const char* yes : {"12", " 12.5 ", "-3", "+4", "1,000", "$5", "1e5", ".5", "&H10"})
    EXPECT_TRUE(rt::IsNumeric(yes)) << yes;
  for (const char* no : {"", " ", "12a", "Date", "1.2.3", "--5", "N/A", "e5"}) EXPECT_FALSE(rt::IsNumeric(no)) << no;
}

TEST(ConversionsTest, StrictConversionsRoundToEvenAndRaise) {
  EXPECT_EQ(rt::CInt("2.5"), 2);
  EXPECT_EQ(rt::CInt("3.5"), 4);
  EXPECT_EQ(rt::CInt(" 32767 "), 32767);
  EXPECT_EQ(rt::CLng("-2147483648"), INT32_MIN);
  EXPECT_EQ(rt::CDbl("1,234.5"), 1234.5);
  EXPECT_FLOAT_EQ(rt::CSng(".5"), 0.5f);
  try {
    rt::CInt("");
    FAIL();
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::kErrTypeMismatch);
    EXPECT_EQ(e.Description(), "Type mismatch");
  }
  try {
    rt::CInt("32768");
    FAIL();
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::kErrOverflow);
    EXPECT_EQ(e.Description(), "Overflow");
  }
  EXPECT_THROW(rt::CLng("2147483648"), rt::Error);
  EXPECT_THROW(rt::CDbl("abc"), rt::Error);
  EXPECT_THROW(rt::CSng("1e39"), rt::Error);
  EXPECT_THROW(rt::CDbl("1e999"), rt::Error);
  // Exponents too long for a long: the sign of the exponent decides.
  EXPECT_EQ(rt::CDbl("1e-99999999999999999999"), 0.0);
  EXPECT_THROW(rt::CDbl("0.5e+99999999999999999999"), rt::Error);
}

TEST(ConversionsTest, LeadingIntegerFailsOnlyOnOverflow) {
  EXPECT_EQ(rt::LeadingInteger("5 stocks"), 5);
  EXPECT_EQ(rt::LeadingInteger(""), 0);
  EXPECT_EQ(rt::LeadingInteger("2.5"), 2);
  EXPECT_EQ(rt::LeadingInteger("3.5"), 4);
  EXPECT_THROW(rt::LeadingInteger("40000"), rt::Error);
}

TEST(PriceTextTest, StoresSixCharactersLeftAligned) {
  EXPECT_EQ(rt::PriceText(12.5).Text(), "12.5  ");
  EXPECT_EQ(rt::PriceText(12345.678).Text(), "12345.");
  EXPECT_EQ(rt::PriceText(123.4567).Text(), "123.45");
  EXPECT_EQ(rt::PriceText("10").Text(), "10    ");
  EXPECT_EQ(rt::PriceText(123.4567).Value(), 123.45);
  rt::PriceText blank;
  EXPECT_TRUE(blank.IsBlank());
  EXPECT_EQ(blank.Text(), std::string(6, '\0'));
  EXPECT_EQ(blank.Value(), 0.0);
  EXPECT_EQ(rt::PriceText(" 9.5 ").Trimmed(), "9.5");
}

TEST(PriceTextTest, ComparesAsTextByCharacterCode) {
  EXPECT_LT(rt::PriceText(10.5), rt::PriceText(9.9));
  EXPECT_GT(rt::PriceText(9.9), rt::PriceText(10.5));
  EXPECT_EQ(rt::PriceText(12.5), rt::PriceText("12.5"));
  EXPECT_LT(rt::PriceText(), rt::PriceText("0"));
}
