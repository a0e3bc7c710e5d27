#pragma once
// Hand-made price series for the Trade rule tests: days are written oldest
// first, the way one reads a chart, and land in udtStockDays newest first.
#include <string>
#include <vector>

#include "market_data/day_record.h"
#include "platform/runtime/date.h"
#include "platform/runtime/price_text.h"

namespace tradetest {

struct Bar {
  const char* date;  // "3/1/2004"
  double open, high, low, close;
};

using Bars = std::vector<Bar>;

inline void LoadSeries(const Bars& oldestFirst) {
  udtStockDays.assign(oldestFirst.size(), DayRecord{});
  size_t index = oldestFirst.size();
  for (const Bar& bar : oldestFirst) {
    DayRecord& day = udtStockDays[--index];
    day.datDamnDate = rt::CDate(bar.date);
    day.strOpen.Assign(bar.open);
    day.strHigh.Assign(bar.high);
    day.strLow.Assign(bar.low);
    day.strClose.Assign(bar.close);
    day.lngVolume = 100000;
  }
}

// Replaces the prices of the day at the given index (0 the newest).
inline void SetDay(size_t index, double open, double high, double low, double close) {
  DayRecord& day = udtStockDays.at(index);
  day.strOpen.Assign(open);
  day.strHigh.Assign(high);
  day.strLow.Assign(low);
  day.strClose.Assign(close);
}

inline rt::Date D(const char* text) { return rt::CDate(text); }

// A rising ten-day series; 3/1/2004 (index 9) is the signal day of most tests.
inline Bars RisingBars() {
  return {
      {"3/1/2004", 10.00, 10.20, 9.80, 10.00},    // 9
      {"3/2/2004", 10.05, 10.30, 9.90, 10.10},    // 8
      {"3/3/2004", 10.10, 10.40, 10.00, 10.30},   // 7
      {"3/4/2004", 10.30, 10.90, 10.20, 10.80},   // 6
      {"3/5/2004", 10.80, 11.40, 10.70, 11.30},   // 5
      {"3/8/2004", 11.30, 11.50, 11.00, 11.10},   // 4
      {"3/9/2004", 11.00, 11.10, 10.60, 10.70},   // 3
      {"3/10/2004", 10.60, 10.80, 10.30, 10.50},  // 2
      {"3/11/2004", 10.40, 10.60, 10.10, 10.20},  // 1
      {"3/12/2004", 10.20, 10.40, 9.90, 10.00},   // 0
  };
}

// A falling ten-day series for SHORT positions; signal day 3/1/2004 (index 9).
inline Bars FallingBars() {
  return {
      {"3/1/2004", 20.00, 20.40, 19.60, 20.00},   // 9
      {"3/2/2004", 19.90, 20.10, 19.50, 19.70},   // 8
      {"3/3/2004", 19.60, 19.80, 19.00, 19.10},   // 7
      {"3/4/2004", 19.00, 19.20, 18.20, 18.30},   // 6
      {"3/5/2004", 18.30, 18.50, 17.80, 18.00},   // 5
      {"3/8/2004", 18.00, 18.20, 17.60, 17.90},   // 4
      {"3/9/2004", 18.00, 18.60, 17.90, 18.50},   // 3
      {"3/10/2004", 18.50, 18.90, 18.30, 18.70},  // 2
      {"3/11/2004", 18.70, 19.00, 18.50, 18.80},  // 1
      {"3/12/2004", 18.80, 19.10, 18.60, 19.00},  // 0
  };
}

// Lows that dip and recover below 10, for the swing-low stop.
inline Bars SwingBars() {
  return {
      {"3/1/2004", 9.00, 9.20, 8.80, 9.00},   // 9
      {"3/2/2004", 9.05, 9.30, 8.90, 9.10},   // 8
      {"3/3/2004", 9.10, 9.20, 8.70, 8.90},   // 7
      {"3/4/2004", 8.95, 9.40, 8.85, 9.30},   // 6
      {"3/5/2004", 9.30, 9.60, 9.10, 9.50},   // 5
      {"3/8/2004", 9.50, 9.70, 9.20, 9.60},   // 4
      {"3/9/2004", 9.55, 9.60, 9.05, 9.20},   // 3
      {"3/10/2004", 9.25, 9.80, 9.15, 9.70},  // 2
      {"3/11/2004", 9.70, 9.90, 9.40, 9.80},  // 1
      {"3/12/2004", 9.10, 9.30, 8.90, 9.00},  // 0
  };
}

inline void RisingSeries() { LoadSeries(RisingBars()); }
inline void FallingSeries() { LoadSeries(FallingBars()); }
inline void SwingSeries() { LoadSeries(SwingBars()); }

}  // namespace tradetest
