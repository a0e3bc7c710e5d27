// clsResearch's indicator columns over udtStockDays. The arithmetic lives in
// indicator_steps.cpp; each member here applies one step with the run
// parameters of the moment.
#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/indicator_steps.h"
#include "market_data/run_parameters.h"

using namespace indicators;

bool clsResearch::CrunchData(const std::string& symbol) {
  switch (CrunchStock(udtStockDays, Parms())) {
    case CrunchOutcome::kDone: return true;
    case CrunchOutcome::kTooFewRows: LogError("Not enough data to compute (<35 days): " + symbol); return false;
    case CrunchOutcome::kStepFailed: break;
  }
  LogError("Error crunching data for: " + symbol);
  return false;
}

void clsResearch::f() { AverageClose2(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::g() {
  MovingAverage(udtStockDays, ReadPrices(udtStockDays).close, Parms().intBollDays, &DayRecord::dblMA_A);
}
void clsResearch::h() {
  MovingAverage(udtStockDays, ReadPrices(udtStockDays).close, Parms().intMADays, &DayRecord::dblMA_B);
}
void clsResearch::AverageVolumeB() {
  MovingAverage(udtStockDays, Volumes(udtStockDays), Parms().intMADays, &DayRecord::dblAvgVolume);
}
void clsResearch::AverageVolumeSwing() {
  MovingAverage(udtStockDays, Volumes(udtStockDays), Parms().intSwingVolDays, &DayRecord::dblAvgVolumeSwing);
}
void clsResearch::i() { Deviation(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::j() { DeviationSquared(udtStockDays); }
void clsResearch::k() { Sigma(udtStockDays, Parms().intBollDays); }
void clsResearch::l() { BandUpper(udtStockDays); }
void clsResearch::m() { BandUpperSlope(udtStockDays); }
void clsResearch::n() { BandLower(udtStockDays); }
void clsResearch::o() { BandLowerSlope(udtStockDays); }
void clsResearch::p() { Gain(udtStockDays); }
void clsResearch::q() { Loss(udtStockDays); }
void clsResearch::r() { AverageGain(udtStockDays, Parms().intRSIDays); }
void clsResearch::s() { AverageLoss(udtStockDays, Parms().intRSIDays); }
void clsResearch::t() { Rsi(udtStockDays); }
void clsResearch::ComputeFastEma() {
  Ema(udtStockDays, ReadPrices(udtStockDays), Parms().intMACDShort, &DayRecord::dblEMAFast);
}
void clsResearch::ComputeSlowEma() {
  Ema(udtStockDays, ReadPrices(udtStockDays), Parms().intMACDLong, &DayRecord::dblEMASlow);
}
void clsResearch::ComputeMacdLine() { MacdLine(udtStockDays); }
void clsResearch::ComputeMacdSignal() { MacdSignal(udtStockDays, Parms().intMACDCombo); }
void clsResearch::ComputeMacdHistogram() { MacdHistogram(udtStockDays); }
void clsResearch::u() { BandsWidening(udtStockDays, Parms().intBollDays); }
void clsResearch::v() {
  BollSignal(udtStockDays, Parms().intBollDays, Parms().intBollStableDays, Parms().intBollDivergeDays);
}
void clsResearch::w() { RsiBelowLow(udtStockDays, Parms().dblRSILow); }
void clsResearch::Y() { HighAboveMA(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::z() { HighAboveMAPrice(udtStockDays); }
void clsResearch::aa() { RsiAboveHigh(udtStockDays, Parms().dblRSIHigh); }
void clsResearch::ac() { LowBelowMA(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::ad() { LowBelowMAPrice(udtStockDays); }
void clsResearch::ag() { RsiUpCross(udtStockDays, Parms().dblRSILow); }
void clsResearch::ah() { RsiDownCross(udtStockDays, Parms().dblRSIHigh); }
