#pragma once
// The day-by-day rules of the portfolio replay that need no database: when a
// position is released and what that does to the balance, when a position is
// shown for a day, what the display record carries, and the closing figures.
// clsResearch::SimResults drives them over udtPortfolio.
#include <cstdint>

#include "market_data/cls_stock.h"
#include "platform/runtime/date.h"
#include "simulation/portfolio_records.h"

namespace simulation {

// The replay's refusal of a table without rows; the sweeps refuse one the same way.
inline constexpr const char* kEmptySimulationTableMessage = "Simulation Table Is Empty.";

// Frees the position's slot when its time has come on `day`: a position with a
// release date before the day is realised (its gain or loss on its amount,
// less a commission each way, goes into the balance); a row the Trade stage
// ended without a trade (Bought holds a date text) frees its slot with no
// money the day after that date. Returns true when the slot was freed.
bool ReleaseIfDue(PortfolioSlot& slot, rt::Date day, double commission, double& balance);

// Writes the position into the display record for `day`; other fields keep their values.
void FillDisplayRecord(clsStock& record, const PortfolioSlot& slot, rt::Date day);

// The closing figures of a replay, as the Results event carries them.
struct ReplayResults {
  double averageReturn = 0;
  double averageHold = 0;
  int32_t shorts = 0;
  int32_t longs = 0;
  int32_t winners = 0;
  int32_t losers = 0;
};

// Adds up the released positions (Bought "S"). The average hold divides by
// every position bought, the average return by the released ones.
class ReplayTally {
 public:
  void Add(const PortfolioSlot& slot);  // ignores positions still held
  ReplayResults Results(size_t positionsBought) const;

 private:
  int32_t released_ = 0;
  double sumGains_ = 0;
  double sumDays_ = 0;
  ReplayResults counts_;
};

// True when the replay bought nothing: only the empty element 0 is there.
bool NothingBought(const std::vector<PortfolioSlot>& portfolio);

}  // namespace simulation
