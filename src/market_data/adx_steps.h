#pragma once
// The directional-movement columns 51 to 67 of a loaded history, one function
// per column, in place on the whole array (row 0 the newest day). The oldest
// row has no day before it and is written by none of them.
//
// The three smoothings are not alike, and the stored results depend on it:
// +DM is summed over rows n-1 .. n-N and seeded at row n-N, while -DM, the
// true range and the ADX take rows n .. n-N+1 (row n being empty) and seed at
// row n-N+1.
#include <cstdint>

#include "market_data/day_record.h"
#include "market_data/indicator_math.h"

namespace indicators {

// 51, 52: the raw moves of the high and the low from the day before.
void RawPlusDM(DayRecords& days, const PriceSeries& prices);
void RawMinusDM(DayRecords& days, const PriceSeries& prices);
// 53, 54: the larger raw move, the other 0 (both 0 on a tie).
void PlusDM(DayRecords& days);
void MinusDM(DayRecords& days);
// 55, 56: Wilder's smoothing in its sum form.
void SmoothPlusDM(DayRecords& days, int32_t period);
void SmoothMinusDM(DayRecords& days, int32_t period);
// 57, 58, 59: the three parts of the true range; 60: the largest of them.
void RangeHighLow(DayRecords& days, const PriceSeries& prices);
void RangeHighClose(DayRecords& days, const PriceSeries& prices);
void RangeLowClose(DayRecords& days, const PriceSeries& prices);
void TrueRange(DayRecords& days);
// 61: the true range smoothed like column 56.
void SmoothTrueRange(DayRecords& days, int32_t period);
// 62, 63: +DI and -DI; 64, 65: their difference and sum; 66: DX.
void PlusDI(DayRecords& days);
void MinusDI(DayRecords& days);
void DIDifference(DayRecords& days);
void DISum(DayRecords& days);
void DX(DayRecords& days);
// 67: the ADX, Wilder's smoothing of DX in its mean form.
void ADX(DayRecords& days, int32_t period);

// All seventeen in order.
void CalculateAdx(DayRecords& days, const PriceSeries& prices, int32_t period);

}  // namespace indicators
