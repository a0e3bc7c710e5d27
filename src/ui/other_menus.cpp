// The menu items of the simulation, symbol-list, database, report and help
// commands: their connection, the guard that keeps them from the engine while
// it works, and Help > Contents.
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/startup.h"

namespace ui {

void frmMain::ConnectMenus() {
  auto onMenu = [this](const char* name, std::function<void()> handler) {
    connect(Menu(name), &QAction::triggered, this, [handler] { RunHandler(handler); });
  };
  onMenu("mnuNewSimulation", [this] { mnuNewSimulation_Click(); });
  onMenu("mnuOpenSim", [this] { mnuOpenSim_Click(); });
  onMenu("mnuOpenSymbols", [this] { mnuOpenSymbols_Click(); });
  onMenu("mnuSaveSymbols", [this] { mnuSaveSymbols_Click(); });
  onMenu("mnuImportStocks", [this] { mnuImportStocks_Click(); });
  onMenu("mnuRepairDB", [this] { mnuRepairDB_Click(); });
  onMenu("mnuRemoveEmptyTables", [this] { mnuRemoveEmptyTables_Click(); });
  onMenu("mnuReportAllStocks", [this] { mnuReportAllStocks_Click(); });
  onMenu("mnuReportStockperDay", [this] { mnuReportStockperDay_Click(); });
  onMenu("mnuReportSimSum", [this] { mnuReportSimSum_Click(); });
  onMenu("mnuContents", [this] { mnuContents_Click(); });
}

bool frmMain::RefusedDuringRun(const std::string& command) {
  if (!RunInProgress()) return false;
  user::MsgBox(command + " cannot be used while a simulation or another command is running. " +
                   "Stop the run or wait until it ends.",
               user::kOKOnly | user::kInformation, user::kApplicationTitle);
  return true;
}

void frmMain::RunEngineWork(const std::function<void(clsResearch&)>& work) {
  std::shared_ptr<clsResearch> engine = objResearch;  // the work's own share
  if (!engine) return;
  RunAsWork([&] { work(*engine); });
}

void frmMain::RunAsWork(const std::function<void()>& work) {
  ++runDepth_;
  try {
    work();
  } catch (...) {
    --runDepth_;
    CloseIfAskedDuringWork();
    throw;
  }
  --runDepth_;
  CloseIfAskedDuringWork();
}

void frmMain::CloseIfAskedDuringWork() {
  if (RunInProgress() || !closeWhenRunEnds_) return;
  closeWhenRunEnds_ = false;
  ShutDown();
  hide();
}

void frmMain::mnuContents_Click() {
  const std::string& helpFile = AppHelpFile();
  if (helpFile.empty()) {
    user::MsgBox("Unable to display Help Contents. There is no Help associated with this project.",
                 user::kOKOnly | user::kInformation, S(windowTitle()));
    return;
  }
  if (!user::User().ShowHelpContents(helpFile))
    user::MsgBox("The help file " + helpFile + " could not be shown.", user::kOKOnly);
}

}  // namespace ui
