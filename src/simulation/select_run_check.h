#pragma once
// The settings a Select run cannot start with. Each would make the whole
// pass fail (no simulation table to write, or indicators that no symbol can
// have), so the run is refused before anything is downloaded or changed.
#include <string>

#include "market_data/run_parameters.h"

namespace simulation {

// "" when a Select run may start, else the one message that tells the user
// what to change: a database kind without a simulation table (with where
// that setting is kept), or the first indicator period out of its limits.
std::string SelectRunRefusal(const RunParameters& parms);

}  // namespace simulation
