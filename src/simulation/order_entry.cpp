// Entering a candidate position the trading day after its signal: a Market
// order at the next Open, or a Limit or Stop order priced off the signal
// day's Close and watched for the order's life; then the initial stop.
#include <optional>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/rounding.h"
#include "simulation/trade_days.h"

namespace {

constexpr int32_t kBought = 0;
constexpr int32_t kNotBought = -1;

// The index of the signal day, searched from the oldest loaded day.
std::optional<int> FindSignalDay(const rt::Date& signalDate) {
  for (size_t i = trade::DayCount(); i-- > 0;)
    if (trade::DayDate(static_cast<int>(i)) == signalDate) return static_cast<int>(i);
  return std::nullopt;
}

int16_t DayIndex(int index) { return rt::CInt(static_cast<double>(index)); }

// A Limit or Stop order: which side of the order price a day must reach, and
// whether an Open beyond the price fills at that Open.
enum class Trigger { kLowAtOrBelow, kHighAtOrAbove };

struct OrderRule {
  double orderPrice;
  Trigger trigger;
};

bool Triggers(const OrderRule& rule, int day) {
  return rule.trigger == Trigger::kLowAtOrBelow ? trade::Low(day) <= rule.orderPrice
                                                : trade::High(day) >= rule.orderPrice;
}

// The fill is at the Open when the day opened already past the order price
// in the direction the trigger looks, else at the order price.
double FillPrice(const OrderRule& rule, int day) {
  double open = trade::Open(day);
  bool openedThrough = rule.trigger == Trigger::kLowAtOrBelow ? open <= rule.orderPrice : open >= rule.orderPrice;
  return openedThrough ? rt::Round(open, 2) : rt::Round(rule.orderPrice, 2);
}

// Limit and Stop orders: watch the days of the order's life after the signal
// day and fill on the first day that reaches the order price.
int32_t WatchOrder(clsResearch::TradePosition& trade, const rt::Date& signalDate, bool limitOrder) {
  const RunParameters& parms = Parms();
  std::optional<int> found = FindSignalDay(signalDate);
  if (!found) {
    trade.intCurrentDay = 0;
    return kNotBought;
  }
  int signalDay = *found;
  bool isLong = trade.strPositioning == "LONG";
  // A buy limit has nothing to watch when the signal is on the newest day.
  if (limitOrder && isLong && signalDay == 0) {
    trade.intCurrentDay = 0;
    return kNotBought;
  }
  if (!isLong && trade::Open(signalDay - 1) < parms.dblMinShortPrice) {
    trade.intCurrentDay = 0;
    return kNotBought;
  }
  double close = trade::Close(signalDay);
  OrderRule rule{};
  rule.orderPrice = isLong ? close * (1 + parms.intLimitPercent / 100.0) : close * (1 - parms.intLimitPercent / 100.0);
  // A buy limit and a sell stop wait for the Low to come down to the price;
  // a sell limit and a buy stop wait for the High to come up to it.
  rule.trigger = (limitOrder == isLong) ? Trigger::kLowAtOrBelow : Trigger::kHighAtOrAbove;

  int lastDay = signalDay - parms.intLifeofOrder;
  for (int day = signalDay - 1; day >= lastDay; --day) {
    if (!Triggers(rule, day)) continue;
    trade.intBoughtDay = DayIndex(day);
    trade.dblAcquirePrice = FillPrice(rule, day);
    trade.datBoughtDate = trade::DayDate(day);
    trade.datAcquireDate = signalDate;
    trade.intCurrentDay = trade.intBoughtDay;
    return kBought;
  }
  // The order expired: the walk stands on the day after its life.
  trade.intCurrentDay = DayIndex(lastDay - 1);
  return kNotBought;
}

}  // namespace

int32_t clsResearch::PurchaseStock(rt::Date& signalDate) {
  const RunParameters& parms = Parms();
  int32_t result = kNotBought;
  if (parms.strTypeOfPurchase == "Market") {
    result = MarketPurchase(signalDate);
  } else if (parms.strTypeOfPurchase == "Limit") {
    if (parms.strPurchasePrice == "% of Close") result = LimitPurchase(signalDate);
  } else if (parms.strTypeOfPurchase == "Stop") {
    if (parms.strPurchasePrice == "% of Close") result = StopPurchase(signalDate);
  }
  return result == kBought ? kBought : kNotBought;
}

int32_t clsResearch::MarketPurchase(rt::Date& signalDate) {
  std::optional<int> signalDay = FindSignalDay(signalDate);
  if (!signalDay) return kNotBought;
  int next = *signalDay - 1;
  bool buy = trade_.strPositioning == "LONG" ||
             (trade_.strPositioning == "SHORT" && trade::Open(next) >= Parms().dblMinShortPrice);
  if (!buy) return kNotBought;
  trade_.intBoughtDay = DayIndex(next);
  trade_.dblAcquirePrice = rt::Round(trade::Open(next), 2);
  trade_.datBoughtDate = trade::DayDate(next);
  trade_.datAcquireDate = trade::DayDate(*signalDay);
  trade_.intCurrentDay = trade_.intBoughtDay;
  return kBought;
}

int32_t clsResearch::LimitPurchase(rt::Date& signalDate) { return WatchOrder(trade_, signalDate, true); }

int32_t clsResearch::StopPurchase(rt::Date& signalDate) { return WatchOrder(trade_, signalDate, false); }

void clsResearch::SetStopPrice() {
  const RunParameters& parms = Parms();
  bool isLong = trade_.strPositioning == "LONG";
  if (parms.strInitStop == "%Loss") {
    double loss = parms.intInitStopPercent / 100.0;
    trade_.dblStopPrice = isLong ? trade_.dblAcquirePrice * (1 - loss) : trade_.dblAcquirePrice * (1 + loss);
  } else if (parms.strInitStop == "Previous Day's Low/High") {
    int dayBefore = trade_.intBoughtDay + 1;
    trade_.dblStopPrice = isLong ? trade::Low(dayBefore) : trade::High(dayBefore);
  }
}
