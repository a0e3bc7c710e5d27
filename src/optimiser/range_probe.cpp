// Auto-Populate Criteria: switches the ten ranking ranges on and fills their
// Min and Max fields with the smallest and largest values of the current
// simulation table, so that a run or a sweep starts from the data's range.
#include <exception>

#include "market_data/calendar_and_log.h"
#include "market_data/run_parameters.h"
#include "optimiser/sweep_fields.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "ui/main_window.h"

namespace ui {

void frmMain::cmdGetRange_Click() {
  // Its statements would be refused inside a run's statements, and left half done.
  if (RefusedDuringRun("Auto-Populate Criteria")) return;
  RunAsWork([this] { ProbeRanges(); });
}

void frmMain::ProbeRanges() {
  for (const auto& range : optimiser::kRankingRanges) Check(range.filterBox, range.filterBoxIndex)->SetValue(1);
  try {
    const std::string& table = db::SqlName(Parms().strSimTable);
    // An engine of its own on the shared connection, beside the window's.
    clsResearch probe(clsResearch::JoinSharedConnection{});
    for (const auto& range : optimiser::kRankingRanges) {
      const std::pair<const char*, int> bounds[] = {{"MIN", 0}, {"MAX", 1}};
      for (const auto& [aggregate, index] : bounds) {
        std::string answer =
            probe.QueryDB("SELECT " + std::string(aggregate) + " (" + range.column + ") FROM [" + table + "]");
        // "No Result" and "ERROR!!" are not numbers: the probe ends there.
        double value = rt::CDbl(answer);
        QLineEdit* field = Text(range.field, index);
        field->setText(Q(rt::FormatPlain(value)));
        field->setCursorPosition(0);
      }
    }
  } catch (const std::exception& error) {
    LogError(error.what());
  }
}

}  // namespace ui
