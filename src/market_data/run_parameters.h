#pragma once
// The run parameters: every setting a run depends on, copied from the main
// window and the options dialog before each run (LoadParms, LoadStartUpParms)
// and read by the engine, which never reads a window control.
//
// One process-wide record, zero at start. DesignDefaults() gives the values
// that a copy from the windows as first shown would give; tests and tools use
// it as a starting point.
#include <cstdint>
#include <string>

#include "platform/runtime/date.h"

struct RunParameters {
  // Select stage: history, indicators and criteria
  int16_t intWinDays = 0;
  rt::Date datEarliestDate;
  bool blnUpdateData = false;
  double dblRSIHigh = 0;
  double dblRSILow = 0;
  int16_t intRSIDays = 0;
  int16_t intMADays = 0;
  int16_t intBollDays = 0;
  int16_t intBollDivergeDays = 0;
  int16_t intBollStableDays = 0;
  int16_t intMADiff = 0;
  int16_t intMACDShort = 0;
  int16_t intMACDLong = 0;
  int16_t intMACDCombo = 0;
  double dblMACDMin = 0;
  double dblSwingMACDPct = 0;
  double dblSwingVolumePct = 0;
  double dblSwingPricePct = 0;
  double dblSwingRangePct = 0;
  int16_t intSwingDays = 0;
  int16_t intSwingVolDays = 0;
  int32_t lngADXDays = 0;
  int16_t intADXThreshold = 0;
  int16_t intRSIMode = 0;
  bool blnUseBoll = false;
  bool blnUseRSI = false;
  bool blnUseMACD = false;
  bool blnUseSwing = false;
  bool blnUseADX = false;
  bool blnUseMA = false;
  bool blnUseMinVol = false;
  int32_t lngVolDollarMin = 0;
  float sngVolPercMax = 0;
  double dblMinShortPrice = 0;

  // Trade stage: orders and exits
  std::string strTypeOfPurchase;
  std::string strPurchasePrice;
  int16_t intLimitPercent = 0;
  int16_t intLifeofOrder = 0;
  std::string strInitStop;
  int16_t intInitStopPercent = 0;
  std::string strPriceUpdate;
  int16_t intProfitable = 0;
  int16_t intDecline = 0;
  bool blnMaxAge = false;
  int16_t intMaxDays = 0;
  int16_t blnUseSellLoss = 0;  // the check box value itself: 0, 1 or 2 (greyed)
  int16_t intSellBuffer = 0;
  std::string strSimEnd;
  bool blnCalculateResults = false;

  // Portfolio stage: account, purchases and candidate filters
  double dblStartInvestment = 0;
  double dblCommission = 0;
  double dblMaxVolPct = 0;
  int16_t intBuyPerDay = 0;
  int16_t intMaxStocks = 0;
  bool blnSelectByDate = false;
  rt::Date datSelectStart;
  rt::Date datSelectEnd;
  int16_t intBuyCriteria = 0;  // -1 none, 0..5 "%MA", "MACD", "PriceChange", "VolChange", "%MA * VolCh", "Rev%MA"
  bool blnSelectByMarket = false;
  std::string strSelectMarket;
  bool blnSelectByPosition = false;
  std::string strSelectPositioning;
  bool blnCombineIndicators = false;

  // The ten ranking ranges: a switch and the bounds exactly as typed.
  bool blnVolChange = false;
  std::string strVolChangeMin, strVolChangeMax;
  bool blnPercentMA = false;
  std::string strPercentMAMin, strPercentMAMax;
  bool blnPriceChange = false;
  std::string strPriceChangeMin, strPriceChangeMax;
  bool blnMACDRange = false;
  std::string strMACDMin, strMACDMax;
  bool blnBBDist = false;
  std::string strBBDistMin, strBBDistMax;
  bool blnRSIChange = false;
  std::string strRSIChangeMin, strRSIChangeMax;
  bool blnDJMA = false;
  std::string strDJMAMin, strDJMAMax;
  bool blnDJRSI = false;
  std::string strDJRSIMin, strDJRSIMax;
  bool blnNSMA = false;
  std::string strNSMAMin, strNSMAMax;
  bool blnNSRSI = false;
  std::string strNSRSIMin, strNSRSIMax;

  // System: the database
  int16_t intDBType = 0;
  int16_t intDatabaseType = 0;
  std::string strDatabasePath;

  // Set by other operations and read by the engine
  bool blnUseInternet = false;
  bool blnAllStocksReport = false;
  bool blnPerDayReport = false;
  bool blnNoWinCriteria = false;
  std::string strSimTable;

  static RunParameters DesignDefaults();
};

// The process-wide run parameters.
RunParameters& Parms();
