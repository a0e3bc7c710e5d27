#include "simulation/select_run_check.h"

#include "market_data/indicator_periods.h"
#include "platform/runtime/app_folder.h"

namespace simulation {
namespace {

// The options window that would hold the database type is disabled, so the
// message names the settings file and its line.
std::string DatabaseKindRefusal(int databaseType) {
  const std::string kind = std::to_string(databaseType);
  return "A Select run needs database type 1 (Access); the database type is " + kind + ".\r\n" +
         "The setting is kept in the PROPERTIES file in the application folder (" +
         rt::AppPath("\\PROPERTIES").string() + "): change its line txtSimOption(31)=" + kind +
         " to txtSimOption(31)=1, then start the program again.";
}

}  // namespace

std::string SelectRunRefusal(const RunParameters& parms) {
  if (parms.intDatabaseType != 1) return DatabaseKindRefusal(parms.intDatabaseType);
  return indicators::CheckIndicatorPeriods(parms);
}

}  // namespace simulation
