// clsResearch's market-index indicators: the same steps over each index array.
#include "market_data/cls_research.h"
#include "market_data/day_record.h"
#include "market_data/market_index_steps.h"
#include "market_data/run_parameters.h"

void clsResearch::CrunchMarketDJI() { indicators::CrunchIndexDays(udtDJIDays, Parms()); }
void clsResearch::CrunchMarketNASDAQ() { indicators::CrunchIndexDays(udtNASDAQDays, Parms()); }
