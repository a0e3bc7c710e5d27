#pragma once
// Day arrays written by hand for the Select rules, and a listener that keeps
// what the engine raised.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/research_events.h"
#include "market_data/run_parameters.h"
#include "platform/user/scripted_user_services.h"
#include "support/temp_app_folder.h"

struct SwingStage {
  std::string stage;
  rt::Date day;
  std::string symbol;
};

class RecordingListener : public ResearchEvents {
 public:
  void Winner(clsStock& stock, bool& store) override {
    winners.push_back(stock);
    stores.push_back(store);
    if (onWinner) onWinner(stock);
  }
  void StockCount(std::string& symbol, int32_t& total, int32_t& index, bool&, bool& countOnly) override {
    counts.push_back({symbol, total, index});
    if (onStockCount) onStockCount(index);
  }
  void TotalStocks(int16_t& count) override { totalStocks.push_back(count); }
  void Swing(std::string& stage, rt::Date& day, std::string& symbol) override {
    swings.push_back({stage, day, symbol});
  }

  struct Count {
    std::string symbol;
    int32_t total;
    int32_t index;
  };
  std::vector<clsStock> winners;
  std::vector<bool> stores;
  std::vector<Count> counts;
  std::vector<int16_t> totalStocks;
  std::vector<SwingStage> swings;
  std::function<void(clsStock&)> onWinner;
  std::function<void(int32_t)> onStockCount;
};

// Newest day of the hand-made arrays; row k is k calendar days earlier.
inline rt::Date DayOfRow(size_t row) { return *rt::Date::FromParts(2004, 6, 30) - static_cast<double>(row); }

// n rows newest first: close 20 (high 21, low 19), volume 1000, moving
// average B 20, RSI 50, bands 25 and 15; the two index arrays hold the same
// days with RSI 55 and a distance of 2 % from their average.
inline void MakeDays(size_t n) {
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

// The design's parameter values, set before the engine opens its database.
struct DesignParameters {
  DesignParameters() { Parms() = RunParameters::DesignDefaults(); }
};

class SelectRulesTest : public ::testing::Test {
 protected:
  void SetUp() override { engine.SetListener(&events); }
  void TearDown() override {
    udtStockDays.clear();
    udtDJIDays.clear();
    udtNASDAQDays.clear();
  }

  testsupport::TempAppFolder folder;
  DesignParameters parameters;
  user::ScopedScriptedUser user;
  RecordingListener events;
  clsResearch engine;
};
