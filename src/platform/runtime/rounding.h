#pragma once
// Rounding as the whole program does it: ties go to the even neighbour.
namespace rt {

// Scales by 10^places in double arithmetic, rounds ties to even, scales back.
double Round(double value, int places = 0);

// Nearest whole number, ties to even (the rounding of integer conversions).
double RoundHalfEven(double value);

}  // namespace rt
