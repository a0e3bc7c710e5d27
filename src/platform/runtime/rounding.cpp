#include "platform/runtime/rounding.h"

#include <cmath>

namespace rt {

double RoundHalfEven(double value) {
  double floorValue = std::floor(value);
  double diff = value - floorValue;
  if (diff < 0.5) return floorValue;
  if (diff > 0.5) return floorValue + 1.0;
  return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

double Round(double value, int places) {
  if (places <= 0) return RoundHalfEven(value);
  double scale = std::pow(10.0, places);
  double scaled = value * scale;
  if (!std::isfinite(scaled)) return value;
  return RoundHalfEven(scaled) / scale;
}

}  // namespace rt
