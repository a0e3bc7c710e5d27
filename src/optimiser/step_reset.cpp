// The Reset buttons: each Step field of a tab becomes (Max - Min) divided by
// the tab's number of increments. Trade steps are whole numbers of at least
// 1; ranking steps keep their fractions.
#include <cmath>
#include <exception>

#include "market_data/calendar_and_log.h"
#include "optimiser/sweep_fields.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "ui/main_window.h"

namespace ui {
namespace {

struct StepRow {
  QLineEdit* min;
  QLineEdit* max;
  QLineEdit* step;
};

// (Max - Min) / divisor; a zero divisor or a result out of range is an error.
double StepOf(const QLineEdit* min, const QLineEdit* max, const QLineEdit* divisor) {
  double high = rt::CDbl(S(max->text()));
  double low = rt::CDbl(S(min->text()));
  double parts = rt::CDbl(S(divisor->text()));
  if (parts == 0) rt::RaiseDivisionByZero();
  double step = (high - low) / parts;
  if (!std::isfinite(step)) rt::RaiseOverflow();
  return step;
}

}  // namespace

void frmMain::cmdReset_Click(int index) {
  if (index != 0 && index != 1) return;
  bool trade = index == 1;
  std::vector<StepRow> rows;
  if (trade) {
    for (const auto& row : optimiser::kTradeRanges)
      rows.push_back({Text(row.field, 0), Text(row.field, 1), Text(row.step)});
  } else {
    for (int i = 0; i < optimiser::kRankingRangeCount; ++i) {
      const char* field = optimiser::kRankingRanges[i].field;
      rows.push_back({Text(field, 0), Text(field, 1), Text("txtStep", i)});
    }
  }
  QLineEdit* divisor = Text("txtSMARTDivisor", index);
  try {
    for (const StepRow& row : rows) {
      if (row.min->text().isEmpty() || row.max->text().isEmpty()) continue;
      double step = StepOf(row.min, row.max, divisor);
      if (step <= 0) {
        row.step->clear();
        continue;
      }
      if (!trade) {
        row.step->setText(Q(rt::FormatPlain(std::fabs(step))));
        continue;
      }
      // A trade setting is a whole number of days or percent: never a step of 0.
      row.step->setText(Q(std::to_string(rt::CLng(rt::RoundHalfEven(std::fabs(step))))));
      if (row.step->text() == "0") row.step->setText("1");
    }
  } catch (const std::exception& error) {
    // The rows before keep their new steps; the user is not troubled.
    LogError(error.what());
  }
}

}  // namespace ui
