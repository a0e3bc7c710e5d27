#include "crash_trial/portfolio_sweep_stage.h"

#include <cstdlib>
#include <string>

#include "market_data/run_parameters.h"
#include "optimiser/sweep_reports.h"
#include "platform/runtime/app_folder.h"
#include "platform/user/scripted_user_services.h"
#include "ui/main_window.h"
#include "ui/settings_files.h"
#include "ui/tutorial_window.h"

namespace crashtrial {

int RunPortfolioSweep(const std::filesystem::path& folder) {
  ::setenv("KESTROVANE_HOME", folder.c_str(), 1);
  Parms() = RunParameters();
  rt::EnsureAppFolders();
  user::ScopedScriptedUser user;
  ui::frmMain w;
  w.showTutorialModally = [](ui::frmTutorial&) { return 1; };
  if (!std::filesystem::exists(ui::StartupFilePath()))
    user->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  if (!std::filesystem::exists(ui::PropertiesFilePath()))
    user->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  w.Form_Load();

  // The user opens the simulation, switches S.M.A.R.T. on and types the sweep
  // again after every start.
  Parms().strSimTable = "sim_March";
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 3, 1));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2004, 3, 14));
  w.tabResearch->setCurrentIndex(2);
  w.cmdSMART_Click(0);
  w.Check("chkBuildOption", 11)->SetValue(1);
  w.Text("txtPercDiff", 0)->setText("-10");
  w.Text("txtPercDiff", 1)->setText("10");
  w.Text("txtStep", 0)->setText("1");
  w.Combo("cboSelectMarket")->setCurrentIndex(0);
  w.Combo("cboSelectPositioning")->setCurrentIndex(0);

  if (!w.IsPaused()) {
    const std::string report = optimiser::ReportPath(
        optimiser::kPortfolioReportFolder, optimiser::ReportFileName(optimiser::kPortfolioReportPrefix, "sim_March"));
    user->AnswerMsgBox(user::kAnswerYes, "This report will yield " + std::to_string(kSweepVariations) + " variations.");
    user->AnswerSaveFile(report, "Save S.M.A.R.T. Report");
    // What a killed start left of the report is written over.
    if (std::filesystem::exists(report)) user->AnswerMsgBox(user::kAnswerYes, "already exists");
  }
  w.cmdSimulate_Click();
  return !w.IsPaused() && user->UnscriptedPrompts().empty() && user->PendingAnswers() == 0 ? 0 : 1;
}

}  // namespace crashtrial
