#include "platform/runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rt {
namespace {

// The count of digits before the exponent of to_chars' scientific text.
int MantissaDigits(const char* first, const char* last) {
  int digits = 0;
  for (; first != last && *first != 'e'; ++first)
    if (*first >= '0' && *first <= '9') ++digits;
  return digits;
}

std::string Format(double value, int significant, bool plain = false) {
  if (value == 0.0 || std::isnan(value)) return "0";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  char buf[64];
  // [-]d.ddddde[+-]XX, correctly rounded (to_chars is far cheaper than
  // printf). A normal Double's shortest digits are its rounding to 15
  // digits whenever there are no more of them (the Double lies within half a
  // unit of their 15th digit), so only a longer text, or a subnormal's, is
  // printed to the precision.
  auto done = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  if (significant < 15 || !std::isnormal(value) || MantissaDigits(buf, done.ptr) > significant)
    done = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
  const char* p = buf;
  const char* end = done.ptr;
  const bool negative = *p == '-';
  if (negative) ++p;
  const char* e = std::find(p, end, 'e');
  std::string digits;
  for (const char* q = p; q != e; ++q)
    if (*q != '.') digits += *q;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);

  std::string out;
  if (negative) out += '-';
  if (!plain && (exponent >= significant || exponent < -4)) {
    out += digits[0];
    if (digits.size() > 1) out.append(".").append(digits, 1);
    int magnitude = std::abs(exponent);
    out += exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) out += '0';
    out += std::to_string(magnitude);
  } else if (exponent < 0) {
    out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
  } else {
    size_t intLen = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intLen) {
      out.append(digits).append(intLen - digits.size(), '0');
    } else {
      out.append(digits, 0, intLen).append(".").append(digits, intLen);
    }
  }
  return out;
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
