#pragma once
// A Select run over the shipped symbols from an empty database, for tests
// and benchmarks of the later stages. The stand-in quote service must be
// running (QuoteServiceProcess).
#include <string>

#include "platform/runtime/date.h"
#include "support/engine_test_bed.h"

namespace testsupport {

// Sets the run parameters of a Select that downloads every history it needs
// (from a year before the period's) and stores every day of the period as a
// LONG and a SHORT winner (no criterion enabled) into `table`, created anew.
void PrepareDownloadingSelect(EngineTestBed& bed, const std::string& table, rt::Date periodStart);

// Creates the simulation table `table`, imports the default symbol file when
// the first run asks for it, downloads every history and stores every day of
// the period as a LONG and a SHORT winner (no criterion enabled). Returns the
// status of the run after the import ("complete" when all went well).
std::string SelectShippedSymbols(EngineTestBed& bed, const std::string& table, rt::Date periodStart,
                                 rt::Date periodEnd);

}  // namespace testsupport
