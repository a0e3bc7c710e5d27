#include "platform/runtime/price_text.h"

#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"

namespace rt {

void PriceText::Assign(std::string_view text) {
  for (size_t i = 0; i < kWidth; ++i) chars_[i] = i < text.size() ? text[i] : ' ';
}

void PriceText::Assign(double value) { Assign(FormatNumber(value)); }

std::string PriceText::Trimmed() const {
  std::string s = Text();
  size_t b = s.find_first_not_of(std::string(" \0", 2));
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(std::string(" \0", 2));
  return s.substr(b, e - b + 1);
}

double PriceText::Value() const { return Val(std::string_view(chars_.data(), kWidth)); }

bool PriceText::IsBlank() const {
  for (char c : chars_)
    if (c != '\0') return false;
  return true;
}

}  // namespace rt
