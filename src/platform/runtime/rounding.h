#pragma once
// Rounding as the whole program does it: ties go to the even neighbour.
namespace rt {

// Scales by 10^places in double arithmetic, rounds ties to even, scales back.
double Round(double value, int places = 0);

// Nearest whole number, ties to even (the rounding of integer conversions).
double RoundHalfEven(double value);

// The value rounded to single precision, for sums the program keeps in
// single. The rounding is held behind an empty asm so that no optimiser can
// keep the value in double across a chain of additions: g++ -O3 did so when
// it vectorised such a chain, and the indicator values changed with the build.
inline float ToSingle(double value) {
  float single = static_cast<float>(value);
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  __asm__("" : "+x"(single));
#elif defined(__GNUC__) && defined(__aarch64__)
  __asm__("" : "+w"(single));
#else
  volatile float held = single;
  single = held;
#endif
  return single;
}

}  // namespace rt
