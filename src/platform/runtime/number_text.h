#pragma once
// The default text forms of numbers: "." as the decimal point whatever the
// locale, no grouping, no trailing zeros, at most 15 significant digits for a
// Double (7 for a Single), and "1E+15" / "1E-05" outside the plain range.
#include <cstdint>
#include <string>

namespace rt {

std::string FormatNumber(double value);
std::string FormatSingle(float value);
// The shortest decimal text that reads back as exactly the same Double
// ("2.5", "0.30000000000000004", "1e-05"): for values that are stored as
// text and must come back unchanged.
std::string FormatRoundTrip(double value);
inline std::string FormatNumber(int64_t value) { return std::to_string(value); }
inline std::string FormatNumber(int32_t value) { return std::to_string(value); }
inline std::string FormatNumber(int16_t value) { return std::to_string(value); }

}  // namespace rt
