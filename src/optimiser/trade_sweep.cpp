// The trade-settings sweep: the Trade stage once for every combination of
// the swept trade settings, each written into the window's own fields, with
// one report row per combination that ran to its end. A paused, stopped or
// failed sweep resumes from its pause row.
#include <algorithm>
#include <cstdint>

#include "market_data/run_parameters.h"
#include "optimiser/sweep_reports.h"
#include "optimiser/trade_loops.h"
#include "optimiser/typed_fields_guard.h"
#include "optimiser/variation_walk.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/conversions.h"
#include "platform/user/user_services.h"
#include "simulation/engine_reports.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::kTradeLevels;
using optimiser::Variation;

void Yield() { user::DoEvents(); }

void SetField(QLineEdit* field, const std::string& text) {
  if (S(field->text()) != text) field->setText(Q(text));
}

}  // namespace

void frmMain::OutputTradeVariations() {
  RefuseSweepThatCannotRun();
  const optimiser::TradeLoops setUp = optimiser::SetUpTradeLoops(*this);
  const auto& levels = setUp.levels;
  // The number of variations, before anything runs.
  const int32_t total = optimiser::CountNested(setUp.loops);
  auto showTotal = [&] {
    pbStatus->setRange(0, std::max(total, 1));
    Yield();
  };

  const bool stopped = TradeSweepPaused();
  const bool resuming = stopped && !sweepStartsAfresh_;
  std::vector<double> resume;
  int32_t firstNumber = 1;
  int mode = 1;
  if (!resuming) {
    if (user::MsgBox("This report will yield " + std::to_string(total) + " variations.\r\nDo you wish to continue?",
                     user::kYesNo, user::kApplicationTitle) != user::kAnswerYes) {
      if (stopped) objResearch->StopProcess(true);  // the stopped sweep stays resumable
      return;
    }
    showTotal();
    mode = GetReportFile(rt::AppPath(optimiser::kTradeReportFolder).string(),
                         optimiser::ReportFileName(optimiser::kTradeReportPrefix, Parms().strSimTable),
                         strTradeReportPath);
  } else {
    resume.assign(varTradePause.begin(), varTradePause.end());
    // A level that is not swept starts where it stands now.
    for (int k = 0; k < kTradeLevels; ++k)
      if (!levels[k].swept) resume[k] = setUp.loops[k].start.Value();
    firstNumber = lngTradeCount;
    showTotal();
    mode = ResumedReport(true, simulation::JoinCells(setUp.Header()), strTradeReportPath);
  }
  if (mode == 2) {
    // A stopped sweep whose report was not chosen stays stopped.
    if (stopped) objResearch->StopProcess(true);
    return;
  }
  if (mode == 0) optimiser::WriteReportHeader(strTradeReportPath, setUp.Header());
  RecordSweep(true, strTradeReportPath);

  optimiser::TypedFieldsGuard typed;
  for (const optimiser::TradeLevel& level : levels) {
    if (!level.swept) continue;
    if (level.list) typed.KeepList(level.list);
    else typed.Keep(Text(level.range->field, 0));
  }

  optimiser::VariationSteps steps;
  steps.stage = "Trade";
  steps.caption = Label("Label1", 4);
  steps.progress = pbStatus;
  steps.total = total;
  steps.storePosition = [&](const Variation& v) {
    std::copy(v.values.begin(), v.values.end(), varTradePause.begin());
    lngTradeCount = v.number;
    objResearch->StorePauseCriteria(optimiser::PauseValues(v, false), true);
  };
  steps.writeFields = [&](const Variation& v) {
    for (int k = 0; k < kTradeLevels; ++k) {
      const optimiser::TradeLevel& level = levels[k];
      if (!level.swept) continue;
      if (level.list) level.list->setCurrentIndex(rt::CInt(v.values[k]));
      else SetField(Text(level.range->field, 0), optimiser::FieldText(v.values[k], v.steps[k]));
    }
  };
  steps.runStage = [&] {
    LoadParms();
    Yield();
    user::User().SetPointer(user::kPointerHourglass);
    Yield();
    objResearch->BuildResults();
    user::User().SetPointer(user::kPointerDefault);
    return objResearch->LastStageEnd();
  };
  steps.writeRow = [&](const Variation&, bool firstAfterResume) {
    Yield();
    BuySellResults();
    Yield();
    // The settings as the stage read them: a field left empty keeps the value it ran with before.
    const RunParameters& ran = Parms();
    WriteBuySellResults(S(levels[0].list->currentText()), ran.intLifeofOrder, S(levels[2].list->currentText()),
                        ran.intLimitPercent, ran.intInitStopPercent, ran.intProfitable, ran.intDecline, ran.intMaxDays,
                        strTradeReportPath, firstAfterResume);
    Yield();
  };
  StartRunClock();
  // Pause and Stop both leave the variation named for the resume.
  if (optimiser::WalkVariations(*objResearch, {&setUp.loops, 1}, 0, resuming ? &resume : nullptr, firstNumber, steps) !=
      optimiser::WalkEnd::kRanOut)
    return;
  ClearPauseCriteria();
  OpenFileWithDefaultApp(strTradeReportPath, false);
}

}  // namespace ui
