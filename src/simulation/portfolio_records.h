#pragma once
// The positions and the account history of the last portfolio replay. The
// replay fills them; the report files, the results list and the account chart
// read them until the next replay or the next Trade run resets them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime/date.h"

// One position bought by the replay: the simulation-table columns of its row
// plus the days it was held and the money put into it.
struct PortfolioSlot {
  rt::Date datAcquireDate;  // the signal day
  std::string strPositioning;
  double dblRSI = 0;
  rt::Date datReleaseDate;  // zero date: the row has none
  double dblGainLoss = 0;   // percent; 0 without a release date
  double dblPercentMA = 0;
  std::string strBought;  // column Bought; "S" once the slot is freed
  rt::Date datBoughtDate;
  int16_t intDaysHeld = 0;  // set on release with money
  double dblAmount = 0;
  std::string strSymbol;
  double dblAcquirePrice = 0;
  int32_t lngVolume = 0;
  double dblReleasePrice = 0;
  double dblTargetPrice = 0;
  double dblVolumeChange = 0;
  double dblPriceChange = 0;
  double dblMACD = 0;
  std::string strMarket;
};

// A value on a day: the balance at the end of a simulated day, or an index
// close on a calendar day.
struct ChartPoint {
  double dblValue = 0;
  rt::Date datDate;
};

// Element k is the (k+1)-th position bought; element 0 exists (empty) even
// when nothing was bought. Freed positions stay, marked "S".
extern std::vector<PortfolioSlot> udtPortfolio;
// One element per simulated day, in date order; empty before the first replay.
extern std::vector<ChartPoint> udtBalanceHistory;

// Empties the positions to the one empty element a replay or a Trade run starts from.
void ResetPortfolio();

// Whether the position is held on the day, as the results list and the
// per-day report show it: acquired by then and either released on or after
// it, or without a release date but bought (Bought not empty).
bool HeldOnDay(const PortfolioSlot& slot, rt::Date day);

// Shares the position's amount buys at its acquire price, unrounded. An order
// that never filled carries the price 0 and bought no shares.
double SharesBought(const PortfolioSlot& slot);
