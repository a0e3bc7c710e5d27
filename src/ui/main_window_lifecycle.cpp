// The main window's life: the load sequence, the first activation with the
// tutorial notice, the busy-pointer rule, the menus of this window, and the
// shut-down that releases the engine and the shared connection.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>

#include "market_data/calendar_and_log.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/registry/registry_access.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/resources.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace ui {
namespace {

constexpr const char* kDatabaseTestFailed = "Database Does Not Exist or Incorrect Database in Use.";
constexpr const char* kTutorialKey = "Software\\Q_ZOLT\\";

void Yield() { user::DoEvents(); }

// Runs one step of the load sequence; an error is shown and the load goes on.
void LoadStep(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& error) {
    ShowError(error);
  }
}

void Refill(QComboBox* combo, std::initializer_list<const char*> items) {
  combo->clear();
  for (const char* item : items) combo->addItem(item);
  combo->setCurrentIndex(-1);
}

class PointerWatcher : public QObject {
 public:
  PointerWatcher(QObject* parent, std::function<void()> onMove) : QObject(parent), onMove_(std::move(onMove)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) onMove_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onMove_;
};

}  // namespace

void frmMain::ConnectWindow() {
  auto onMenu = [this](const char* name, std::function<void()> handler) {
    connect(Menu(name), &QAction::triggered, this, [handler] { RunHandler(handler); });
  };
  onMenu("mnuExit", [this] { mnuExit_Click(); });
  onMenu("mnuResults", [this] { mnuResults_Click(); });
  onMenu("mnuOptions", [this] { mnuOptions_Click(); });
  onMenu("mnuSaveStartup", [this] { mnuSaveStartup_Click(); });
  onMenu("mnuUseInternet", [this] { mnuUseInternet_Click(); });

  connect(cmdSimulate, &QPushButton::clicked, this, [this] { cmdSimulate_Click(); });
  connect(cmdPauseSim, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdPauseSim_Click(); }); });
  connect(cmdStopSim, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdStopSim_Click(); }); });
  connect(Button("cmdHistoryTable"), &QPushButton::clicked, this,
          [this] { RunHandler([this] { cmdHistoryTable_Click(); }); });

  frmResults::SetHiddenByUserHandler([this] { Menu("mnuResults")->setChecked(false); });

  auto watch = [this](QWidget* widget, std::function<void()> onMove) {
    widget->setMouseTracking(true);
    widget->installEventFilter(new PointerWatcher(widget, std::move(onMove)));
  };
  watch(cmdSimulate, [this] { cmdSimulate_MouseMove(); });
  watch(cmdStopSim, [this] { cmdStopSim_MouseMove(); });
  watch(cmdPauseSim, [this] { cmdPauseSim_MouseMove(); });
  watch(centralWidget(), [this] { Form_MouseMove(); });
}

void frmMain::FillLists() {
  Refill(Combo("cboSelectMarket"), {"ny", "ns", "am"});
  Yield();
  Refill(Combo("cboSelectPositioning"), {"LONG", "SHORT"});
  Yield();
  Refill(Combo("cboTypeOfPurchase"), {"Market", "Limit", "Stop"});
  Yield();
  Refill(Combo("cboInitialStop"), {"Previous Day's Low/High"});
  Combo("cboInitialStop")->setCurrentIndex(0);
  Yield();
  Refill(Combo("cboPriceUpdate"), {"New Extreme Low/High"});
  Combo("cboPriceUpdate")->setCurrentIndex(0);
  Yield();
}

