// clsResearch's ADX pipeline over udtStockDays (columns 51 to 67). The
// arithmetic lives in adx_steps.cpp; the period is lngADXDays.
#include "market_data/adx_steps.h"
#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"

using namespace indicators;

void clsResearch::CalculateADX() { CalculateAdx(udtStockDays, ReadPrices(udtStockDays), Parms().lngADXDays); }
void clsResearch::CalcRawPlusDM() { RawPlusDM(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::CalcRawMinusDM() { RawMinusDM(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::CalcPlusDM() { PlusDM(udtStockDays); }
void clsResearch::CalcMinusDM() { MinusDM(udtStockDays); }
void clsResearch::SmoothPlusDM() { indicators::SmoothPlusDM(udtStockDays, Parms().lngADXDays); }
void clsResearch::SmoothMinusDM() { indicators::SmoothMinusDM(udtStockDays, Parms().lngADXDays); }
void clsResearch::CalcRangeHighLow() { RangeHighLow(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::CalcRangeHighClose() { RangeHighClose(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::CalcRangeLowClose() { RangeLowClose(udtStockDays, ReadPrices(udtStockDays)); }
void clsResearch::CalcTrueRange() { TrueRange(udtStockDays); }
void clsResearch::SmoothTrueRange() { indicators::SmoothTrueRange(udtStockDays, Parms().lngADXDays); }
void clsResearch::CalcPlusDI() { PlusDI(udtStockDays); }
void clsResearch::CalcMinusDI() { MinusDI(udtStockDays); }
void clsResearch::CalcDIDifference() { DIDifference(udtStockDays); }
void clsResearch::CalcDISum() { DISum(udtStockDays); }
void clsResearch::CalcDX() { DX(udtStockDays); }
void clsResearch::CalcADX() { ADX(udtStockDays, Parms().lngADXDays); }
