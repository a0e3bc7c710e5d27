#pragma once
// Floating-point division that fails the way the rules expect: a zero divisor
// raises "Division by zero" (0 / 0 raises "Overflow"), and a result too large
// for a Double raises "Overflow", instead of carrying an infinity or NaN into
// later comparisons.
#include <cmath>

#include "platform/runtime/error.h"

namespace rt {

inline double Divide(double numerator, double denominator) {
  if (denominator == 0.0) {
    if (numerator == 0.0) RaiseOverflow();
    RaiseDivisionByZero();
  }
  double quotient = numerator / denominator;
  if (!std::isfinite(quotient)) RaiseOverflow();
  return quotient;
}

}  // namespace rt
