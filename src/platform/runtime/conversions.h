#pragma once
// Text-to-number conversions as the program's settings, pages and tables need
// them. The strict ones (CInt, CLng, CSng, CDbl) fail with "Type mismatch" on
// empty or non-numeric text and with "Overflow" outside the target type; the
// integer ones round ties to even.
#include <cstdint>
#include <string_view>

namespace rt {

// The leading number of a text: blanks are skipped, then an optional sign,
// digits, a decimal point and an exponent are read up to the first character
// that does not fit; 0 when there is none. "&H" and "&O" prefixes read hex
// and octal.
double Val(std::string_view text);

// True when the whole text (blanks around it allowed) is a number: an optional
// sign, an optional "$", digits with optional thousands commas, a decimal
// point, an exponent; or "&H"/"&O" followed by digits.
bool IsNumeric(std::string_view text);

double CDbl(std::string_view text);
float CSng(std::string_view text);
int16_t CInt(std::string_view text);
int32_t CLng(std::string_view text);
// CLng's 64-bit sibling, for share volumes beyond the 32-bit range.
int64_t CLngLng(std::string_view text);

float CSng(double value);
int16_t CInt(double value);
int32_t CLng(double value);

// A plain decimal text (optional sign, digits, a point, an exponent "e")
// read with "." as the decimal point whatever the process locale; a value
// beyond the double range reads as infinity, one too small as 0. The text
// must be nothing but the number.
double ParseDecimal(std::string_view text);

// The longest leading number of the text rounded to a 16-bit integer (ties to
// even); 0 when there is none; fails only with "Overflow".
int16_t LeadingInteger(std::string_view text);

}  // namespace rt
