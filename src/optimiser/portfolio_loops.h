#pragma once
// The thirteen loops of the portfolio sweep, outermost first: the ranking
// choice, the market and the side (list positions), then the ten ranking
// ranges. Pass 0 raises each swept range's lower bound from Min to Max by
// its Step; pass 1 lowers its upper bound from Max - Step down to Min. A
// list or range that is not swept runs once and is never written: its
// fields mean what they mean in an ordinary run. The sweep and its variation
// count set up the same loops.
#include <array>
#include <string>
#include <vector>

#include "optimiser/sweep_fields.h"
#include "optimiser/sweep_loops.h"

namespace ui {
class frmMain;
}

namespace optimiser {

inline constexpr int kListLoops = 3;
inline constexpr int kPortfolioLoops = kListLoops + kRankingRangeCount;

struct PortfolioLoops {
  std::array<std::vector<SweepLoop>, 2> passes;  // the loops of pass 0 and pass 1
  std::array<bool, kPortfolioLoops> swept{};
  // The Min and Max texts of each range as typed: the header of a range that
  // is not swept, the Min that pass 1 writes back, the restore.
  std::array<std::string, kRankingRangeCount> typedMin, typedMax;
};

// Sets up both passes from the window's boxes and fields. A swept range's
// Max or Step that pass 1 takes as a number and is none raises "Type mismatch".
PortfolioLoops SetUpPortfolioLoops(const ui::frmMain& window);

}  // namespace optimiser
