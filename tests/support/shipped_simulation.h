#pragma once
// A simulation table made from the shipped data the way a user makes one: a
// Select run with no criterion enabled (every day of the period a LONG and a
// SHORT candidate) over every shipped symbol, their histories downloaded from
// the stand-in quote service, then the Trade stage with a Market order and
// the other trade settings as the window first shows them.
#include <string>

#include "platform/runtime/date.h"
#include "support/engine_test_bed.h"

namespace testsupport {

// Fills the table `table` (created anew) on the bed's engine and leaves the
// run parameters set for the period, with strSimEnd its last day. Needs a
// running QuoteServiceProcess. Returns the number of rows; throws when the
// Select run does not complete.
long BuildShippedSimulation(EngineTestBed& bed, const std::string& table, rt::Date periodStart, rt::Date periodEnd);

}  // namespace testsupport
