#include "simulation/portfolio_records.h"

std::vector<PortfolioSlot> udtPortfolio;
std::vector<ChartPoint> udtBalanceHistory;

void ResetPortfolio() { udtPortfolio.assign(1, PortfolioSlot{}); }

double SharesBought(const PortfolioSlot& slot) {
  return slot.dblAcquirePrice == 0 ? 0.0 : slot.dblAmount / slot.dblAcquirePrice;
}
