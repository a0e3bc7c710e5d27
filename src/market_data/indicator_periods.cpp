#include "market_data/indicator_periods.h"

#include "market_data/indicator_steps.h"

namespace indicators {
namespace {

// The longest periods whose seed windows, which run from the seed row towards
// the oldest row, still end at or before it.
constexpr long kLongestRsiPeriod = kRsiSeedBack + 1;
constexpr long kLongestEmaPeriod = kEmaSeedBack + 1;

std::string Problem(const std::string& caption, const std::string& limits, long value) {
  return caption + " must be a whole number " + limits + " (it is " + std::to_string(value) + ").";
}

std::string Within(const std::string& caption, long value, long lowest, long highest) {
  if (value >= lowest && value <= highest) return "";
  return Problem(caption, "from " + std::to_string(lowest) + " to " + std::to_string(highest), value);
}

std::string AtLeast(const std::string& caption, long value, long lowest) {
  if (value >= lowest) return "";
  return Problem(caption, "of at least " + std::to_string(lowest), value);
}

}  // namespace

std::string CheckIndicatorPeriods(const RunParameters& p) {
  for (const std::string& problem : {
           Within("Days RSI Based On", p.intRSIDays, 1, kLongestRsiPeriod),
           AtLeast("# Days for Moving Average", p.intMADays, 1),
           AtLeast("Bollinger Moving Avg.", p.intBollDays, 1),
           AtLeast("Days of Divergance", p.intBollDivergeDays, 0),
           AtLeast("Days of Stability", p.intBollStableDays, 0),
           Within("Short EMA Length", p.intMACDShort, 1, kLongestEmaPeriod),
           Within("Long EMA Length", p.intMACDLong, 1, kLongestEmaPeriod),
           Within("Combo EMA Length", p.intMACDCombo, 1, kLongestRsiPeriod),
           // Only the swing criterion averages the volume over this period.
           p.blnUseSwing ? AtLeast("Days for Volume MA", p.intSwingVolDays, 1) : std::string(),
       }) {
    if (!problem.empty()) return problem;
  }
  // The widening-then-stable pattern is tested on rows up to the Bollinger
  // period before the oldest row and must fit inside the history.
  const long patternDays = static_cast<long>(p.intBollStableDays) + p.intBollDivergeDays;
  if (patternDays > static_cast<long>(p.intBollDays) + 1)
    return "Days of Divergance plus Days of Stability must not exceed Bollinger Moving Avg. plus 1 (they are " +
           std::to_string(p.intBollDivergeDays) + " + " + std::to_string(p.intBollStableDays) + " with " +
           std::to_string(p.intBollDays) + ").";
  return "";
}

}  // namespace indicators
