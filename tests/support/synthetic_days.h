#pragma once
// Small made-up histories whose indicator columns can be worked out by hand.
#include <cstdint>
#include <functional>

#include "market_data/day_record.h"

namespace testsupport {

// One day of a made-up history.
struct SyntheticDay {
  double close = 0;
  double high = 0;
  double low = 0;
  int32_t volume = 0;
};

// `count` rows, row 0 the newest: row i is dayAt(i). Prices are stored as
// their six-character texts, as loaded histories hold them.
DayRecords MakeDays(long count, const std::function<SyntheticDay(long row)>& dayAt);

// `count` rows whose close, high and low are all closeAt(i), volume 1000.
DayRecords MakeCloses(long count, const std::function<double(long row)>& closeAt);

}  // namespace testsupport
