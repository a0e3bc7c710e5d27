// PriceText::Value reads plain decimals without Val; it must give exactly
// what Val gives for every text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/runtime/conversions.h"
#include "platform/runtime/price_text.h"

namespace {

void ExpectSameAsVal(const rt::PriceText& price) {
  const double value = price.Value();
  const double val = rt::Val(price.Text());
  ASSERT_EQ(value, val) << "[" << price.Text() << "]";
  ASSERT_EQ(std::signbit(value), std::signbit(val)) << "[" << price.Text() << "]";
}

TEST(PriceTextValue, EveryPlainPriceReadsAsVal) {
  // Every value with up to two decimals below 10000, and every six-digit
  // pattern with the point in each place, as the stored texts hold them.
  for (int64_t cents = 0; cents < 1000000; ++cents) ExpectSameAsVal(rt::PriceText(static_cast<double>(cents) / 100));
  for (int64_t digits = 0; digits < 1000000; digits += 7) {
    std::string text = std::to_string(digits);
    for (size_t point = 0; point <= text.size(); ++point) {
      std::string withPoint = text;
      withPoint.insert(point, ".");
      ExpectSameAsVal(rt::PriceText(withPoint));
    }
  }
}

TEST(PriceTextValue, OddTextsReadAsVal) {
  for (const char* text : {"",   " ",   ".",    "-",    "+",    "-0",  "-3.25", "+7",  " 1.5 ", "1 2", "- 5", "12345.",
                           ".5", "1e5", "1E+3", "&H10", "&O17", "12a", "1.2.3", "--1", "1-2",   "abc", "\t9"})
    ExpectSameAsVal(rt::PriceText(text));
  ExpectSameAsVal(rt::PriceText());  // six NULs
  std::string withNul("12\0"
                      "34",
                      5);
  ExpectSameAsVal(rt::PriceText(withNul));
}

}  // namespace
