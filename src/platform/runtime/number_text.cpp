#include "platform/runtime/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rt {
namespace {

std::string Format(double value, int significant, bool plain = false) {
  if (value == 0.0 || std::isnan(value)) return "0";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  char buf[64];
  // [-]d.ddddde[+-]XX, correctly rounded (to_chars is far cheaper than printf)
  auto done = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
  std::string s(buf, done.ptr);
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (s[i] != '.') digits += s[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (!plain && (exponent >= significant || exponent < -4)) {
    out = digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    char ebuf[16];
    std::snprintf(ebuf, sizeof ebuf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += ebuf;
  } else if (exponent < 0) {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    size_t intLen = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intLen) {
      out = digits + std::string(intLen - digits.size(), '0');
    } else {
      out = digits.substr(0, intLen) + "." + digits.substr(intLen);
    }
  }
  return negative ? "-" + out : out;
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
