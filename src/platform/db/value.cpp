#include "platform/db/value.h"

#include <cmath>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"

namespace db {
namespace {

bool DigitsAt(std::string_view text, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

int NumberAt(std::string_view text, size_t from, size_t count) {
  int n = 0;
  for (size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
  return n;
}

}  // namespace

std::optional<rt::Date> ParseStoredDate(std::string_view text) {
  if (text.size() != 10 && text.size() != 19) return std::nullopt;
  if (!DigitsAt(text, 0, 4) || text[4] != '-' || !DigitsAt(text, 5, 2) || text[7] != '-' || !DigitsAt(text, 8, 2))
    return std::nullopt;
  int hour = 0, minute = 0, second = 0;
  if (text.size() == 19) {
    if (text[10] != ' ' || !DigitsAt(text, 11, 2) || text[13] != ':' || !DigitsAt(text, 14, 2) || text[16] != ':' ||
        !DigitsAt(text, 17, 2))
      return std::nullopt;
    hour = NumberAt(text, 11, 2);
    minute = NumberAt(text, 14, 2);
    second = NumberAt(text, 17, 2);
  }
  return rt::Date::FromParts(NumberAt(text, 0, 4), NumberAt(text, 5, 2), NumberAt(text, 8, 2), hour, minute, second);
}

Value ReadStoredText(std::string text) {
  if (std::optional<rt::Date> d = ParseStoredDate(text)) return Value(*d);
  return Value(std::move(text));
}

double Value::ToDouble() const {
  switch (GetKind()) {
    case Kind::Null: rt::RaiseInvalidUseOfNull();
    case Kind::Integer: return static_cast<double>(std::get<int64_t>(v_));
    case Kind::Double: return std::get<double>(v_);
    case Kind::Text: return rt::CDbl(std::get<std::string>(v_));
    case Kind::Date: return std::get<rt::Date>(v_).Serial();
  }
  return 0;
}

int64_t Value::ToInteger() const {
  if (GetKind() == Kind::Integer) return std::get<int64_t>(v_);
  double rounded = rt::RoundHalfEven(ToDouble());
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) rt::RaiseOverflow();
  return static_cast<int64_t>(rounded);
}

rt::Date Value::ToDate() const {
  switch (GetKind()) {
    case Kind::Null: rt::RaiseInvalidUseOfNull();
    case Kind::Date: return std::get<rt::Date>(v_);
    case Kind::Text: return rt::CDate(std::get<std::string>(v_));
    default: return rt::Date(ToDouble());
  }
}

std::string Value::ToText() const {
  switch (GetKind()) {
    case Kind::Null: return "";
    case Kind::Integer: return rt::FormatNumber(std::get<int64_t>(v_));
    case Kind::Double: return rt::FormatNumber(std::get<double>(v_));
    case Kind::Text: return std::get<std::string>(v_);
    case Kind::Date: return rt::FormatDate(std::get<rt::Date>(v_));
  }
  return "";
}

}  // namespace db
