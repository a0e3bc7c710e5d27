#include "platform/runtime/conversions.h"
#include "platform/runtime/rounding.h"
#include "simulation/portfolio_replay.h"

namespace simulation {
namespace {

// 1 January 1900 stands for "no release date" as much as the zero date does.
const rt::Date kNoReleaseDate = rt::DateSerial(1900, 1, 1);

bool HasReleaseDate(rt::Date d) { return !d.IsZero() && !(d == kNoReleaseDate); }

}  // namespace

bool ReleaseIfDue(PortfolioSlot& slot, rt::Date day, double commission, double& balance) {
  if (slot.strBought != "S" && slot.datReleaseDate < day && HasReleaseDate(slot.datReleaseDate)) {
    slot.strBought = "S";
    slot.intDaysHeld = rt::CInt(static_cast<double>(slot.datReleaseDate.DayNumber() - slot.datAcquireDate.DayNumber()));
    balance = (slot.dblGainLoss / 100 * slot.dblAmount + balance) - (commission + commission);
    return true;
  }
  const std::string& bought = slot.strBought;
  if (bought.empty() || bought == "S" || bought == "B" || bought == "X") return false;
  if (rt::CDate(bought) < day) {
    slot.strBought = "S";
    return true;
  }
  return false;
}

void FillDisplayRecord(clsStock& r, const PortfolioSlot& s, rt::Date day) {
  r.CurrentDate = day;
  r.Symbol = s.strSymbol;
  r.Positioning = s.strPositioning;
  r.AcquireDate = s.datAcquireDate;
  r.BoughtDate = s.datBoughtDate;
  r.AmountPurchased = rt::Round(s.dblAmount, 0);
  r.SharesPurchased = rt::CLng(rt::Round(SharesBought(s), 0));
  r.PercentMA = rt::CInt(rt::Round(s.dblPercentMA, 1));
  r.PurchasePrice = rt::Round(s.dblAcquirePrice, 2);
  r.TargetPrice = rt::Round(s.dblTargetPrice, 2);
  r.ReleaseDate = s.datReleaseDate;
  r.ReleasePrice = rt::Round(s.dblReleasePrice, 2);
  r.GainLoss = rt::Round(s.dblGainLoss, 1);
  r.Volume = s.lngVolume;
  r.Market = s.strMarket;
}

void ReplayTally::Add(const PortfolioSlot& slot) {
  if (slot.strBought != "S") return;
  released_ += 1;
  sumGains_ += slot.dblGainLoss;
  sumDays_ += slot.intDaysHeld;
  if (slot.strPositioning == "SHORT") counts_.shorts += 1;
  else counts_.longs += 1;
  if (slot.dblGainLoss > 0) counts_.winners += 1;
  else counts_.losers += 1;
}

ReplayResults ReplayTally::Results(size_t positionsBought) const {
  ReplayResults r = counts_;
  r.averageHold = positionsBought ? sumDays_ / static_cast<double>(positionsBought) : 0;
  r.averageReturn = released_ ? sumGains_ / released_ : 0;
  return r;
}

bool NothingBought(const std::vector<PortfolioSlot>& portfolio) {
  return portfolio.empty() || (portfolio.size() == 1 && portfolio[0].dblAcquirePrice <= 0);
}

}  // namespace simulation
