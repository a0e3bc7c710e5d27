// One stage of a crash trial, run in a process of its own so that the test
// can kill it at any moment: crash_trial_child <download|select|trade|sweep|start> <folder>
// [rows removed: a Select kills itself then, see RunTrialStage]
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "crash_trial/portfolio_sweep_stage.h"
#include "platform/user/scripted_user_services.h"
#include "support/crash_trial.h"
#include "ui/main_window.h"
#include "ui/settings_files.h"
#include "ui/startup.h"

namespace {

// The program started on the folder as a user starts it, left running until
// the trial kills it (or five minutes, should the trial die first); 1 when it
// did not start. Once it is up it leaves the file "started" in the folder.
int StartAndStayUp(const char* folder) {
  ::setenv("KESTROVANE_HOME", folder, 1);
  user::ScopedScriptedUser user;
  user->AnswerMsgBox(user::kAnswerNo, "Would you like to use an active Internet Connection?");
  user->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  user->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  const std::unique_ptr<ui::frmMain> window = ui::StartUp({-1});
  if (!window) return 1;
  std::ofstream(std::string(folder) + "/started").put('1');
  std::this_thread::sleep_for(std::chrono::minutes(5));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using testsupport::TrialStage;
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr,
                 "usage: crash_trial_child <download|select|trade|sweep|start> <application folder> [rows removed]\n");
    return 2;
  }
  const bool sweep = std::strcmp(argv[1], "sweep") == 0;
  if (sweep || std::strcmp(argv[1], "start") == 0) {
    // These run through the main window, on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
      return sweep ? crashtrial::RunPortfolioSweep(argv[2]) : StartAndStayUp(argv[2]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 3;
    }
  }
  for (TrialStage stage : {TrialStage::kDownload, TrialStage::kSelect, TrialStage::kTrade}) {
    if (std::strcmp(argv[1], testsupport::StageName(stage)) != 0) continue;
    try {
      std::optional<int64_t> killAfterRemoved;
      if (argc == 4) killAfterRemoved = std::stoll(argv[3]);
      return testsupport::RunTrialStage(stage, argv[2], killAfterRemoved);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 3;
    }
  }
  std::fprintf(stderr, "unknown stage %s\n", argv[1]);
  return 2;
}
