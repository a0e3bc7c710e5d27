// The winner scan: one symbol's loaded history, day by day from the start of
// the period to the newest day, judged by the enabled criteria; every day
// with a side that passes the gates becomes a Winner event.
#include <memory>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/arithmetic.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/rounding.h"

namespace {

constexpr const char* kLong = "LONG";
constexpr const char* kShort = "SHORT";

// The first row of the scan: the row of startDate, else the row that has a
// full look-back of intWinDays calendar days (in trading days) behind it.
long StartRow(rt::Date startDate) {
  for (size_t k = 0; k < udtStockDays.size(); ++k)
    if (udtStockDays[k].datDamnDate == startDate) return static_cast<long>(k);
  long lookBackRows = static_cast<long>(rt::RoundHalfEven(Parms().intWinDays / 7.0 * 5));
  return static_cast<long>(udtStockDays.size()) - 1 - lookBackRows;
}

// The newest row of an index array on or before a day; blank rows (left by
// a zero close) are not days. The scan asks for ever later days of an array
// held newest first, so the answer only moves towards row 0: the finder walks
// there from its last answer instead of searching the array per winner.
// "Subscript out of range" when the array has no such row.
class IndexRowFinder {
 public:
  explicit IndexRowFinder(const DayRecords& rows) : rows_(rows), at_(rows.size()) {}

  const DayRecord& For(rt::Date day) {
    if (at_ < rows_.size() && rows_[at_].datDamnDate > day) at_ = rows_.size();  // an earlier day: start over
    if (at_ == rows_.size()) {
      for (size_t k = 0; k < rows_.size(); ++k)
        if (IsDayOnOrBefore(k, day)) {
          at_ = k;
          break;
        }
    } else {
      for (size_t k = at_; k-- > 0;) {
        if (rows_[k].datDamnDate.IsZero()) continue;
        if (!(rows_[k].datDamnDate <= day)) break;
        at_ = k;
      }
    }
    if (at_ == rows_.size()) rt::RaiseSubscript();
    return rows_[at_];
  }

 private:
  bool IsDayOnOrBefore(size_t k, rt::Date day) const {
    return !rows_[k].datDamnDate.IsZero() && rows_[k].datDamnDate <= day;
  }

  const DayRecords& rows_;
  size_t at_;
};

}  // namespace

std::string clsResearch::OutputWinners(const std::string& symbol, const std::string& market, bool simulationFlag,
                                       rt::Date startDate, bool noCriteria, std::string& positioning) {
  const std::string forcedOnEntry = positioning;
  const long s = StartRow(startDate);
  IndexRowFinder djiRows(udtDJIDays);
  IndexRowFinder nasdaqRows(udtNASDAQDays);
  try {
    for (long i = s; i >= 0; --i) {
      int32_t total = static_cast<int32_t>(s + 1);
      int32_t done = static_cast<int32_t>(s - i + 1);
      // The two forced passes of a run without criteria share one progress bar.
      if (forcedOnEntry == kLong) {
        total = static_cast<int32_t>(2 * (s + 1));
      } else if (forcedOnEntry == kShort) {
        total = static_cast<int32_t>(2 * (s + 1));
        done += static_cast<int32_t>(s + 1);
      }
      std::string name = symbol;
      bool flag = simulationFlag;
      bool countOnly = false;
      Raise(&ResearchEvents::StockCount, name, total, done, flag, countOnly);

      // A Pause sets the stop flag too, but lets the symbol's scan finish so
      // that a resumed run (which starts with the next symbol) misses no day.
      if (blnStopProcess_ && !blnPauseProcess_) break;

      std::unique_ptr<clsStock> winner;
      try {
        std::string swingAnswer;
        if (!noCriteria) positioning = JudgeDay(static_cast<int>(i), symbol, swingAnswer);
        if (!positioning.empty())
          winner = BuildWinner(static_cast<int>(i), symbol, market, simulationFlag, positioning, swingAnswer);
        if (winner) {
          // Each index at its own row for the day (their trading days may differ).
          const DayRecord& dji = djiRows.For(winner->AcquireDate);
          const DayRecord& nasdaq = nasdaqRows.For(winner->AcquireDate);
          winner->DJ_RSI = rt::CInt(dji.dblIndexRSI);
          winner->DJ_MA = rt::CInt(dji.dblIndexPercentMA);
          winner->NS_RSI = rt::CInt(nasdaq.dblIndexRSI);
          winner->NS_MA = rt::CInt(nasdaq.dblIndexPercentMA);
        }
      } catch (const rt::Error&) {
        // A value of this day that cannot be computed (a zero divisor, a
        // missing row, an overflow): the day gives no winner.
        winner.reset();
      }
      if (!noCriteria) positioning.clear();
      if (winner) {
        bool store = true;
        Raise(&ResearchEvents::Winner, *winner, store);
      }
    }
  } catch (const rt::Error&) {
    // An error raised back by an event handler ends this symbol's scan.
  }
  return "";
}

