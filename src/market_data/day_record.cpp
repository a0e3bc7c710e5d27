#include "market_data/day_record.h"

#include <array>

#include "platform/runtime/error.h"

DayRecords udtStockDays;
DayRecords udtDJIDays;
DayRecords udtNASDAQDays;

namespace {

using ColumnMember = double DayRecord::*;

constexpr std::array<ColumnMember, DayRecord::kLastColumn - DayRecord::kFirstColumn + 1> kColumns = {
    &DayRecord::dblAvgClose2,
    &DayRecord::dblMA_A,
    &DayRecord::dblMA_B,
    &DayRecord::dblAvgVolume,
    &DayRecord::dblAvgVolumeSwing,
    &DayRecord::dblDevA,
    &DayRecord::dblDevA2,
    &DayRecord::dblSigmaA,
    &DayRecord::dblBandUpper,
    &DayRecord::dblBandUpperSlope,
    &DayRecord::dblBandLower,
    &DayRecord::dblBandLowerSlope,
    &DayRecord::dblGain,
    &DayRecord::dblLoss,
    &DayRecord::dblAvgGain,
    &DayRecord::dblAvgLoss,
    &DayRecord::dblRSI,
    &DayRecord::dblBandsWidening,
    &DayRecord::dblBollSignal,
    &DayRecord::dblRSIBelowLow,
    &DayRecord::dblUnused31,
    &DayRecord::dblHighAboveMA,
    &DayRecord::dblHighAboveMAPrice,
    &DayRecord::dblRSIAboveHigh,
    &DayRecord::dblUnused35,
    &DayRecord::dblLowBelowMA,
    &DayRecord::dblLowBelowMAPrice,
    &DayRecord::dblUnused38,
    &DayRecord::dblUnused39,
    &DayRecord::dblRSIUpCross,
    &DayRecord::dblRSIDownCross,
    &DayRecord::dblEMAFast,
    &DayRecord::dblEMASlow,
    &DayRecord::dblMACD,
    &DayRecord::dblMACDSignal,
    &DayRecord::dblMACDHist,
    &DayRecord::dblSwingHigh,
    &DayRecord::dblSwingLow,
    &DayRecord::dblSwingMACDHigh,
    &DayRecord::dblSwingMACDLow,
    &DayRecord::dblRawPlusDM,
    &DayRecord::dblRawMinusDM,
    &DayRecord::dblPlusDM,
    &DayRecord::dblMinusDM,
    &DayRecord::dblSmoothPlusDM,
    &DayRecord::dblSmoothMinusDM,
    &DayRecord::dblTR1,
    &DayRecord::dblTR2,
    &DayRecord::dblTR3,
    &DayRecord::dblTR,
    &DayRecord::dblSmoothTR,
    &DayRecord::dblPlusDI,
    &DayRecord::dblMinusDI,
    &DayRecord::dblDIDiff,
    &DayRecord::dblDISum,
    &DayRecord::dblDX,
    &DayRecord::dblADX,
};

ColumnMember MemberOf(int column) {
  if (column < DayRecord::kFirstColumn || column > DayRecord::kLastColumn) rt::RaiseSubscript();
  return kColumns[static_cast<size_t>(column - DayRecord::kFirstColumn)];
}

}  // namespace

double& DayRecord::Col(int column) { return this->*MemberOf(column); }
double DayRecord::Col(int column) const { return this->*MemberOf(column); }

DayRecord& DayAt(DayRecords& days, long i) {
  if (i < 0 || static_cast<size_t>(i) >= days.size()) rt::RaiseSubscript();
  return days[static_cast<size_t>(i)];
}

const DayRecord& DayAt(const DayRecords& days, long i) {
  if (i < 0 || static_cast<size_t>(i) >= days.size()) rt::RaiseSubscript();
  return days[static_cast<size_t>(i)];
}
