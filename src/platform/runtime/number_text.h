#pragma once
// The default text forms of numbers: "." as the decimal point whatever the
// locale, no grouping, no trailing zeros, at most 15 significant digits for a
// Double (7 for a Single), and "1E+15" / "1E-05" outside the plain range.
#include <cstdint>
#include <string>

namespace rt {

std::string FormatNumber(double value);
// The same digits as FormatNumber, always in plain decimal (2.5E-05 is
// "0.000025", 1E+20 is "100000000000000000000"), -0 as "0": for texts the
// program writes into fields, whose sign rule would misread an exponent.
std::string FormatPlain(double value);
std::string FormatSingle(float value);
// The shortest decimal text that reads back as exactly the same Double
// ("2.5", "0.30000000000000004", "1e-05"): for values that are stored as
// text and must come back unchanged.
std::string FormatRoundTrip(double value);
inline std::string FormatNumber(int64_t value) { return std::to_string(value); }
inline std::string FormatNumber(int32_t value) { return std::to_string(value); }
inline std::string FormatNumber(int16_t value) { return std::to_string(value); }

}  // namespace rt
