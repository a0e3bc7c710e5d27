#pragma once
// The thirteen loops of the portfolio sweep, outermost first: the ranking
// choice, the market and the side (list positions), then the ten ranking
// ranges. Pass 0 raises each swept range's lower bound from Min to Max by
// its Step; pass 1 lowers its upper bound from Max - Step down to Min. The
// variation count walks the same loops.
#include <array>
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
  std::vector<SweepLoop> loops;
  std::array<bool, kPortfolioLoops> swept{};
  // Pass 0's start, end and step of each range, before the blank rule: pass 1
  // and the restore need them.
  std::array<Bound, kRankingRangeCount> savedMin, savedMax, passZeroStep;
};

// In the count's pass 1 a range that is not swept is walked at its Min (the
// sweep walks it at its Max): one pass either way, so the number is the same.
enum class PassPurpose { kSweep, kCount };

// Sets up the loops of the pass (0 or 1) from the window's boxes and fields;
// pass 1 needs pass 0's set-up in the same PortfolioLoops. A Max or Step
// that pass 1 takes as a number and is none raises "Type mismatch".
void SetUpPortfolioPass(const ui::frmMain& window, int pass, PortfolioLoops& setUp, PassPurpose purpose);

}  // namespace optimiser
