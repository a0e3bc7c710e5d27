#pragma once
// The market-index fields of a loaded index history: its RSI and its percent
// distance from its moving average, beside the few stock columns they need
// (11, 13, 23 to 27) computed by the same steps as for a stock.
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/price_text.h"

namespace indicators {

// The whole percent by which the close lies above (below: negative) the
// average, measured against the close: the fraction is rounded to two places,
// ties to even, before it is scaled, so 10000 against 9652 gives 3. The
// average is taken at its 15-digit text form. A close reading 0 raises
// "Division by zero".
double IndexPercentMA(const rt::PriceText& close, double average);

// Columns 11, 13, 23 to 27 and dblIndexRSI for every row, dblIndexPercentMA
// for rows i + B < n. No minimum length: a short history leaves the fields
// it cannot reach at 0. Raises when the RSI seed window runs past the oldest
// row or a period is below 1.
void CrunchIndexDays(DayRecords& days, const RunParameters& parms);

}  // namespace indicators
