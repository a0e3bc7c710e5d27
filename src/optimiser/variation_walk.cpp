#include "optimiser/variation_walk.h"

#include <algorithm>
#include <string>

#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "ui/controls.h"
#include "ui/handler_guard.h"

namespace optimiser {

std::vector<std::string> PauseValues(const Variation& variation, bool withPass) {
  std::vector<std::string> values;
  for (double value : variation.values) values.push_back(rt::FormatRoundTrip(value));
  if (withPass) values.push_back(std::to_string(variation.pass));
  values.push_back(std::to_string(variation.number));
  return values;
}

std::vector<double> ResumeValues(std::span<const double> paused, const std::vector<SweepLoop>& loops,
                                 const std::function<bool(size_t loop)>& swept) {
  std::vector<double> values(paused.begin(), paused.end());
  for (size_t k = 0; k < values.size() && k < loops.size(); ++k)
    if (!swept(k)) values[k] = loops[k].start.Value();
  return values;
}

WalkEnd WalkVariations(clsResearch& engine, std::span<const std::vector<SweepLoop>> passes, int firstPass,
                       const std::vector<double>* resume, int32_t firstNumber, const VariationSteps& steps) {
  int32_t number = firstNumber;
  bool first = true;
  bool rowAfterResume = resume != nullptr;
  WalkEnd end = WalkEnd::kRanOut;
  for (int pass = firstPass; pass < static_cast<int>(passes.size()) && end == WalkEnd::kRanOut; ++pass) {
    const std::vector<SweepLoop>& loops = passes[static_cast<size_t>(pass)];
    std::vector<double> loopSteps;  // known once every loop has been entered
    WalkNested(loops, pass == firstPass ? resume : nullptr, [&](const std::vector<double>& values) {
      if (loopSteps.empty())
        for (const SweepLoop& loop : loops) loopSteps.push_back(loop.step.Value());
      const Variation variation{values, loopSteps, pass, number};
      if (first && steps.beforeFirst) steps.beforeFirst(pass);
      first = false;
      // The pause row names this variation until it has run to its end.
      steps.storePosition(variation);
      if (engine.PauseProcess()) end = WalkEnd::kPaused;
      else if (engine.StopProcess()) end = WalkEnd::kStopped;
      if (end != WalkEnd::kRanOut) return false;

      steps.writeFields(variation);
      steps.caption->setText(QString::number(number) + " of " + QString::number(steps.total));
      {
        const ui::DrawnLater drawing(steps.progress);
        steps.progress->setValue(std::clamp(number, 0, steps.progress->maximum()));
      }
      if (number == INT32_MAX) rt::RaiseOverflow();
      ++number;

      // A variation that did not run to its end writes no row; the resume runs it.
      const clsResearch::StageEnd stageEnd = steps.runStage();
      if (stageEnd == clsResearch::StageEnd::kFailed)
        throw ui::ShownError("The " + std::string(steps.stage) + " stage failed at variation " +
                             std::to_string(variation.number) + ".");
      if (stageEnd == clsResearch::StageEnd::kStopped) {
        end = WalkEnd::kStopped;
        return false;
      }
      steps.writeRow(variation, rowAfterResume);
      rowAfterResume = false;
      return true;
    });
  }
  return end;
}

}  // namespace optimiser
