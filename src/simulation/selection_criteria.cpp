// The seven selection criteria of the Select scan. Each looks at one day of
// udtStockDays (row 0 the newest) and the rows behind it, and reads only the
// run parameters and the indicator columns that CrunchData computed.
#include <cmath>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/arithmetic.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/rounding.h"

namespace {

constexpr const char* kLong = "LONG";
constexpr const char* kShort = "SHORT";
constexpr const char* kVeto = "X";

// The swing window of day i covers rows i + 2 .. i + W, W being the swing
// days in whole weeks (ties to even) times five trading days.
long SwingWindowRows() { return static_cast<long>(rt::RoundHalfEven(Parms().intSwingDays / 7.0)) * 5; }

// Keeps the greater (or smaller) value of a column over the swing window of
// day i in that column of row i + 2. Rows past the oldest loaded day are not
// visited; row i + 2 itself must exist.
template <typename Value, typename Better>
void KeepSwingExtreme(int i, double DayRecord::*column, Value value, Better better) {
  DayRecord& first = DayAt(udtStockDays, i + 2L);
  first.*column = value(first);
  long last = std::min<long>(i + SwingWindowRows(), static_cast<long>(udtStockDays.size()) - 1);
  for (long k = i + 3L; k <= last; ++k) {
    double candidate = value(udtStockDays[static_cast<size_t>(k)]);
    if (better(candidate, first.*column)) first.*column = candidate;
  }
}

double High(const DayRecord& d) { return d.strHigh.Value(); }
double Low(const DayRecord& d) { return d.strLow.Value(); }
double MacdLine(const DayRecord& d) { return d.dblMACD; }
bool Greater(double a, double b) { return a > b; }
bool Less(double a, double b) { return a < b; }

}  // namespace

std::string clsResearch::WinMA(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  double close = day.strClose.Value();
  // A whole percent: the fraction is rounded to two places before the x100,
  // and the product is brought back onto the whole number it stands for.
  double p = rt::RoundHalfEven(rt::Round(rt::Divide(close - day.dblMA_B, close), 2) * 100);
  double threshold = Parms().intMADiff;
  if (std::fabs(p) >= threshold && p > 0) return kShort;
  if (std::fabs(p) >= threshold && p < 0) return kLong;
  return kVeto;
}

std::string clsResearch::WinRSI(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  const RunParameters& parms = Parms();
  if (parms.intRSIMode == 1) {
    if (day.dblRSIUpCross == 1) return kLong;
    if (day.dblRSIDownCross == 1) return kShort;
    return kVeto;
  }
  // The high level is tested first, so it wins when the two levels overlap.
  if (day.dblRSI >= parms.dblRSIHigh) return kShort;
  if (day.dblRSI <= parms.dblRSILow) return kLong;
  return kVeto;
}

std::string clsResearch::WinBoll(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  if (day.dblBollSignal != 1) return kVeto;
  if (day.dblRSIBelowLow == 1) return kLong;
  if (day.dblRSIAboveHigh == 1) return kShort;
  return "";
}

std::string clsResearch::WinMinVolume(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  const RunParameters& parms = Parms();
  int32_t shares = rt::CLng(rt::Divide(parms.lngVolDollarMin, day.strClose.Value()));
  // The percentage is a Single, and so is its hundredth.
  float share = parms.sngVolPercMax / 100.0f;
  int32_t limit = rt::CLng(static_cast<double>(share) * day.dblAvgVolume);
  return shares <= limit ? "OK" : kVeto;
}

std::string clsResearch::WinMACD(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  const DayRecord& before = DayAt(udtStockDays, i + 1L);
  double minimum = Parms().dblMACDMin;
  if (day.dblMACDHist > 0 && before.dblMACDHist < 0 && day.dblMACD > minimum) return kLong;
  if (day.dblMACDHist < 0 && before.dblMACDHist > 0 && day.dblMACD < -minimum) return kShort;
  return kVeto;
}

std::string clsResearch::WinADX(int i) {
  const DayRecord& day = DayAt(udtStockDays, i);
  const DayRecord& before = DayAt(udtStockDays, i + 1L);
  const DayRecord& twoBefore = DayAt(udtStockDays, i + 2L);
  bool trending =
      day.dblADX > before.dblADX && before.dblADX > twoBefore.dblADX && day.dblADX >= Parms().intADXThreshold;
  if (day.dblPlusDI > day.dblMinusDI) return trending ? kLong : "";
  if (day.dblPlusDI < day.dblMinusDI) return trending ? kShort : "";
  return kVeto;
}

std::string clsResearch::WinSwing(int i, const std::string& symbol) {
  const RunParameters& parms = Parms();
  const DayRecord& day = DayAt(udtStockDays, i);
  const DayRecord& before = DayAt(udtStockDays, i + 1L);
  auto raise = [&](const char* stageText) {
    std::string stage = stageText;
    rt::Date date = day.datDamnDate;
    std::string name = symbol;
    Raise(&ResearchEvents::Swing, stage, date, name);
  };

  FindSwingHigh(i);
  FindSwingLow(i);
  const DayRecord& window = DayAt(udtStockDays, i + 2L);
  double high = window.dblSwingHigh;
  double low = window.dblSwingLow;

  if (!(high - low < parms.dblSwingRangePct / 100 * high)) return kVeto;
  raise("range");

  // The close texts are compared as texts, by character code.
  if (!(before.strClose.Value() > (1 + parms.dblSwingPricePct / 100) * high && day.strClose > before.strClose))
    return kVeto;
  raise("price");

  AverageVolumeSwing();
  if (!(before.lngVolume > (1 + parms.dblSwingVolumePct / 100) * before.dblAvgVolumeSwing)) return kVeto;
  raise("volume");

  FindSwingMacdHigh(i);
  if (!(day.dblMACD > (1 + parms.dblSwingMACDPct / 100) * window.dblSwingMACDHigh)) return kVeto;
  raise("macd");
  return kLong;
}

void clsResearch::FindSwingHigh(int i) { KeepSwingExtreme(i, &DayRecord::dblSwingHigh, High, Greater); }
void clsResearch::FindSwingLow(int i) { KeepSwingExtreme(i, &DayRecord::dblSwingLow, Low, Less); }
void clsResearch::FindSwingMacdHigh(int i) { KeepSwingExtreme(i, &DayRecord::dblSwingMACDHigh, MacdLine, Greater); }
// Nothing reads the MACD swing low; kept with its siblings for completeness.
void clsResearch::FindSwingMacdLow(int i) { KeepSwingExtreme(i, &DayRecord::dblSwingMACDLow, MacdLine, Less); }
