#pragma once
// The runs of the crash trials. A child process (crash_trial_child) runs one
// stage on the database of an application folder, the same way for the run
// left to finish, the runs killed at a random moment, and the re-runs after
// them: a download of IBM's history from its first day, a Select run over
// every symbol of the database (no criterion) into kTrialTable, and a Trade
// run over kTradeTable.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/runtime/date.h"

namespace testsupport {

enum class TrialStage { kDownload, kSelect, kTrade };

inline constexpr const char* kTrialTable = "sim_trial";
inline constexpr const char* kTradeTable = "sim_base";
// The period of both simulation tables.
inline const rt::Date kTrialStart = rt::DateSerial(2019, 1, 2);
inline const rt::Date kTrialEnd = rt::DateSerial(2019, 12, 31);

const char* StageName(TrialStage stage);
// Runs the stage to its end on <folder>/Vennorath.db (the stand-in quote
// service named by the environment for a download). Returns 0 when the run
// completed. Given `killAfterRemoved`, a Select kills its own process (-9)
// at the first yield after its removal of the old winners began at which
// the statements since then have changed at least that many rows: 0 is the
// removal's first yield, more is a later step of it, beyond the old rows the
// scan; a negative count kills it earlier, as the transaction that creates
// the new table (and sets the old one aside) comes to its commit.
int RunTrialStage(TrialStage stage, const std::filesystem::path& folder,
                  std::optional<int64_t> killAfterRemoved = std::nullopt);

// Starts the child program `binary` on a stage (a StageName, or "sweep") and
// a folder, and `killAfterRemoved` when given: its process id, or -1.
pid_t StartTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder,
                      const std::string& killAfterRemoved = "");
// Runs the child to its end: its exit code, or -1 when it did not exit.
int RunTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder,
                  const std::string& killAfterRemoved = "");

}  // namespace testsupport
