// Walking an entered position toward the newest loaded day: each day first
// tests the exit against the stop in force, then lets the chosen rule move
// the stop. An optional sell buffer then worsens the release price.
#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/rounding.h"
#include "simulation/trade_days.h"

void clsResearch::UpdateAndSell() {
  const std::string& rule = Parms().strPriceUpdate;
  if (rule == "ProfitableLoss") ProfitableLoss();
  else if (rule == "New Extreme Low/High") NewExtreme();
}

bool clsResearch::MaxAge() {
  const RunParameters& parms = Parms();
  return parms.blnMaxAge && trade_.intBoughtDay - trade_.intCurrentDay > parms.intMaxDays;
}

void clsResearch::ProfitableLoss() { WalkToExit(&clsResearch::TrailProfitableStop); }

void clsResearch::NewExtreme() {
  trade_.dblPrevHigh = trade::High(trade_.intBoughtDay + 1);
  trade_.dblPrevLow = trade::Low(trade_.intBoughtDay + 1);
  WalkToExit(&clsResearch::FollowSwingExtreme);
}

void clsResearch::WalkToExit(void (clsResearch::*updateStop)(int16_t day)) {
  bool isLong = trade_.strPositioning == "LONG";
  for (int16_t day = trade_.intBoughtDay; day >= 0; --day) {
    trade_.intCurrentDay = day;
    bool tooOld = MaxAge();
    bool stopHit = isLong ? trade::Low(day) <= trade_.dblStopPrice : trade::High(day) >= trade_.dblStopPrice;
    if (stopHit || tooOld) {
      double open = trade::Open(day);
      bool openedBeyondStop = isLong ? open < trade_.dblStopPrice : open > trade_.dblStopPrice;
      // The fill day cannot have gapped through a stop set after its open.
      bool atStop = !tooOld && (day == trade_.intBoughtDay || !openedBeyondStop);
      trade_.datReleaseDate = trade::DayDate(day);
      trade_.dblReleasePrice = rt::Round(atStop ? trade_.dblStopPrice : open, 2);
      return;
    }
    (this->*updateStop)(day);
  }
}

// Once the close has gained the profit level, the stop trails every later
// close by the decline percentage, in either direction.
void clsResearch::TrailProfitableStop(int16_t day) {
  const RunParameters& parms = Parms();
  double close = trade::Close(day);
  double acquire = trade_.dblAcquirePrice;
  if (trade_.strPositioning == "LONG") {
    if (trade_.strProfitFlag == "P" || (1 + parms.intProfitable / 100.0) * acquire <= close) {
      trade_.dblStopPrice = close * (1 - parms.intDecline / 100.0);
      trade_.strProfitFlag = "P";
    }
  } else if (trade_.strProfitFlag == "P" || (1 - parms.intProfitable / 100.0) * acquire >= close) {
    trade_.dblStopPrice = close * (1 + parms.intDecline / 100.0);
    trade_.strProfitFlag = "P";
  }
}

// On a day that did not make a lower Low (a LONG) or a higher High (a SHORT),
// the stop moves to the latest swing Low or High since the fill day. The
// prices are compared as their stored texts.
void clsResearch::FollowSwingExtreme(int16_t day) {
  int boughtDay = trade_.intBoughtDay;
  if (trade_.strPositioning == "LONG") {
    if (!(trade::Day(day).strLow >= trade::Day(day + 1).strLow)) return;
    int j = day;
    while (j < boughtDay && trade::Day(j).strLow > trade::Day(j + 1).strLow) ++j;
    if (j != boughtDay) trade_.dblStopPrice = trade::Low(j);
  } else {
    if (!(trade::Day(day).strHigh <= trade::Day(day + 1).strHigh)) return;
    int j = day;
    while (j < boughtDay && trade::Day(j).strHigh < trade::Day(j + 1).strHigh) ++j;
    if (j != boughtDay) trade_.dblStopPrice = trade::High(j);
  }
}

void clsResearch::ApplySellBuffer() {
  double buffer = Parms().intSellBuffer / 100.0;
  double& price = trade_.dblReleasePrice;
  price = rt::Round(trade_.strPositioning == "LONG" ? price * (1 - buffer) : price * (1 + buffer), 2);
}
