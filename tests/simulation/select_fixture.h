#pragma once
// Day arrays written by hand for the Select rules, on the engine test bed.
#include <gtest/gtest.h>

#include <string>

#include "market_data/day_record.h"
#include "support/engine_test_bed.h"

// Newest day of the hand-made arrays; row k is k calendar days earlier.
inline rt::Date DayOfRow(size_t row) { return testsupport::Day(2004, 6, 30) - static_cast<double>(row); }

// n rows newest first: close 20 (high 21, low 19), volume 1000, moving
// average B 20, RSI 50, bands 25 and 15; the two index arrays hold the same
// days with RSI 55 and a distance of 2 % from their average.
inline void FillSelectDays(size_t n) {
  udtStockDays.assign(n, DayRecord{});
  udtDJIDays.assign(n, DayRecord{});
  udtNASDAQDays.assign(n, DayRecord{});
  for (size_t k = 0; k < n; ++k) {
    DayRecord& d = udtStockDays[k];
    d.datDamnDate = DayOfRow(k);
    d.strClose.Assign("20");
    d.strHigh.Assign("21");
    d.strLow.Assign("19");
    d.strOpen.Assign("20");
    d.lngVolume = 1000;
    d.dblMA_B = 20;
    d.dblAvgVolume = 1000;
    d.dblRSI = 50;
    d.dblBandUpper = 25;
    d.dblBandLower = 15;
    for (DayRecords* index : {&udtDJIDays, &udtNASDAQDays}) {
      DayRecord& x = (*index)[k];
      x.datDamnDate = DayOfRow(k);
      x.strClose.Assign("10000");
      x.dblIndexRSI = 55;
      x.dblIndexPercentMA = 2;
    }
  }
}

// Sets a day's close, high and low texts.
inline void SetPrices(size_t row, const char* close, const char* high, const char* low) {
  udtStockDays[row].strClose.Assign(close);
  udtStockDays[row].strHigh.Assign(high);
  udtStockDays[row].strLow.Assign(low);
}

// A Select winner with a value in every column the simulation table stores.
inline clsStock SampleWinner(const char* symbol = "IBM", const char* side = "LONG",
                             rt::Date day = testsupport::Day(2004, 1, 5)) {
  clsStock s;
  s.Market = "ny";
  s.Symbol = symbol;
  s.Positioning = side;
  s.AcquireDate = day;
  s.Simulation = -1;
  s.PurchasePrice = -1;
  s.ClosePrice = 25.125;
  s.RSI = 55;
  s.RSIChange = 12.5f;
  s.MACDFastLine = 0.12;
  s.PercentMA = -3;
  s.High = 20.5;
  s.Low = 19.25;
  s.Volume = 123456;
  s.VolumeChange = 50;
  s.PriceChange = -1.5;
  s.BBDistance = 80.1f;
  s.DJ_RSI = 70;
  s.DJ_MA = 3;
  s.NS_RSI = 40;
  s.NS_MA = -2;
  return s;
}

class SelectRulesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    udtStockDays.clear();
    udtDJIDays.clear();
    udtNASDAQDays.clear();
  }

  testsupport::EngineTestBed bed;
  clsResearch& engine = bed.Engine();
  testsupport::RecordingEvents& events = bed.Events();
  user::ScriptedUserServices& user = bed.User();
};
