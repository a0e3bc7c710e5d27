#include "platform/runtime/conversions.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/runtime/error.h"
#include "platform/runtime/rounding.h"

namespace rt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<double> RadixValue(std::string_view digits, int radix, bool whole) {
  if (digits.empty()) return std::nullopt;
  double v = 0;
  size_t i = 0;
  for (; i < digits.size(); ++i) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(digits[i])));
    int d;
    if (IsDigit(c)) d = c - '0';
    else if (radix == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else break;
    if (d >= radix) break;
    v = v * radix + d;
  }
  if (i == 0 || (whole && i != digits.size())) return std::nullopt;
  // Beyond the double range, as a decimal text is: Overflow, or 0 for Val.
  if (std::isinf(v)) {
    if (whole) RaiseOverflow();
    return 0.0;
  }
  // Values that fit 16 bits read as 16-bit signed, 32 bits as 32-bit signed.
  if (v <= 0xFFFF && digits.size() <= (radix == 16 ? 4u : 6u)) {
    if (v > 0x7FFF) v -= 0x10000;
  } else if (v <= 0xFFFFFFFFu) {
    if (v > 0x7FFFFFFF) v -= 4294967296.0;
  }
  return v;
}

// Parses the numeric body at the start of s: sign, digits, point, exponent.
// Returns the count of characters used (0 when no digit was seen).
size_t ScanDecimal(std::string_view s, bool allowGrouping, std::string& clean) {
  size_t i = 0;
  clean.clear();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
  bool digits = false;
  while (i < s.size() && (IsDigit(s[i]) || (allowGrouping && s[i] == ',' && digits))) {
    if (s[i] != ',') clean += s[i];
    digits = true;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    clean += '.';
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      clean += s[i++];
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
    size_t start = j;
    while (j < s.size() && IsDigit(s[j])) exp += s[j++];
    if (j > start) {
      clean += exp;
      i = j;
    }
  }
  return i;
}

// A plain decimal of at most 15 digits ("12.34", "-7"), the commonest
// number text by far, read directly: its digits as a whole number and the
// power of ten are exact Doubles, so the one rounded division gives the
// nearest Double, as the full reading does. nullopt for any other text.
std::optional<double> PlainDecimal(std::string_view s) {
  size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
  const size_t first = i;
  double digits = 0, scale = 1;
  for (; i < s.size() && IsDigit(s[i]); ++i) digits = digits * 10 + (s[i] - '0');
  size_t count = i - first;
  if (count > 0 && i + 1 < s.size() && s[i] == '.') {
    const size_t point = ++i;
    for (; i < s.size() && IsDigit(s[i]); ++i, scale *= 10) digits = digits * 10 + (s[i] - '0');
    count += i - point;
  }
  if (count == 0 || count > 15 || i != s.size()) return std::nullopt;
  const double value = digits / scale;
  return first == 1 ? -value : value;
}

std::optional<double> StrictNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  std::string_view s = text.substr(b, e - b);
  if (std::optional<double> plain = PlainDecimal(s)) return plain;
  if (s.empty()) return std::nullopt;
  if (s.size() > 2 && s[0] == '&') {
    char k = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (k == 'H') return RadixValue(s.substr(2), 16, true);
    if (k == 'O') return RadixValue(s.substr(2), 8, true);
    return std::nullopt;
  }
  std::string body;
  bool negative = false;
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  if (i < s.size() && s[i] == '$') ++i;
  std::string clean;
  size_t used = ScanDecimal(s.substr(i), true, clean);
  if (used == 0 || i + used != s.size()) return std::nullopt;
  if (!clean.empty() && (clean[0] == '+' || clean[0] == '-')) {
    if (i > 0 && (s[0] == '+' || s[0] == '-')) return std::nullopt;  // two signs
  }
  double v = ParseDecimal(clean);
  if (std::isinf(v)) {
    RaiseOverflow();
  }
  return negative ? -v : v;
}

double Strict(std::string_view text) {
  std::optional<double> v = StrictNumber(text);
  if (!v) RaiseTypeMismatch();
  return *v;
}

// Farther than any text's own digits can move the point.
constexpr long kFarExponent = std::numeric_limits<long>::max() / 2;

// The power of ten of the first significant digit of a decimal text that
// from_chars found out of range: above 0 it overflowed, else it underflowed.
long DecimalMagnitude(std::string_view digits) {
  long magnitude = 0, exponent = 0;
  bool significant = false, afterPoint = false;
  for (size_t i = 0; i < digits.size(); ++i) {
    char c = digits[i];
    if (c == '.') {
      afterPoint = true;
    } else if (c == 'e' || c == 'E') {
      size_t from = i + 1;
      if (from < digits.size() && digits[from] == '+') ++from;
      // An exponent too long for a long still says which way the value went.
      if (std::from_chars(digits.data() + from, digits.data() + digits.size(), exponent).ec ==
          std::errc::result_out_of_range)
        exponent = digits[from] == '-' ? -kFarExponent : kFarExponent;
      break;
    } else if (!significant && c == '0') {
      if (afterPoint) --magnitude;
    } else {
      significant = true;
      if (!afterPoint) ++magnitude;
    }
  }
  return magnitude + exponent;
}

}  // namespace

double ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range)
    value = DecimalMagnitude(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  else if (error != std::errc() || end != text.data() + text.size()) value = 0;
  return negative ? -value : value;
}

double Val(std::string_view text) {
  if (std::optional<double> plain = PlainDecimal(text)) return *plain;
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (c == '\0') break;
    if (!IsBlank(c)) compact += c;
  }
  if (compact.size() >= 2 && compact[0] == '&') {
    char k = static_cast<char>(std::toupper(static_cast<unsigned char>(compact[1])));
    std::optional<double> v;
    if (k == 'H') v = RadixValue(std::string_view(compact).substr(2), 16, false);
    if (k == 'O') v = RadixValue(std::string_view(compact).substr(2), 8, false);
    return v.value_or(0.0);
  }
  std::string clean;
  if (ScanDecimal(compact, false, clean) == 0) return 0.0;
  double v = ParseDecimal(clean);
  return std::isfinite(v) ? v : 0.0;
}

bool IsNumeric(std::string_view text) {
  try {
    return StrictNumber(text).has_value();
  } catch (const Error&) {
    return false;
  }
}

double CDbl(std::string_view text) { return Strict(text); }

float CSng(double value) {
  if (std::fabs(value) > FLT_MAX) RaiseOverflow();
  return ToSingle(value);
}
float CSng(std::string_view text) { return CSng(Strict(text)); }

int16_t CInt(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= -32768.0 && r <= 32767.0)) RaiseOverflow();
  return static_cast<int16_t>(r);
}
int16_t CInt(std::string_view text) { return CInt(Strict(text)); }

int32_t CLng(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) RaiseOverflow();
  return static_cast<int32_t>(r);
}
int32_t CLng(std::string_view text) { return CLng(Strict(text)); }

int64_t CLngLng(std::string_view text) {
  double r = RoundHalfEven(Strict(text));
  // 2^63 itself is the first value that no longer fits.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) RaiseOverflow();
  return static_cast<int64_t>(r);
}

int16_t LeadingInteger(std::string_view text) { return CInt(Val(text)); }

}  // namespace rt
