// The portfolio sweep: the Portfolio stage once for every combination of the
// ranking choice, market, side and the swept ranking ranges, in two passes,
// each written into the window's own fields, with one report row per
// combination. A paused sweep resumes from its pause row.
#include <algorithm>
#include <filesystem>

#include "market_data/run_parameters.h"
#include "optimiser/portfolio_loops.h"
#include "optimiser/sweep_reports.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"
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

std::vector<std::string> Header(const optimiser::PortfolioLoops& setUp) {
  std::vector<std::string> cells = {"Ranked By"};
  for (int r = 0; r < kRankingRangeCount; ++r) {
    const optimiser::SweepLoop& loop = setUp.loops[kListLoops + r];
    cells.push_back(std::string(kRankingRanges[r].caption) + " (" + loop.start.Caption() + ":" + loop.end.Caption() +
                    ")");
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
  int32_t variation = 1;
  int32_t total = 0;
  int answer = CountPortfolioVariations(total);
  pbProgress->setRange(0, std::max(total, 1));

  int mode = 1;
  if (!PortfolioSweepPaused()) {
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

  QComboBox* lists[kListLoops];
  for (int l = 0; l < kListLoops; ++l) lists[l] = Combo(optimiser::kRankingLists[l].combo);
  RangeFields fields[kRankingRangeCount];
  for (int r = 0; r < kRankingRangeCount; ++r)
    fields[r] = {Text(kRankingRanges[r].field, 0), Text(kRankingRanges[r].field, 1),
                 Check(kRankingRanges[r].filterBox, kRankingRanges[r].filterBoxIndex)};
  QLabel* caption = Label("lblCurrStock", 1);
  QLabel* results[6];
  const int resultLabels[] = {7, 2, 4, 15, 3, 11};
  for (int i = 0; i < 6; ++i) results[i] = Label("lblResult", resultLabels[i]);

  bool firstVariation = true;
  bool resumeInPassOne = PortfolioSweepPaused() && lngPortPauseRev != 0;
  bool ranOut = true;
  optimiser::PortfolioLoops setUp;
  int pass = 0;
  while (pass <= 1) {
    optimiser::SetUpPortfolioPass(*this, pass, setUp, optimiser::PassPurpose::kSweep);
    if (resumeInPassOne && pass == 0) {
      // Pass 0 ran to its end before the pause; its set-up still gives pass 1
      // its bounds and steps.
      resumeInPassOne = false;
      pass = 1;
      continue;
    }
    std::vector<double> resume;
    if (firstVariation && PortfolioSweepPaused()) {
      resume.assign(varPortPause.begin(), varPortPause.end());
      variation = rt::CLng(varPortCount);
    }

    std::vector<double> steps;  // known once every loop has been entered
    ranOut = optimiser::WalkNested(setUp.loops, resume.empty() ? nullptr : &resume, [&](const std::vector<double>& v) {
      if (steps.empty())
        for (const optimiser::SweepLoop& loop : setUp.loops) steps.push_back(loop.step.Value());
      if (firstVariation) {
        if (mode == 0) optimiser::WriteReportHeader(strPortfolioReportPath, Header(setUp));
        firstVariation = false;
      }
      // The pause row names this variation before it runs.
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
      if (objResearch->PauseProcess()) return false;
      if (objResearch->StopProcess()) {
        ClearPauseCriteria();
        return false;
      }

      for (int l = 0; l < kListLoops; ++l) {
        int index = rt::CInt(v[l]);
        if (lists[l]->currentIndex() != index) lists[l]->setCurrentIndex(index);
      }
      for (int r = 0; r < kRankingRangeCount; ++r) {
        std::string value = optimiser::FieldText(v[kListLoops + r], steps[kListLoops + r]);
        if (pass == 0) {
          SetText(fields[r].min, value);
        } else {
          SetText(fields[r].max, value);
          SetText(fields[r].min, setUp.savedMin[r].Caption());
        }
      }
      caption->setText(Q(std::to_string(variation) + " of " + std::to_string(total)));
      pbProgress->setValue(std::clamp(variation, 0, pbProgress->maximum()));
      if (variation == INT32_MAX) rt::RaiseOverflow();
      ++variation;

      LoadParms();
      SimResults(true, Parms().dblStartInvestment, true);

      std::vector<std::string> row = {S(lists[0]->currentText())};
      for (const RangeFields& range : fields)
        row.push_back(range.filter->Value() == 1 ? S(range.min->text()) + " to " + S(range.max->text()) : "");
      for (QLabel* label : results) row.push_back(S(label->text()));
      optimiser::AppendReportRow(strPortfolioReportPath, row);
      return true;
    });
    if (!ranOut) break;
    ++pass;
  }
  if (ranOut) ClearPauseCriteria();

  // Whatever way the loops were left, the swept settings read as typed again.
  for (int l = 0; l < kListLoops; ++l)
    if (setUp.swept[l]) lists[l]->setCurrentIndex(0);
  for (int r = 0; r < kRankingRangeCount; ++r) {
    if (!setUp.swept[kListLoops + r]) continue;
    fields[r].min->setText(Q(setUp.savedMin[r].Caption()));
    fields[r].max->setText(Q(setUp.savedMax[r].Caption()));
  }
  if (!IsPaused()) OpenFileWithDefaultApp(strPortfolioReportPath, false);
}

}  // namespace ui
