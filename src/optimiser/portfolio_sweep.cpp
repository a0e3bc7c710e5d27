// The portfolio sweep: the Portfolio stage once for every combination of the
// ranking choice, market, side and the swept ranking ranges, in two passes,
// each written into the window's own fields, with one report row per
// combination that ran to its end. A paused, stopped or failed sweep resumes
// from its pause row.
#include <algorithm>
#include <filesystem>

#include "market_data/run_parameters.h"
#include "optimiser/portfolio_loops.h"
#include "optimiser/sweep_reports.h"
#include "optimiser/typed_fields_guard.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::kListLoops;
using optimiser::kPortfolioLoops;
using optimiser::kRankingRangeCount;
using optimiser::kRankingRanges;

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
    cells.push_back(std::string(kRankingRanges[r].caption) + " (" +
                    (swept ? loop.start.Caption() : setUp.typedMin[r]) + ":" +
                    (swept ? loop.end.Caption() : setUp.typedMax[r]) + ")");
  }
  for (const char* cell : {"Win/Loss", "Short/Long", "Avg Hold", "Balance", "Avg. Ret.", "Comp. Ret."})
    cells.push_back(cell);
  return cells;
}

void SetText(QLineEdit* field, const std::string& text) {
  if (S(field->text()) != text) field->setText(Q(text));
}

}  // namespace

void frmMain::OutputPortfolioVariations() {
  RefuseSweepThatCannotRun();
  int32_t variation = 1;
  int32_t total = 0;
  const int answer = CountPortfolioVariations(total);
  // The count walks the sweep's own loops: what it cannot walk, the sweep could not run.
  if (answer == 0) throw ShownError(optimiser::kIncorrectParameterMessage);
  pbProgress->setRange(0, std::max(total, 1));

  const bool resuming = PortfolioSweepPaused();
  int mode = 1;
  if (!resuming) {
    if (answer != user::kAnswerYes) return;
    mode = GetReportFile(rt::AppPath(optimiser::kPortfolioReportFolder).string(),
                         optimiser::ReportFileName(optimiser::kPortfolioReportPrefix, Parms().strSimTable),
                         strPortfolioReportPath);
    if (mode == 2) return;
  } else if (strPortfolioReportPath.empty()) {
    // The report path is not part of the pause row: after a restart the rows
    // go to the report's proposed file, which gets its header when it is new.
    strPortfolioReportPath =
        optimiser::ReportPath(optimiser::kPortfolioReportFolder,
                              optimiser::ReportFileName(optimiser::kPortfolioReportPrefix, Parms().strSimTable));
    std::error_code ec;
    if (!std::filesystem::exists(strPortfolioReportPath, ec)) mode = 0;
  }

  const optimiser::PortfolioLoops setUp = optimiser::SetUpPortfolioLoops(*this);
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
  QLabel* caption = Label("lblCurrStock", 1);
  QLabel* results[6];
  const int resultLabels[] = {7, 2, 4, 15, 3, 11};
  for (int i = 0; i < 6; ++i) results[i] = Label("lblResult", resultLabels[i]);

  bool firstVariation = true;
  bool rowAfterResume = resuming;
  bool paused = false;
  bool ranOut = true;
  // A sweep resumed in pass 1 had run pass 0 to its end.
  for (int pass = resuming && lngPortPauseRev != 0 ? 1 : 0; pass <= 1 && ranOut; ++pass) {
    const std::vector<optimiser::SweepLoop>& loops = setUp.passes[pass];
    std::vector<double> resume;
    if (firstVariation && resuming) {
      resume.assign(varPortPause.begin(), varPortPause.end());
      // A loop that is not swept starts where it stands now.
      for (int k = 0; k < kPortfolioLoops; ++k)
        if (!setUp.swept[k]) resume[k] = loops[k].start.Value();
      variation = rt::CLng(varPortCount);
    }

    std::vector<double> steps;  // known once every loop has been entered
    ranOut = optimiser::WalkNested(loops, resume.empty() ? nullptr : &resume, [&](const std::vector<double>& v) {
      if (steps.empty())
        for (const optimiser::SweepLoop& loop : loops) steps.push_back(loop.step.Value());
      if (firstVariation) {
        if (mode == 0) optimiser::WriteReportHeader(strPortfolioReportPath, Header(setUp, pass));
        firstVariation = false;
      }
      // The pause row names this variation until it has run to its end.
      std::vector<std::string> pause;
      for (int k = 0; k < kPortfolioLoops; ++k) {
        varPortPause[k] = v[k];
        pause.push_back(rt::FormatRoundTrip(v[k]));
      }
      lngPortPauseRev = pass;
      varPortCount = variation;
      pause.push_back(std::to_string(pass));
      pause.push_back(std::to_string(variation));
      objResearch->StorePauseCriteria(pause, false);
      if (objResearch->PauseProcess()) {
        paused = true;
        return false;
      }
      if (objResearch->StopProcess()) return false;

      for (int l = 0; l < kListLoops; ++l)
        if (setUp.swept[l]) lists[l]->setCurrentIndex(rt::CInt(v[l]));
      for (int r = 0; r < kRankingRangeCount; ++r) {
        if (!setUp.swept[kListLoops + r]) continue;
        std::string value = optimiser::FieldText(v[kListLoops + r], steps[kListLoops + r]);
        if (pass == 0) {
          SetText(fields[r].min, value);
        } else {
          SetText(fields[r].max, value);
          SetText(fields[r].min, setUp.typedMin[r]);
        }
      }
      caption->setText(Q(std::to_string(variation) + " of " + std::to_string(total)));
      pbProgress->setValue(std::clamp(variation, 0, pbProgress->maximum()));
      if (variation == INT32_MAX) rt::RaiseOverflow();
      ++variation;

      LoadParms();
      SimResults(true, Parms().dblStartInvestment, false);
      // A variation that did not run to its end writes no row; the resume runs it.
      if (objResearch->LastStageEnd() == clsResearch::StageEnd::kFailed)
        throw ShownError("The Portfolio stage failed at variation " + std::to_string(variation - 1) + ".");
      if (objResearch->LastStageEnd() == clsResearch::StageEnd::kStopped) return false;

      std::vector<std::string> row = {S(lists[0]->currentText())};
      for (const RangeFields& range : fields)
        row.push_back(range.filter->Value() == 1 ? S(range.min->text()) + " to " + S(range.max->text()) : "");
      for (QLabel* label : results) row.push_back(S(label->text()));
      if (rowAfterResume) optimiser::AppendResumedReportRow(strPortfolioReportPath, row);
      else optimiser::AppendReportRow(strPortfolioReportPath, row);
      rowAfterResume = false;
      return true;
    });
  }
  if (ranOut) ClearPauseCriteria();
  // A paused sweep is not over: its report opens when it is.
  if (!paused) OpenFileWithDefaultApp(strPortfolioReportPath, false);
}

}  // namespace ui
