// The portfolio sweep: the Portfolio stage once for every combination of the
// ranking choice, market, side and the swept ranking ranges, in two passes,
// each written into the window's own fields, with one report row per
// combination that ran to its end. A paused, stopped or failed sweep resumes
// from its pause row.
#include <algorithm>

#include "market_data/run_parameters.h"
#include "optimiser/portfolio_loops.h"
#include "optimiser/sweep_reports.h"
#include "optimiser/typed_fields_guard.h"
#include "optimiser/variation_walk.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "simulation/engine_reports.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::kListLoops;
using optimiser::kRankingRangeCount;
using optimiser::kRankingRanges;
using optimiser::Variation;

struct RangeFields {
  QLineEdit* min;
  QLineEdit* max;
  CheckBox* filter;  // its row cell is filled while this box is ticked
};
// The fields a variation writes and reads, found once.
struct VariationFields {
  QComboBox* lists[kListLoops];
  RangeFields ranges[kRankingRangeCount];
  QLabel* results[6];
};

// The swept lists and ranges are kept in typed: they go back to what the
// user typed on every way out.
VariationFields FindFields(frmMain& w, const optimiser::PortfolioLoops& setUp, optimiser::TypedFieldsGuard& typed) {
  VariationFields found;
  for (int l = 0; l < kListLoops; ++l) {
    found.lists[l] = w.Combo(optimiser::kRankingLists[l].combo);
    if (setUp.swept[l]) typed.KeepList(found.lists[l]);
  }
  for (int r = 0; r < kRankingRangeCount; ++r) {
    found.ranges[r] = {w.Text(kRankingRanges[r].field, 0), w.Text(kRankingRanges[r].field, 1),
                       w.Check(kRankingRanges[r].filterBox, kRankingRanges[r].filterBoxIndex)};
    if (!setUp.swept[kListLoops + r]) continue;
    typed.Keep(found.ranges[r].min);
    typed.Keep(found.ranges[r].max);
  }
  const int resultLabels[] = {7, 2, 4, 15, 3, 11};
  for (int i = 0; i < 6; ++i) found.results[i] = w.Label("lblResult", resultLabels[i]);
  return found;
}

// A swept range shows the bounds its loop starts the pass with; a range that
// is not swept the bounds it keeps, as typed.
std::vector<std::string> Header(const optimiser::PortfolioLoops& setUp, int pass) {
  std::vector<std::string> cells = {"Ranked By"};
  for (int r = 0; r < kRankingRangeCount; ++r) {
    const optimiser::SweepLoop& loop = setUp.passes[pass][kListLoops + r];
    const bool swept = setUp.swept[kListLoops + r];
    cells.push_back(std::string(kRankingRanges[r].caption) + " (" + (swept ? loop.start.Caption() : setUp.typedMin[r]) +
                    ":" + (swept ? loop.end.Caption() : setUp.typedMax[r]) + ")");
  }
  for (const char* cell : {"Win/Loss", "Short/Long", "Avg Hold", "Balance", "Avg. Ret.", "Comp. Ret."})
    cells.push_back(cell);
  return cells;
}

// An outer loop's value stays for many variations: only a change is written.
void SetText(QLineEdit* field, const std::string& text) {
  if (S(field->text()) != text) field->setText(Q(text));
}
void SetIndex(QComboBox* list, int index) {
  if (list->currentIndex() != index) list->setCurrentIndex(index);
}

void WriteFields(const optimiser::PortfolioLoops& setUp, const VariationFields& fields, const Variation& v) {
  for (int l = 0; l < kListLoops; ++l)
    if (setUp.swept[l]) SetIndex(fields.lists[l], rt::CInt(v.values[l]));
  for (int r = 0; r < kRankingRangeCount; ++r) {
    if (!setUp.swept[kListLoops + r]) continue;
    std::string value = optimiser::FieldText(v.values[kListLoops + r], v.steps[kListLoops + r]);
    if (v.pass == 0) {
      SetText(fields.ranges[r].min, value);
    } else {
      SetText(fields.ranges[r].max, value);
      SetText(fields.ranges[r].min, setUp.typedMin[r]);
    }
  }
}

