#pragma once
// The limits the indicator periods must keep. The RSI, EMA and signal seeds
// sit at fixed rows near the oldest day, so a longer period would reach past
// it and every symbol would fail; a run with such a period is refused before
// it starts.
#include <string>

#include "market_data/run_parameters.h"

namespace indicators {

// "" when every period fits, else a message that names the first field out of
// its limits by its caption, e.g. "Days RSI Based On must be a whole number
// from 1 to 24 (it is 25)." The Select driver and the main window call it
// before a run and show the message instead of running.
std::string CheckIndicatorPeriods(const RunParameters& parms);

}  // namespace indicators
