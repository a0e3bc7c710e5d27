#include "support/crash_trial.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/user/scripted_user_services.h"
#include "simulation/simulation_table.h"
#include "support/engine_test_bed.h"

extern char** environ;

namespace testsupport {
namespace {

bool Download(clsResearch& engine) {
  Parms().datEarliestDate = rt::DateSerial(2004, 1, 2);
  rt::Date start, end = rt::DateSerial(2020, 11, 16);
  std::string symbol = "IBM";
  return engine.UpdateStock(start, end, symbol);
}

// As the window runs a new Select: the table dropped and created, then the scan.
bool Select(clsResearch& engine, RecordingEvents& events) {
  RunParameters& p = Parms();
  p.blnNoWinCriteria = true;
  p.blnUseInternet = false;
  p.strSimTable = kTrialTable;
  events.onWinner = [&engine](clsStock& stock, bool store) {
    if (store) engine.LogWinner(simulation::WinnerInsertStatement(stock, kTrialTable, 1));
  };
  if (!engine.CreateSimulationTable(kTrialTable)) return false;
  std::vector<std::string> symbols{"all:"};
  return engine.Process(kTrialStart, kTrialEnd, symbols, true, true, "", p.intWinDays) == "complete";
}

bool Trade(clsResearch& engine) {
  RunParameters& p = Parms();
  p.strSimTable = kTradeTable;
  p.strTypeOfPurchase = "Market";
  p.intDecline = 3;
  p.strSimEnd = rt::FormatShortDate(kTrialEnd);
  p.blnUseInternet = false;
  engine.BuildResults();
  return engine.WriteFailure().empty() && !engine.StopProcess();
}

}  // namespace

const char* StageName(TrialStage stage) {
  switch (stage) {
    case TrialStage::kDownload: return "download";
    case TrialStage::kSelect: return "select";
    case TrialStage::kTrade: return "trade";
  }
  return "";
}

int RunTrialStage(TrialStage stage, const std::filesystem::path& folder) {
  ::setenv("KESTROVANE_HOME", folder.c_str(), 1);
  Parms() = RunParameters::DesignDefaults();
  user::ScopedScriptedUser user;  // any question fails the run
  RecordingEvents events;
  clsResearch engine;
  engine.SetListener(&events);
  bool completed = false;
  switch (stage) {
    case TrialStage::kDownload: completed = Download(engine); break;
    case TrialStage::kSelect: completed = Select(engine, events); break;
    case TrialStage::kTrade: completed = Trade(engine); break;
  }
  return completed && user->Prompts().empty() ? 0 : 1;
}

pid_t StartTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder) {
  std::string program = binary, name = stage, home = folder.string();
  char* argv[] = {program.data(), name.data(), home.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

int RunTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder) {
  pid_t pid = StartTrialChild(binary, stage, folder);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace testsupport
