#include "platform/runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace rt {
namespace {

// A number's decimal digits, without leading or trailing zeros, and the
// power of ten of the first: 0.0125 is "125" and -2.
struct Decimal {
  char digits[24];
  int count = 0;
  int exponent = 0;
};

// Reads to_chars' scientific text ([-]d[.ddd]e[+-]XX) past its sign.
Decimal ReadScientific(const char* p, const char* end) {
  Decimal d;
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.') d.digits[d.count++] = *p;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, d.exponent);
  return d;
}

void DropTrailingZeros(Decimal& d) {
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
}

// A value of at most six decimals (a price, a stored or rounded figure:
// most of what the program writes and reads) is its own shortest text, and so
// its text, and that is written straight from its whole number of millionths
// down to units: the first scale at which the nearest whole number reads back
// as the value gives the fewest digits that do. (No other text of at most 15
// digits reads back as the same Double.) False for any other value, or when
// the text would need an exponent.
bool ShortDecimalText(double value, int significant, bool plain, std::string& text) {
  static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
  constexpr int kDecimals = static_cast<int>(std::size(kScales));
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 0.0001 && magnitude < 1e15)) return false;
  for (int k = 0; k < kDecimals; ++k) {
    const double scaled = magnitude * kScales[k];
    if (scaled >= 1e15) return false;
    const auto whole = static_cast<int64_t>(scaled + 0.5);
    if (static_cast<double>(whole) / kScales[k] != magnitude) continue;
    char digits[24];
    const int length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
    int count = length;  // significant digits: only a whole number can end in zeros here
    while (count > 1 && digits[count - 1] == '0') --count;
    if (count > significant || (!plain && length - 1 - k >= significant)) return false;
    char out[32];
    char* o = out;
    if (value < 0) *o++ = '-';
    if (length > k) {
      o = std::copy(digits, digits + length - k, o);
    } else {
      *o++ = '0';
    }
    if (k > 0) {
      *o++ = '.';
      o = std::fill_n(o, std::max(0, k - length), '0');
      o = std::copy(digits + std::max(0, length - k), digits + length, o);
    }
    text.assign(out, o);
    return true;
  }
  return false;
}

// The value's digits rounded to the significant digits, ties to even on the
// exact binary value. The shortest text that reads back as the value is
// cheap to make; rounding its digits gives the same result unless the digits
// dropped are exactly a half. (Were a rounding boundary strictly between the
// value and its shortest text, the boundary, no longer than the shortest text
// and nearer the value, would have been chosen instead.) With no more digits
// than asked, a normal value's shortest text is its rounding: the value lies
// within far less than half a unit of the last digit asked.
Decimal Digits(double magnitude, int significant) {
  char buf[64];
  auto shortest = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  Decimal d = ReadScientific(buf, shortest.ptr);
  if (d.count <= significant && std::isnormal(magnitude)) return d;
  bool half = d.count > significant && d.digits[significant] == '5';
  for (int k = significant + 1; half && k < d.count; ++k) half = d.digits[k] == '0';
  if (half || !std::isnormal(magnitude)) {
    auto exact = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, significant - 1);
    return ReadScientific(buf, exact.ptr);
  }
  const bool up = d.digits[significant] >= '5';
  d.count = significant;
  if (up) {
    int k = significant - 1;
    for (; k >= 0 && d.digits[k] == '9'; --k) d.digits[k] = '0';
    if (k >= 0) {
      ++d.digits[k];
    } else {  // 99.9 became 100
      d.digits[0] = '1';
      ++d.exponent;
    }
  }
  return d;
}

std::string Format(double value, int significant, bool plain = false) {
  if (value == 0.0 || std::isnan(value)) return "0";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (std::string text; ShortDecimalText(value, significant, plain, text)) return text;
  Decimal d = Digits(std::fabs(value), significant);
  DropTrailingZeros(d);
  const int exponent = d.exponent;

  char out[400];  // the plainest form of the largest Double has 309 digits
  char* o = out;
  if (value < 0) *o++ = '-';
  auto put = [&](const char* from, int n) { o = std::copy(from, from + n, o); };
  auto zeros = [&](int n) { o = std::fill_n(o, n, '0'); };
  if (!plain && (exponent >= significant || exponent < -4)) {
    *o++ = d.digits[0];
    if (d.count > 1) {
      *o++ = '.';
      put(d.digits + 1, d.count - 1);
    }
    *o++ = 'E';
    *o++ = exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) *o++ = '0';
    o = std::to_chars(o, out + sizeof out, magnitude).ptr;
  } else if (exponent < 0) {
    *o++ = '0';
    *o++ = '.';
    zeros(-exponent - 1);
    put(d.digits, d.count);
  } else if (d.count <= exponent + 1) {
    put(d.digits, d.count);
    zeros(exponent + 1 - d.count);
  } else {
    put(d.digits, exponent + 1);
    *o++ = '.';
    put(d.digits + exponent + 1, d.count - exponent - 1);
  }
  return std::string(out, o);
}

}  // namespace

std::string FormatNumber(double value) { return Format(value, 15); }
std::string FormatPlain(double value) { return Format(value, 15, true); }
std::string FormatSingle(float value) { return Format(static_cast<double>(value), 7); }

std::string FormatRoundTrip(double value) {
  if (value == 0.0) return "0";  // also -0
  char buf[64];
  auto done = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, done.ptr);
}

}  // namespace rt
