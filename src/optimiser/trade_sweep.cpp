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

// The swept fields and lists go back to what the user typed on every way out.
void KeepTyped(optimiser::TypedFieldsGuard& typed, const optimiser::TradeLoops& setUp, frmMain& w) {
  for (const optimiser::TradeLevel& level : setUp.levels) {
    if (!level.swept) continue;
    if (level.list) typed.KeepList(level.list);
    else typed.Keep(w.Text(level.range->field, 0));
  }
}

clsResearch::StageEnd RunTradeStage(frmMain& w) {
  w.LoadParms();
  Yield();
  user::User().SetPointer(user::kPointerHourglass);
  Yield();
  w.objResearch->BuildResults();
  user::User().SetPointer(user::kPointerDefault);
  return w.objResearch->LastStageEnd();
}

void WriteTradeRow(frmMain& w, const optimiser::TradeLoops& setUp, bool firstAfterResume) {
  Yield();
  w.BuySellResults();
  Yield();
  // The settings as the stage read them: a field left empty keeps the value it ran with before.
  const RunParameters& ran = Parms();
  w.WriteBuySellResults(S(setUp.levels[0].list->currentText()), ran.intLifeofOrder,
                        S(setUp.levels[2].list->currentText()), ran.intLimitPercent, ran.intInitStopPercent,
                        ran.intProfitable, ran.intDecline, ran.intMaxDays, w.strTradeReportPath, firstAfterResume);
  Yield();
}

optimiser::VariationSteps TradeSteps(frmMain& w, const optimiser::TradeLoops& setUp, int32_t total) {
  optimiser::VariationSteps steps;
  steps.stage = "Trade";
  steps.caption = w.Label("Label1", 4);
  steps.progress = w.pbStatus;
  steps.total = total;
  steps.storePosition = [&w](const Variation& v) {
    std::copy(v.values.begin(), v.values.end(), w.varTradePause.begin());
    w.lngTradeCount = v.number;
    w.objResearch->StorePauseCriteria(optimiser::PauseValues(v, false), true);
  };
  steps.writeFields = [&w, &setUp](const Variation& v) {
    for (int k = 0; k < kTradeLevels; ++k) {
      const optimiser::TradeLevel& level = setUp.levels[k];
      if (!level.swept) continue;
      if (level.list) level.list->setCurrentIndex(rt::CInt(v.values[k]));
      else SetField(w.Text(level.range->field, 0), optimiser::FieldText(v.values[k], v.steps[k]));
    }
  };
  steps.runStage = [&w] { return RunTradeStage(w); };
  steps.writeRow = [&w, &setUp](const Variation&, bool firstAfterResume) { WriteTradeRow(w, setUp, firstAfterResume); };
  return steps;
}

}  // namespace

void frmMain::OutputTradeVariations() {
  RefuseSweepThatCannotRun();
  const optimiser::TradeLoops setUp = optimiser::SetUpTradeLoops(*this);
  // The number of variations, before anything runs.
  const int32_t total = optimiser::CountNested(setUp.loops);
  const auto opening = OpenSweep(
      true, total, [total] { return AskToSweep(total); }, simulation::JoinCells(setUp.Header()));
  if (!opening) return;
  StartSweepReport(true, opening->reportAnew, setUp.Header());

  optimiser::TypedFieldsGuard typed;
  KeepTyped(typed, setUp, *this);
  std::vector<double> resume;
  if (opening->resuming)
    resume = optimiser::ResumeValues(varTradePause, setUp.loops, [&](size_t k) { return setUp.levels[k].swept; });
  const optimiser::VariationSteps steps = TradeSteps(*this, setUp, total);
  StartRunClock();
  // Pause and Stop both leave the variation named for the resume.
  if (optimiser::WalkVariations(*objResearch, {&setUp.loops, 1}, 0, opening->resuming ? &resume : nullptr,
                                opening->resuming ? lngTradeCount : 1, steps) != optimiser::WalkEnd::kRanOut)
    return;
  ClearPauseCriteria();
  OpenFileWithDefaultApp(strTradeReportPath, false);
}

}  // namespace ui
