#include "crash_trial/program_start_stage.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/user/scripted_user_services.h"
#include "ui/main_window.h"
#include "ui/settings_files.h"
#include "ui/startup.h"

namespace crashtrial {

int StartAndStayUp(const std::filesystem::path& folder) {
  ::setenv("KESTROVANE_HOME", folder.c_str(), 1);
  user::ScopedScriptedUser user;
  user->AnswerMsgBox(user::kAnswerNo, "Would you like to use an active Internet Connection?");
  user->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  user->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  const std::unique_ptr<ui::frmMain> window = ui::StartUp({-1});
  if (!window) return 1;
  // Ended by the trial's kill; a trial that died first leaves it for no longer.
  std::this_thread::sleep_for(std::chrono::minutes(5));
  return 0;
}

}  // namespace crashtrial
