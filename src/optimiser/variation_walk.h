#pragma once
// The walk both sweeps make over their variations: the nested loops of each
// pass, the position stored before each variation so that a Pause, a Stop,
// an error or a kill resumes with it, the progress shown, the stage run and
// its row written. Each sweep says what its steps do.
#include <QLabel>
#include <QProgressBar>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "optimiser/sweep_loops.h"

namespace optimiser {

// One variation as the walk hands it to the sweep.
struct Variation {
  const std::vector<double>& values;  // the loops' values, outermost first
  const std::vector<double>& steps;   // the loops' steps, for the texts written into fields
  int pass;
  int32_t number;
};

// The pause row's values of a variation as texts: its loop values, exact,
// then (for a sweep of two passes) its pass, then its number.
std::vector<std::string> PauseValues(const Variation& variation, bool withPass);

// Where a resumed walk starts its loops: at the stopped variation's values
// (paused), except that a loop not swept starts where it stands now.
std::vector<double> ResumeValues(std::span<const double> paused, const std::vector<SweepLoop>& loops,
                                 const std::function<bool(size_t loop)>& swept);

struct VariationSteps {
  const char* stage = "";     // "Trade", "Portfolio": named when a variation fails
  QLabel* caption = nullptr;  // shows "i of N"
  QProgressBar* progress = nullptr;
  int32_t total = 0;
  // Before the first variation that runs; may be empty.
  std::function<void(int pass)> beforeFirst;
  // The position into the window's pause fields and the pause row.
  std::function<void(const Variation&)> storePosition;
  // The variation's values into the window's fields.
  std::function<void(const Variation&)> writeFields;
  // The stage with the fields' values; how it ended.
  std::function<clsResearch::StageEnd()> runStage;
  // The row of a variation that ran to its end; the first row after a resume
  // may already be in the report.
  std::function<void(const Variation&, bool firstAfterResume)> writeRow;
};

enum class WalkEnd { kRanOut, kPaused, kStopped };

// Walks the passes from firstPass on, the first variation numbered
// firstNumber; with resume, the first pass walked starts each loop at its
// resume value. A variation whose stage fails raises a ShownError naming it;
// its position stays stored.
WalkEnd WalkVariations(clsResearch& engine, std::span<const std::vector<SweepLoop>> passes, int firstPass,
                       const std::vector<double>* resume, int32_t firstNumber, const VariationSteps& steps);

}  // namespace optimiser
