#pragma once
// One field value as a query hands it back: Null, a whole number, a Double,
// a text or a Date. The readers convert the way the language's conversions
// do: Null raises "Invalid use of Null", a text that is not a number or a
// date raises "Type mismatch".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/runtime/date.h"

namespace db {

class Value {
 public:
  enum class Kind { Null, Integer, Double, Text, Date };

  Value() = default;
  explicit Value(int64_t v) : v_(v) {}
  explicit Value(double v) : v_(v) {}
  explicit Value(std::string v) : v_(std::move(v)) {}
  explicit Value(rt::Date v) : v_(v) {}

  Kind GetKind() const { return static_cast<Kind>(v_.index()); }
  bool IsNull() const { return GetKind() == Kind::Null; }

  double ToDouble() const;
  // Rounded to the nearest whole number, ties to even.
  int64_t ToInteger() const;
  rt::Date ToDate() const;
  // The default text form of the value; "" for Null (a field read as text).
  std::string ToText() const;
  // The text of a Text value without a copy; nullptr for any other kind.
  const std::string* TextIf() const { return std::get_if<std::string>(&v_); }

 private:
  std::variant<std::monostate, int64_t, double, std::string, rt::Date> v_;
};

// The stored form of a date ("2004-03-05", "2004-03-05 13:45:00") read back;
// nullopt for any other text.
std::optional<rt::Date> ParseStoredDate(std::string_view text);

// A stored text as a query hands it back: a Date when it is a stored date.
Value ReadStoredText(std::string text);

}  // namespace db
