#include "platform/runtime/price_text.h"

#include <algorithm>

#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"

namespace rt {

void PriceText::Assign(std::string_view text) {
  for (size_t i = 0; i < kWidth; ++i) chars_[i] = i < text.size() ? text[i] : ' ';
}

void PriceText::Assign(double value) { Assign(FormatNumber(value)); }

bool PriceText::KeepsWholePart(std::string_view text) { return std::min(text.find('.'), text.size()) <= kWidth; }

std::string PriceText::Trimmed() const {
  std::string s = Text();
  size_t b = s.find_first_not_of(std::string(" \0", 2));
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(std::string(" \0", 2));
  return s.substr(b, e - b + 1);
}

// Prices are read on every indicator and order step, so the plain decimal
// forms a price text holds are read directly: at most six digits over a
// power of ten, both exact in double, so the one rounded division gives the
// same number as Val. Anything else (exponents, "&H", stray characters) goes
// to Val.
double PriceText::Value() const {
  double mantissa = 0;
  double scale = 1;
  bool negative = false, seenSign = false, seenDigit = false, seenPoint = false;
  for (char c : chars_) {
    if (c == '\0') break;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;  // Val ignores blanks anywhere
    if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + (c - '0');
      if (seenPoint) scale *= 10;
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else if ((c == '-' || c == '+') && !seenSign && !seenDigit && !seenPoint) {
      negative = c == '-';
      seenSign = true;
    } else {
      return Val(std::string_view(chars_.data(), kWidth));
    }
  }
  if (!seenDigit) return 0.0;
  const double value = mantissa / scale;
  return negative ? -value : value;
}

bool PriceText::IsBlank() const {
  for (char c : chars_)
    if (c != '\0') return false;
  return true;
}

}  // namespace rt