std::vector<std::string> ReportRow(const VariationFields& fields) {
  std::vector<std::string> row = {S(fields.lists[0]->currentText())};
  for (const RangeFields& range : fields.ranges)
    row.push_back(range.filter->Value() == 1 ? S(range.min->text()) + " to " + S(range.max->text()) : "");
  for (QLabel* label : fields.results) row.push_back(S(label->text()));
  return row;
}

// The steps of each variation but the report's start, which the sweep adds.
optimiser::VariationSteps PortfolioSteps(frmMain& w, const optimiser::PortfolioLoops& setUp,
                                         const VariationFields& fields, optimiser::ReportRows& rows, int32_t total) {
  optimiser::VariationSteps steps;
  steps.stage = "Portfolio";
  steps.caption = w.Label("lblCurrStock", 1);
  steps.progress = w.pbProgress;
  steps.total = total;
  steps.storePosition = [&w](const Variation& v) {
    std::copy(v.values.begin(), v.values.end(), w.varPortPause.begin());
    w.lngPortPauseRev = v.pass;
    w.varPortCount = v.number;
    w.objResearch->StorePauseCriteria(optimiser::PauseValues(v, true), false);
  };
  steps.writeFields = [&setUp, &fields](const Variation& v) { WriteFields(setUp, fields, v); };
  steps.runStage = [&w] {
    w.LoadParms();
    w.SimResults(true, Parms().dblStartInvestment, false);
    return w.objResearch->LastStageEnd();
  };
  steps.writeRow = [&fields, &rows](const Variation&, bool firstAfterResume) {
    if (firstAfterResume) rows.AppendResumed(ReportRow(fields));
    else rows.Append(ReportRow(fields));
  };
  return steps;
}

}  // namespace

void frmMain::OutputPortfolioVariations() {
  RefuseSweepThatCannotRun();
  int32_t total = 0;
  const int answer = CountPortfolioVariations(total);
  // The count walks the sweep's own loops: what it cannot walk, the sweep could not run.
  if (answer == 0) throw ShownError(optimiser::kIncorrectParameterMessage);
  const optimiser::PortfolioLoops setUp = optimiser::SetUpPortfolioLoops(*this);
  // A fresh sweep's header is pass 0's unless pass 0 runs no variation.
  const auto opening = OpenSweep(
      false, total, [answer] { return answer; }, simulation::JoinCells(Header(setUp, 0)));
  if (!opening) return;

  optimiser::TypedFieldsGuard typed;
  const VariationFields fields = FindFields(*this, setUp, typed);
  // A sweep resumed in pass 1 had run pass 0 to its end.
  const int firstPass = opening->resuming && lngPortPauseRev != 0 ? 1 : 0;
  std::vector<double> resume;
  if (opening->resuming)
    resume = optimiser::ResumeValues(varPortPause, setUp.passes[firstPass], [&](size_t k) { return setUp.swept[k]; });
  optimiser::ReportRows rows(strPortfolioReportPath);
  optimiser::VariationSteps steps = PortfolioSteps(*this, setUp, fields, rows, total);
  steps.beforeFirst = [&](int pass) { StartSweepReport(false, opening->reportAnew, Header(setUp, pass)); };
  StartRunClock();
  const optimiser::WalkEnd end =
      optimiser::WalkVariations(*objResearch, setUp.passes, firstPass, opening->resuming ? &resume : nullptr,
                                opening->resuming ? rt::CLng(varPortCount) : 1, steps);
  if (end == optimiser::WalkEnd::kRanOut) ClearPauseCriteria();
  // A paused sweep is not over: its report opens when it is.
  if (end != optimiser::WalkEnd::kPaused) OpenFileWithDefaultApp(strPortfolioReportPath, false);
}

}  // namespace ui