std::string clsResearch::JudgeDay(int i, const std::string& symbol, std::string& swingAnswer) {
  const RunParameters& parms = Parms();
  bool veto = false;
  bool longVote = false;
  bool shortVote = false;
  auto count = [&](const std::string& answer) {
    if (answer == "X") veto = true;
    if (answer == kLong) longVote = true;
    if (answer == kShort) shortVote = true;
  };
  // Every enabled criterion is asked, even after a veto: the swing rule
  // reports its stages and fills its columns for every day.
  if (parms.blnUseMA) count(WinMA(i));
  if (parms.blnUseRSI) count(WinRSI(i));
  if (parms.blnUseBoll) count(WinBoll(i));
  if (parms.blnUseMinVol && WinMinVolume(i) != "OK") veto = true;
  if (parms.blnUseMACD) count(WinMACD(i));
  if (parms.blnUseADX) count(WinADX(i));
  if (parms.blnUseSwing) {
    swingAnswer = WinSwing(i, symbol);
    count(swingAnswer);
  }
  if (veto || longVote == shortVote) return "";
  return longVote ? kLong : kShort;
}

std::unique_ptr<clsStock> clsResearch::BuildWinner(int i, const std::string& symbol, const std::string& market,
                                                   bool simulationFlag, const std::string& positioning,
                                                   const std::string& swingAnswer) {
  const RunParameters& parms = Parms();
  const DayRecord& day = DayAt(udtStockDays, i);
  const DayRecord& before = DayAt(udtStockDays, i + 1L);
  const bool isShort = positioning == kShort;
  const double sign = isShort ? -1 : 1;
  const double close = day.strClose.Value();

  double pct = rt::Round(rt::Divide(close - day.dblMA_B, close), 2) * 100 * sign;

  // The price texts are compared as texts; the swing and ADX rules work on
  // days whose close may lie outside the texts' order, so they skip this.
  if (!parms.blnUseSwing && !parms.blnUseADX) {
    if (!(day.strClose >= day.strLow && day.strClose <= day.strHigh)) return nullptr;
  }
  double volumeChange = rt::Divide(day.lngVolume - static_cast<double>(before.lngVolume), before.lngVolume) * 100;
  double beforeClose = before.strClose.Value();
  double priceChange = rt::Divide(close - beforeClose, beforeClose) * 100 * sign;
  if (isShort && !(close > parms.dblMinShortPrice)) return nullptr;

  auto stock = std::make_unique<clsStock>();
  stock->Market = market;
  stock->Swing = swingAnswer;
  stock->VolumeChange = rt::Round(volumeChange, 1);
  stock->PriceChange = rt::Round(priceChange, 1);
  stock->MACDFastLine = rt::Round(day.dblMACD, 2);
  stock->ClosePrice = close;
  stock->Volume = rt::CLng(day.dblAvgVolume);
  stock->AcquireDate = day.datDamnDate;
  stock->Positioning = positioning;
  stock->Symbol = symbol;
  stock->PurchasePrice = -1;
  stock->ReleasePrice = rt::Round(day.dblMA_B, 2);
  stock->RSI = rt::CInt(day.dblRSI);
  stock->PercentMA = rt::CInt(pct);
  stock->Simulation = simulationFlag ? -1 : 0;
  stock->High = day.strHigh.Value();
  stock->Low = day.strLow.Value();

  double band = isShort ? rt::Divide(close, day.dblBandUpper) : rt::Divide(day.dblBandLower, close);
  double bbDistance = rt::Round(band * 100, 1);
  if (!isShort && bbDistance < 0) bbDistance = 0;
  stock->BBDistance = rt::CSng(bbDistance);

  double rsiChange = rt::Round(rt::Divide(day.dblRSI - before.dblRSI, day.dblRSI), 2) * 100 * sign;
  stock->RSIChange = rt::CSng(rsiChange);
  return stock;
}
