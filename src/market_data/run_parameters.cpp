#include "market_data/run_parameters.h"

RunParameters& Parms() {
  static RunParameters parameters;
  return parameters;
}

RunParameters RunParameters::DesignDefaults() {
  RunParameters p;
  p.intWinDays = 105;
  p.dblRSIHigh = 80;
  p.dblRSILow = 20;
  p.intRSIDays = 14;
  p.intMADays = 30;
  p.intBollDays = 20;
  p.intBollDivergeDays = 2;
  p.intBollStableDays = 2;
  p.intMADiff = 0;
  p.intMACDShort = 12;
  p.intMACDLong = 26;
  p.intMACDCombo = 9;
  p.dblMACDMin = -3;
  p.dblSwingMACDPct = .1;
  p.dblSwingVolumePct = 100;
  p.dblSwingPricePct = .1;
  p.dblSwingRangePct = 10;
  p.intSwingDays = 11;
  p.intSwingVolDays = 10;
  p.lngADXDays = 10;
  p.intADXThreshold = 25;
  p.intRSIMode = 1;
  p.lngVolDollarMin = 3000;
  p.sngVolPercMax = .5f;
  p.dblMinShortPrice = 5;

  p.strPurchasePrice = "% of Close";
  p.intLimitPercent = 2;
  p.intLifeofOrder = 1;
  p.strInitStop = "%Loss";
  p.intInitStopPercent = 7;
  p.strPriceUpdate = "ProfitableLoss";
  p.intProfitable = 9;
  p.blnMaxAge = true;
  p.intMaxDays = 11;
  p.blnUseSellLoss = 1;
  p.intSellBuffer = 1;

  p.dblStartInvestment = 15000;
  p.dblCommission = 13;
  p.dblMaxVolPct = .5;
  p.intMaxStocks = 3;
  p.intBuyCriteria = -1;

  p.intDBType = 1;
  p.intDatabaseType = 1;
  p.strDatabasePath = "Vennorath.db";
  return p;
}
