#pragma once
// One trading day of one symbol or index, and the three module-level arrays
// that hold a loaded history, newest day first (element 0 is the newest day,
// element i+1 the trading day before element i).
//
// The indicator columns carry the numbers 11 to 67 that every computation
// uses to name them; Col(n) reaches a column by its number, the named members
// read better where one column is meant.
#include <cstdint>
#include <vector>

#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

struct DayRecord {
  double dblIndexRSI = 0;        // index arrays only
  double dblIndexPercentMA = 0;  // index arrays only
  rt::Date datDamnDate;
  rt::PriceText strClose;     // stocks: the adjusted close
  rt::PriceText strLow;       // stocks: split-rescaled
  rt::PriceText strHigh;      // stocks: split-rescaled
  rt::PriceText strOpen;      // stocks: split-rescaled
  rt::PriceText strAdjClose;  // written only by the quote-page parser
  int64_t lngVolume = 0;      // 64-bit: index and heavy-volume days exceed 2^31 shares

  // Indicator columns 11 to 67.
  double dblAvgClose2 = 0;         // 11
  double dblMA_A = 0;              // 12
  double dblMA_B = 0;              // 13
  double dblAvgVolume = 0;         // 14
  double dblAvgVolumeSwing = 0;    // 15
  double dblDevA = 0;              // 16
  double dblDevA2 = 0;             // 17
  double dblSigmaA = 0;            // 18
  double dblBandUpper = 0;         // 19
  double dblBandUpperSlope = 0;    // 20
  double dblBandLower = 0;         // 21
  double dblBandLowerSlope = 0;    // 22
  double dblGain = 0;              // 23
  double dblLoss = 0;              // 24
  double dblAvgGain = 0;           // 25
  double dblAvgLoss = 0;           // 26
  double dblRSI = 0;               // 27
  double dblBandsWidening = 0;     // 28
  double dblBollSignal = 0;        // 29
  double dblRSIBelowLow = 0;       // 30
  double dblUnused31 = 0;          // 31
  double dblHighAboveMA = 0;       // 32
  double dblHighAboveMAPrice = 0;  // 33
  double dblRSIAboveHigh = 0;      // 34
  double dblUnused35 = 0;          // 35
  double dblLowBelowMA = 0;        // 36
  double dblLowBelowMAPrice = 0;   // 37
  double dblUnused38 = 0;          // 38
  double dblUnused39 = 0;          // 39
  double dblRSIUpCross = 0;        // 40
  double dblRSIDownCross = 0;      // 41
  double dblEMAFast = 0;           // 42
  double dblEMASlow = 0;           // 43
  double dblMACD = 0;              // 44
  double dblMACDSignal = 0;        // 45
  double dblMACDHist = 0;          // 46
  double dblSwingHigh = 0;         // 47
  double dblSwingLow = 0;          // 48
  double dblSwingMACDHigh = 0;     // 49
  double dblSwingMACDLow = 0;      // 50
  double dblRawPlusDM = 0;         // 51
  double dblRawMinusDM = 0;        // 52
  double dblPlusDM = 0;            // 53
  double dblMinusDM = 0;           // 54
  double dblSmoothPlusDM = 0;      // 55
  double dblSmoothMinusDM = 0;     // 56
  double dblTR1 = 0;               // 57
  double dblTR2 = 0;               // 58
  double dblTR3 = 0;               // 59
  double dblTR = 0;                // 60
  double dblSmoothTR = 0;          // 61
  double dblPlusDI = 0;            // 62
  double dblMinusDI = 0;           // 63
  double dblDIDiff = 0;            // 64
  double dblDISum = 0;             // 65
  double dblDX = 0;                // 66
  double dblADX = 0;               // 67

  static constexpr int kFirstColumn = 11;
  static constexpr int kLastColumn = 67;

  // The indicator column with the given number (11 to 67); any other number
  // raises "Subscript out of range".
  double& Col(int column);
  double Col(int column) const;
};

using DayRecords = std::vector<DayRecord>;

// Element i of a day array; "Subscript out of range" when there is none, so
// that a rule reading past the oldest loaded day fails like any other error.
DayRecord& DayAt(DayRecords& days, long i);
const DayRecord& DayAt(const DayRecords& days, long i);

// The stock being worked on; the quote-page parser also uses it as its buffer.
extern DayRecords udtStockDays;
// The index "^DJI".
extern DayRecords udtDJIDays;
// Any other index symbol, in practice "^IXIC".
extern DayRecords udtNASDAQDays;
