#include "ui/main_window.h"

#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "ui/resources.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace ui {
namespace {

// The sweep set-up controls start hidden: the rows' Max and Step fields with
// their "to" and "by" labels, the increments, the Reset buttons.
void HideSweepSetUp(frmMain& window) {
  const std::pair<const char*, std::pair<int, int>> tradeRows[] = {
      {"txtLifeofOrder", {12, 28}}, {"txtLimitPercent", {0, 26}}, {"txtInitPrice", {24, 15}},
      {"txtProfitable", {25, 32}},  {"txtDecline", {30, 29}},     {"txtMaxDays", {31, 33}}};
  for (const auto& [field, labels] : tradeRows) {
    window.Text(field, 1)->hide();
    window.Text(std::string(field) + "Step")->hide();
    window.Label("lblSimOption", labels.first)->hide();
    window.Label("lblSimOption", labels.second)->hide();
  }
  const int stepLabels[] = {44, 55, 54, 53, 57, 56, 46, 58, 59, 60};
  for (int i = 0; i < 10; ++i) {
    window.Text("txtStep", i)->hide();
    window.Label("lblSimOption", stepLabels[i])->hide();
  }
  for (int i = 0; i <= 1; ++i) {
    window.Text("txtSMARTDivisor", i)->hide();
    window.Button("cmdReset", i)->hide();
  }
  window.Label("lblSimOption", 9)->hide();
  window.Label("lblSimOption", 61)->hide();
}

}  // namespace

frmMain::frmMain() {
  options_ = new frmOptions(this);
  BuildWindow();
  HideSweepSetUp(*this);
  ConnectPanel();
  ConnectParameterFields();
  ConnectDatePickers();
  ConnectWindow();
  ConnectMenus();
  ConnectSecondaryWindows();

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
}

frmMain::~frmMain() { frmResults::SetHiddenByUserHandler(nullptr); }

QAction* frmMain::Menu(const std::string& name) const {
  auto found = menus_.find(name);
  if (found == menus_.end()) throw rt::Error(340, "Menu item '" + name + "' doesn't exist");
  return found->second;
}

void frmMain::ShowHelp(int id) { txtHelp->setPlainText(QString::fromStdString(LoadResString(id))); }

void frmMain::SaveSimulation(const std::string& name, bool saveAs) {
  std::filesystem::path path = SimulationFilePath(name, saveAs, strSimFilePath);
  SaveControlStateFile(path, controls_, Parms().strSimTable, name == "STARTUP");
}

bool frmMain::LoadSimulation(const std::string& path) {
  return LoadSimulationFile(path, controls_, Parms().strSimTable);
}

}  // namespace ui
