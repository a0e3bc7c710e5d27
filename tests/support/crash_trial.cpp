#include "support/crash_trial.h"

#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
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

// Inside a statement the connection cannot be asked (its changes count once
// it ends): the count is the one known before it.
std::optional<int64_t> removalStart;  // the connection's changes then
int64_t removed = 0;
void KillAfterRemoved(int64_t rows, RecordingEvents& events, user::ScriptedUserServices& user) {
  events.onStatus = [](const std::string& status) {
    if (status == simulation::kRemovingOldWinners) removalStart = SharedConnection().TotalChanges();
  };
  user.OnDoEvents([rows](int) {
    if (!removalStart) return;
    try {
      removed = SharedConnection().TotalChanges() - *removalStart;
    } catch (const rt::Error&) {
      // a statement is running
    }
    if (removed >= rows) ::raise(SIGKILL);
  });
}

// While armed, the process is killed as the transaction that creates a
// table comes to its commit, before the commit is written.
bool killAtCreation = false;
bool tableCreated = false;

// Every connection opened from now on passes its statements and commits here.
void WatchCommits() {
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(+[](sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(
        db, SQLITE_TRACE_STMT,
        [](unsigned, void*, void*, void* sql) {
          tableCreated |= killAtCreation && std::string_view(static_cast<const char*>(sql)).starts_with("CREATE TABLE");
          return 0;
        },
        nullptr);
    sqlite3_commit_hook(
        db,
        [](void*) {
          if (tableCreated) ::raise(SIGKILL);
          return 0;
        },
        nullptr);
    return SQLITE_OK;
  }));
}

// As the window runs a new Select: the table set aside and created, then the scan.
bool Select(clsResearch& engine, RecordingEvents& events, user::ScriptedUserServices& user,
            std::optional<int64_t> killAfterRemoved) {
  RunParameters& p = Parms();
  p.blnNoWinCriteria = true;
  p.blnUseInternet = false;
  p.strSimTable = kTrialTable;
  events.onWinner = [&engine](clsStock& stock, bool store) {
    if (store) engine.LogWinner(simulation::WinnerInsertStatement(stock, kTrialTable, 1));
  };
  killAtCreation = killAfterRemoved && *killAfterRemoved < 0;
  if (killAfterRemoved && !killAtCreation) KillAfterRemoved(*killAfterRemoved, events, user);
  if (!engine.CreateSimulationTable(kTrialTable) || killAtCreation) return false;  // not killed where asked
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

int RunTrialStage(TrialStage stage, const std::filesystem::path& folder, std::optional<int64_t> killAfterRemoved) {
  ::setenv("KESTROVANE_HOME", folder.c_str(), 1);
  Parms() = RunParameters::DesignDefaults();
  user::ScopedScriptedUser user;  // any question fails the run
  RecordingEvents events;
  if (killAfterRemoved) WatchCommits();  // before the engine opens its connection
  clsResearch engine;
  engine.SetListener(&events);
  bool completed = false;
  switch (stage) {
    case TrialStage::kDownload: completed = Download(engine); break;
    case TrialStage::kSelect: completed = Select(engine, events, *user, killAfterRemoved); break;
    case TrialStage::kTrade: completed = Trade(engine); break;
  }
  return completed && user->Prompts().empty() ? 0 : 1;
}

pid_t StartTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder,
                      const std::string& killAfterRemoved) {
  std::string program = binary, name = stage, home = folder.string(), kill = killAfterRemoved;
  char* argv[] = {program.data(), name.data(), home.data(), kill.empty() ? nullptr : kill.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

int RunTrialChild(const std::string& binary, const std::string& stage, const std::filesystem::path& folder,
                  const std::string& killAfterRemoved) {
  pid_t pid = StartTrialChild(binary, stage, folder, killAfterRemoved);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace testsupport
