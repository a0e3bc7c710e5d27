// File > New Simulation and Open Simulation: a fresh engine with the window
// back in its start state, and the restore of a saved simulation with its
// winners, followed by the Trade and Portfolio chain or a paused sweep.
#include <filesystem>

#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace ui {
namespace {

constexpr const char* kSimulationFilter = "Simulation File (*.sim)|*.sim";

void Yield() { user::DoEvents(); }

}  // namespace

void frmMain::mnuNewSimulation_Click() {
  if (RefusedDuringRun("New Simulation")) return;
  StartNewSimulation();
}

void frmMain::StartNewSimulation() {
  objResearch.reset();  // the last engine closes the shared connection
  Form_Load();
  // A paused run belonged to the simulation just released: nothing of it
  // stays locked or waits to be resumed.
  tabResearch->setEnabled(true);
  cmdPauseSim->setEnabled(false);
  cmdStopSim->setEnabled(false);
  lastSelectPaused_ = false;
  setWindowTitle("KESTROVANE");
  Yield();
}

void frmMain::mnuOpenSim_Click() {
  if (RefusedDuringRun("Open Simulation")) return;
  Yield();
  const std::string path = AskSimulationToOpen();
  if (path.empty()) return;

  user::BusyPointer busy;
  Yield();
  StartNewSimulation();
  if (!LoadSimulation(path)) {
    // Not a simulation file (the loader said so): the window stays in its
    // start state instead of locking the Select inputs over no simulation.
    strSimFilePath.clear();
    return;
  }
  Yield();
  const bool parametersCopied = CopyOpenedParameters();
  Yield();
  ShowOpenedSimulation();

  RunEngineWork([](clsResearch& engine) { engine.LoadWinners(); });
  if (!objResearch) return;  // the window was closed meanwhile
  Yield();

  if (IsPaused()) {
    PrepareSweepResume();  // the next Simulate resumes it
  } else if (parametersCopied) {
    tabResearch->setCurrentIndex(2);
    cmdSimulate_Click();
  }
  Yield();
}

std::string frmMain::AskSimulationToOpen() {
  user::FileDialogRequest request;
  request.title = "Open Simulation";
  request.filter = kSimulationFilter;
  // The first dialog of a program run starts in the Simulations folder, a
  // later one where the last simulation file was.
  request.startFolder = strSimFilePath.empty() ? (rt::AppFolder() / "Simulations").string()
                                               : std::filesystem::path(strSimFilePath).parent_path().string();
  const std::string previousFile = strSimFilePath;
  strSimFilePath = user::User().OpenFileDialog(request);
  if (strSimFilePath.empty() || IsSimulationFile(strSimFilePath)) return strSimFilePath;
  // The current simulation and any values not yet saved stay as they are.
  user::MsgBox(kNotSimulationFileMessage);
  strSimFilePath = previousFile;
  return "";
}

bool frmMain::CopyOpenedParameters() {
  // A value of the file that does not convert is named, and the simulation
  // still opens whole; the Trade and Portfolio stages wait for Simulate,
  // which names the value again until it is mended.
  try {
    LoadParms();
    return true;
  } catch (const rt::Error& failed) {
    ShowError(failed);
    return false;
  }
}

void frmMain::ShowOpenedSimulation() {
  const std::string& table = Parms().strSimTable;
  setWindowTitle(Q(table.size() > 4 ? table.substr(4) : ""));
  Yield();

  ResultsWindow().lvwWinners->Clear();
  ResultsWindow().lvwPortfolio->Clear();
  tabResearch->setTabEnabled(1, true);
  tabResearch->setTabEnabled(2, true);
  Widget("dteSimDate", 0)->setEnabled(false);
  Widget("dteSimDate", 1)->setEnabled(false);
  SetRunLockEnabled(false);
  Yield();
}

}  // namespace ui
