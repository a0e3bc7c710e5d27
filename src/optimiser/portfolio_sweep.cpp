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
#include "platform/runtime/app_folder.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "simulation/engine_reports.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::kListLoops;
using optimiser::kPortfolioLoops;
using optimiser::kRankingRangeCount;
using optimiser::kRankingRanges;
using optimiser::Variation;

// The fields a variation writes and reads, found once.
struct RangeFields {
  QLineEdit* min;
  QLineEdit* max;
  CheckBox* filter;  // its row cell is filled while this box is ticked
};

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

}  // namespace

void frmMain::OutputPortfolioVariations() {
  RefuseSweepThatCannotRun();
  int32_t total = 0;
  const int answer = CountPortfolioVariations(total);
  // The count walks the sweep's own loops: what it cannot walk, the sweep could not run.
  if (answer == 0) throw ShownError(optimiser::kIncorrectParameterMessage);
  pbProgress->setRange(0, std::max(total, 1));

  const bool stopped = PortfolioSweepPaused();
  const bool resuming = stopped && !sweepStartsAfresh_;
  const optimiser::PortfolioLoops setUp = optimiser::SetUpPortfolioLoops(*this);
  int mode = 1;
  if (!resuming) {
    if (answer != user::kAnswerYes) {
      if (stopped) objResearch->StopProcess(true);  // the stopped sweep stays resumable
      return;
    }
    mode = GetReportFile(rt::AppPath(optimiser::kPortfolioReportFolder).string(),
                         optimiser::ReportFileName(optimiser::kPortfolioReportPrefix, Parms().strSimTable),
                         strPortfolioReportPath);
  } else {
    // A fresh sweep's header is pass 0's unless pass 0 runs no variation.
    mode = ResumedReport(false, simulation::JoinCells(Header(setUp, 0)), strPortfolioReportPath);
  }
  if (mode == 2) {
    // A stopped sweep whose report was not chosen stays stopped.
    if (stopped) objResearch->StopProcess(true);
    return;
  }

  QComboBox* lists[kListLoops];
  RangeFields fields[kRankingRangeCount];
  optimiser::TypedFieldsGuard typed;
  for (int l = 0; l < kListLoops; ++l) {
    lists[l] = Combo(optimiser::kRankingLists[l].combo);
    if (setUp.swept[l]) typed.KeepList(lists[l]);
  }
  for (int r = 0; r < kRankingRangeCount; ++r) {
    fields[r] = {Text(kRankingRanges[r].field, 0), Text(kRankingRanges[r].field, 1),
                 Check(kRankingRanges[r].filterBox, kRankingRanges[r].filterBoxIndex)};
    if (!setUp.swept[kListLoops + r]) continue;
    typed.Keep(fields[r].min);
    typed.Keep(fields[r].max);
  }
  QLabel* results[6];
  const int resultLabels[] = {7, 2, 4, 15, 3, 11};
  for (int i = 0; i < 6; ++i) results[i] = Label("lblResult", resultLabels[i]);

  // A sweep resumed in pass 1 had run pass 0 to its end.
  const int firstPass = resuming && lngPortPauseRev != 0 ? 1 : 0;
  std::vector<double> resume;
  int32_t firstNumber = 1;
  if (resuming) {
    resume.assign(varPortPause.begin(), varPortPause.end());
    // A loop that is not swept starts where it stands now.
    for (int k = 0; k < kPortfolioLoops; ++k)
      if (!setUp.swept[k]) resume[k] = setUp.passes[firstPass][k].start.Value();
    firstNumber = rt::CLng(varPortCount);
  }

  optimiser::VariationSteps steps;
  steps.stage = "Portfolio";
  steps.caption = Label("lblCurrStock", 1);
  steps.progress = pbProgress;
  steps.total = total;
  steps.beforeFirst = [&](int pass) {
    if (mode == 0) optimiser::WriteReportHeader(strPortfolioReportPath, Header(setUp, pass));
    RecordSweep(false, strPortfolioReportPath);
  };
  steps.storePosition = [&](const Variation& v) {
    std::copy(v.values.begin(), v.values.end(), varPortPause.begin());
    lngPortPauseRev = v.pass;
    varPortCount = v.number;
    objResearch->StorePauseCriteria(optimiser::PauseValues(v, true), false);
  };
  steps.writeFields = [&](const Variation& v) {
    for (int l = 0; l < kListLoops; ++l)
      if (setUp.swept[l]) SetIndex(lists[l], rt::CInt(v.values[l]));
    for (int r = 0; r < kRankingRangeCount; ++r) {
      if (!setUp.swept[kListLoops + r]) continue;
      std::string value = optimiser::FieldText(v.values[kListLoops + r], v.steps[kListLoops + r]);
      if (v.pass == 0) {
        SetText(fields[r].min, value);
      } else {
        SetText(fields[r].max, value);
        SetText(fields[r].min, setUp.typedMin[r]);
      }
    }
  };
  steps.runStage = [&] {
    LoadParms();
    SimResults(true, Parms().dblStartInvestment, false);
    return objResearch->LastStageEnd();
  };
  optimiser::ReportRows rows(strPortfolioReportPath);
  steps.writeRow = [&](const Variation&, bool firstAfterResume) {
    std::vector<std::string> row = {S(lists[0]->currentText())};
    for (const RangeFields& range : fields)
      row.push_back(range.filter->Value() == 1 ? S(range.min->text()) + " to " + S(range.max->text()) : "");
    for (QLabel* label : results) row.push_back(S(label->text()));
    if (firstAfterResume) rows.AppendResumed(row);
    else rows.Append(row);
  };
  StartRunClock();
  const optimiser::WalkEnd end = optimiser::WalkVariations(*objResearch, setUp.passes, firstPass,
                                                           resuming ? &resume : nullptr, firstNumber, steps);
  if (end == optimiser::WalkEnd::kRanOut) ClearPauseCriteria();
  // A paused sweep is not over: its report opens when it is.
  if (end != optimiser::WalkEnd::kPaused) OpenFileWithDefaultApp(strPortfolioReportPath, false);
}

}  // namespace ui