void frmMain::Form_Load() {
  tabResearch->setCurrentIndex(0);
  for (int tab = 0; tab <= 2; ++tab) tabResearch->setTabEnabled(tab, true);
  Yield();

  Widget("dteSimDate", 0)->setEnabled(true);
  Widget("dteSimDate", 1)->setEnabled(true);
  SetRunLockEnabled(true);
  cmdSimulate->setEnabled(true);
  ApplyControlLines(designState_, controls_, true, 0);
  Yield();

  Text("txtSelection")->clear();
  for (const char* range : {"txtMACDMin", "txtVolChange", "txtPriceChange", "txtPercDiff"})
    for (int i = 0; i <= 1; ++i) Text(range, i)->clear();

  Menu("mnuOpenSim")->setEnabled(true);
  cmdGraph->setEnabled(false);
  Yield();

  FillLists();
  Check("chkSimOption", 1)->SetValue(1);

  QComboBox* pick = Options().cmbPick(0);
  pick->clear();
  for (int n = 1; n <= 20; ++n) pick->addItem(QString::number(n));
  Yield();
  pick->setCurrentIndex(0);

  Refill(Combo("cboBuyCriteria"), {"%MA", "MACD", "PriceChange", "VolChange", "%MA * VolCh", "Rev%MA"});
  Combo("cboBuyCriteria")->setCurrentIndex(0);
  Yield();

  blnNewSimulation = true;
  Check("chkCalculateResults")->SetValue(0);
  frmResults& results = ResultsWindow();
  results.lvwWinners->Clear();
  results.lvwPortfolio->Clear();
  results.lvwWinners->show();
  results.lvwPortfolio->hide();
  Button("cmdSMART", 0)->hide();
  Label("lblSymbolList")->clear();
  cmdShowProgress->setEnabled(false);
  // No figure or state of the previous simulation stays on screen.
  ResetTradeResults();
  ResetPortfolioResults();
  Label("lblCurrStock", 1)->clear();
  Label("Label1", 4)->clear();
  pbProgress->setValue(0);
  pbStatus->setValue(0);
  lblTime->setText("00:00:00");

  LoadStep([this] { LoadSimulation(StartupFilePath().string()); });
  Yield();
  Parms().strSimTable.clear();  // no simulation is current after loading
  LoadStep([this] { LoadProperties(PropertiesFilePath().string()); });
  LoadStep([this] { LoadParms(); });
  LoadStep([this] { LoadStartUpParms(); });
  Yield();

  rt::Date periodEnd = rt::Today() - 1;
  Picker("dteSimDate", 1)->SetValue(PreviousTradingDay(periodEnd));
  rt::Date periodStart = Picker("dteSimDate", 1)->Value() - 150;
  Picker("dteSimDate", 0)->SetValue(PreviousTradingDay(periodStart));
  Yield();

  NewEngine();

  ShowHelp(101);
  Yield();
}

void frmMain::NewEngine() {
  objResearch = std::make_shared<clsResearch>();  // opens the shared connection
  objResearch->SetListener(this);
  objResearch->StopProcess(false);
  blnNewSimulation = true;
  if (objResearch->TestDatabase()) return;
  std::string cause = objResearch->DatabaseFailure();
  user::MsgBox(cause.empty() ? std::string(kDatabaseTestFailed)
                             : kDatabaseTestFailed + std::string("\r\n\r\n") + cause);
}

bool frmMain::event(QEvent* event) {
  bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate && !firstActivationDone_) RunHandler([this] { Form_Activate(); });
  return handled;
}

void frmMain::Form_Activate() {
  if (firstActivationDone_) return;
  firstActivationDone_ = true;  // before the modal notice, which activates the window again
  ShowTutorial();
}

void frmMain::ShowTutorial() {
  QString flag = QString::fromStdString(registry::GetRegSetting(registry::lngRegRoot, kTutorialKey, "TUT")).trimmed();
  if (flag == "1") return;
  frmTutorial tutorial(this);
  int remembered = showTutorialModally ? showTutorialModally(tutorial) : (tutorial.exec(), tutorial.ShowMessage());
  registry::SaveRegSetting(registry::lngRegRoot, kTutorialKey, "TUT", remembered == 1 ? "1" : "0");
}

void frmMain::cmdSimulate_MouseMove() {
  if (user::User().Pointer() != user::kPointerHourglass) return;
  user::User().SetPointer(user::kPointerArrowHourglass);
  Yield();
}

void frmMain::cmdStopSim_MouseMove() { cmdSimulate_MouseMove(); }
void frmMain::cmdPauseSim_MouseMove() { cmdSimulate_MouseMove(); }

void frmMain::Form_MouseMove() {
  if (user::User().Pointer() != user::kPointerArrowHourglass) return;
  user::User().SetPointer(user::kPointerDefault);
  Yield();
}

void frmMain::mnuExit_Click() { Form_Unload(); }

void frmMain::mnuResults_Click() {
  // The item has already changed its check mark.
  if (Menu("mnuResults")->isChecked()) ResultsWindow().show();
  else if (ResultsWindowExists()) ResultsWindow().hide();
}

void frmMain::mnuOptions_Click() {
  Options().show();
  Options().raise();
  Options().activateWindow();
}

void frmMain::mnuSaveStartup_Click() {
  SaveSimulation("STARTUP", false);
  SaveProperties();
  LoadStartUpParms();
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (RunInProgress()) {
    // Ending the program now would free the engine under the running code:
    // stop the run and end once it has unwound.
    event->ignore();
    Form_Unload();
    return;
  }
  event->accept();
  ShutDown();
}

void frmMain::Form_Unload() {
  if (RunInProgress()) {
    closeWhenRunEnds_ = true;
    if (objResearch) objResearch->StopProcess(true);
    return;
  }
  ShutDown();
  hide();
}

void frmMain::ShutDown() {
  try {
    Options().hide();
    objResearch.reset();
    if (cnDatabase) {
      cnDatabase->Close();
      cnDatabase.reset();
    }
    if (ResultsWindowExists()) ResultsWindow().close();
  } catch (...) {
    // Shut-down always ends the program.
  }
  QCoreApplication::quit();
}

}  // namespace ui
