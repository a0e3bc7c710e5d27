#pragma once
// The portfolio sweep of the crash trials, run through the main window on an
// application folder whose database holds the sweep windows' table sim_March:
// Dist MA swept from -10 to 10 by 1, 41 variations. A sweep the folder holds
// paused is resumed; otherwise a new one is started into its proposed report.
#include <filesystem>

namespace crashtrial {

inline constexpr int kSweepVariations = 41;

// Returns 0 when the sweep ran to its end without an unexpected question.
int RunPortfolioSweep(const std::filesystem::path& folder);

}  // namespace crashtrial
