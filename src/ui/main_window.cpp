#include "ui/main_window.h"

#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "ui/resources.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace ui {

frmMain::frmMain() {
  options_ = new frmOptions(this);
  BuildWindow();
  HideSweepSetUp();
  ConnectPanel();
  ConnectParameterFields();
  ConnectDatePickers();
  ConnectWindow();
  ConnectMenus();
  ConnectSecondaryWindows();
  ConnectOptimiser();
  messageWatch_ = std::make_unique<user::MessageBoxWatch>([this](bool open) { HoldRunClock(open); });

  // Bring the dependent fields in line with the design values of their boxes.
  for (int i = 0; i <= 3; ++i) chkSimOption_Click(i);
  chkUseADX_Click();
  chkUseMinVol_Click();
  chkUseMA_Click();
  chkResult_Click(0);
  chkBBDist_Click();
  chkRSIChange_Click();
  chkDJMA_Click();
  chkDJRSI_Click();
  chkNSMA_Click();
  chkNSRSI_Click();
  chkMaxAge_Click();
  chkUseSellLoss_Click();
  chkSelectByMarket_Click();
  chkSelectByDate_Click();
  optStockSelection_Click(0);
  txtHelp->setPlainText(QString::fromStdString(LoadResString(101) + " "));
  designState_ = ControlLines(controls_, true);
}

frmMain::~frmMain() { frmResults::SetHiddenByUserHandler(nullptr); }

QAction* frmMain::Menu(const std::string& name) const {
  auto found = menus_.find(name);
  if (found == menus_.end()) throw rt::Error(340, "Menu item '" + name + "' doesn't exist");
  return found->second;
}

void frmMain::ShowHelp(int id) {
  // A sweep changes a list that shows help once per variation: the pane is
  // laid out again only when its text changes.
  const QString text = QString::fromStdString(LoadResString(id));
  if (txtHelp->toPlainText() != text) txtHelp->setPlainText(text);
}

void frmMain::SaveSimulation(const std::string& name, bool saveAs) {
  std::filesystem::path path = SimulationFilePath(name, saveAs, strSimFilePath);
  SaveControlStateFile(path, controls_, Parms().strSimTable, name == "STARTUP");
}

bool frmMain::LoadSimulation(const std::string& path) {
  bool loaded = LoadSimulationFile(path, controls_, Parms().strSimTable);
  // Update Data follows the connection, as at start-up: a file saved offline
  // must not leave a connected run on stale history.
  if (Parms().blnUseInternet) Check("chkUpdateData")->SetValue(1);
  return loaded;
}

}  // namespace ui
