#include "simulation/portfolio_records.h"

std::vector<PortfolioSlot> udtPortfolio;
std::vector<ChartPoint> udtBalanceHistory;

void ResetPortfolio() { udtPortfolio.assign(1, PortfolioSlot{}); }

bool HeldOnDay(const PortfolioSlot& slot, rt::Date day) {
  if (slot.datAcquireDate > day) return false;
  return slot.datReleaseDate >= day || (slot.datReleaseDate.IsZero() && !slot.strBought.empty());
}

double SharesBought(const PortfolioSlot& slot) {
  return slot.dblAcquirePrice == 0 ? 0.0 : slot.dblAmount / slot.dblAcquirePrice;
}
