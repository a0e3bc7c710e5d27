// The parameter panel's switches: check boxes and option buttons that show,
// hide or enable the fields they govern, the criteria selectors, the tab
// strip, and the help texts shown when a control takes the focus.
#include "market_data/run_parameters.h"
#include "ui/focus_watch.h"
#include "ui/main_window.h"
#include "ui/results_window.h"

namespace ui {
namespace {

// The settings frames of the criteria, by the index of their selector.
const char* const kCriteriaFrames[] = {"Frame10", "Frame8", "Frame9", "frame2", "fraADX", "fraMinVol", "fraMA"};

}  // namespace

void frmMain::OnFocus(QWidget* widget, std::function<void()> handler) {
  auto run = [handler, alive = WindowAlive()](const QFocusEvent&) {
    if (alive()) handler();
  };
  WatchFocus(widget, QEvent::FocusIn, run);
  if (auto* combo = dynamic_cast<QComboBox*>(widget); combo && combo->lineEdit())
    WatchFocus(combo->lineEdit(), QEvent::FocusIn, run);
}

void frmMain::ConnectPanel() {
  auto onClick = [this](CheckBox* box, std::function<void()> handler) {
    connect(box, &QCheckBox::stateChanged, this, [handler] { handler(); });
  };
  auto onSelect = [this](OptionButton* button, std::function<void()> handler) {
    connect(button, &QRadioButton::toggled, this, [handler](bool checked) {
      if (checked) handler();
    });
  };
  auto help = [this](int id) { return [this, id] { ShowHelp(id); }; };

  onClick(Check("chkRSIChange"), [this] { chkRSIChange_Click(); });
  onClick(Check("chkBBDist"), [this] { chkBBDist_Click(); });
  onClick(Check("chkDJMA"), [this] { chkDJMA_Click(); });
  onClick(Check("chkDJRSI"), [this] { chkDJRSI_Click(); });
  onClick(Check("chkNSMA"), [this] { chkNSMA_Click(); });
  onClick(Check("chkNSRSI"), [this] { chkNSRSI_Click(); });
  for (int i = 0; i <= 5; ++i) onClick(Check("chkResult", i), [this, i] { chkResult_Click(i); });
  onClick(Check("chkMaxAge"), [this] { chkMaxAge_Click(); });
  onClick(Check("chkUseSellLoss"), [this] { chkUseSellLoss_Click(); });
  onClick(Check("chkUseMinVol"), [this] { chkUseMinVol_Click(); });
  onClick(Check("chkUseADX"), [this] { chkUseADX_Click(); });
  onClick(Check("chkUseMA"), [this] { chkUseMA_Click(); });
  for (int i = 0; i <= 3; ++i) onClick(Check("chkSimOption", i), [this, i] { chkSimOption_Click(i); });
  onClick(Check("chkSelectByMarket"), [this] { chkSelectByMarket_Click(); });
  onClick(Check("chkSelectByDate"), [this] { chkSelectByDate_Click(); });
  onClick(Check("chkOneDay"), [this] { chkOneDay_Click(); });
  onClick(Check("chkCalculateResults"), [this] { chkCalculateResults_Click(); });
  for (int i = 0; i <= 1; ++i) {
    onSelect(Option("optInitStop", i), [this, i] { optInitStop_Click(i); });
    onSelect(Option("optPriceUpdate", i), [this, i] { optPriceUpdate_Click(i); });
  }
  for (int i = 0; i <= 2; ++i) onSelect(Option("optStockSelection", i), [this, i] { optStockSelection_Click(i); });
  for (int i = 0; i <= 6; ++i) onSelect(Option("optWinOption", i), [this, i] { optWinOption_Click(i); });
  connect(tabResearch, &QTabWidget::currentChanged, this, [this] { tabResearch_Click(); });

  // Help texts on focus.
  const std::pair<const char*, int> singles[] = {
      {"cboTypeOfPurchase", 135}, {"cboPurchasePrice", 137}, {"cboBuyCriteria", 145},
      {"cboSelectMarket", 157},   {"chkUseADX", 110},        {"chkUseMA", 106},
      {"chkUseMinVol", 111},      {"chkUpdateData", 130},    {"chkCalculateResults", 131},
      {"chkOneDay", 134},         {"chkMaxAge", 142},        {"chkBBDist", 150},
      {"chkRSIChange", 151},      {"chkDJMA", 152},          {"chkDJRSI", 153},
      {"chkNSMA", 154},           {"chkNSRSI", 155},         {"chkSelectByDate", 159},
      {"chkSelectByMarket", 157}};
  for (const auto& [name, id] : singles) OnFocus(Widget(name), help(id));
  const std::pair<std::pair<const char*, int>, int> elements[] = {{{"chkSimOption", 0}, 107},
                                                                  {{"chkSimOption", 1}, 108},
                                                                  {{"chkSimOption", 2}, 109},
                                                                  {{"chkResult", 0}, 147},
                                                                  {{"chkResult", 1}, 146},
                                                                  {{"chkResult", 3}, 148},
                                                                  {{"chkResult", 4}, 158},
                                                                  {{"chkResult", 5}, 149},
                                                                  {{"optRSI", 0}, 125},
                                                                  {{"optRSI", 1}, 126},
                                                                  {{"optStockSelection", 0}, 102},
                                                                  {{"optStockSelection", 1}, 103},
                                                                  {{"optStockSelection", 2}, 104},
                                                                  {{"optWinOption", 0}, 113},
                                                                  {{"optWinOption", 2}, 115},
                                                                  {{"optWinOption", 4}, 116},
                                                                  {{"optWinOption", 5}, 117},
                                                                  {{"optWinOption", 6}, 112}};
  for (const auto& [control, id] : elements) OnFocus(Widget(control.first, control.second), help(id));
  // The positioning filter explains itself when its text changes.
  connect(Combo("cboSelectPositioning"), &QComboBox::currentTextChanged, this, [this] { ShowHelp(158); });
}

void frmMain::ShowRange(const std::string& box, int boxIndex, const std::string& field, int labelIndex) {
  bool shown = Check(box, boxIndex)->Value() != 0;
  Text(field, 0)->setVisible(shown);
  Label("lblSimOption", labelIndex)->setVisible(shown);
  Text(field, 1)->setVisible(shown);
}

void frmMain::chkRSIChange_Click() { ShowRange("chkRSIChange", -1, "txtRSIChange", 18); }
void frmMain::chkBBDist_Click() { ShowRange("chkBBDist", -1, "txtBBDist", 27); }
void frmMain::chkDJMA_Click() { ShowRange("chkDJMA", -1, "txtDJMA", 49); }
void frmMain::chkDJRSI_Click() { ShowRange("chkDJRSI", -1, "txtDJRSI", 50); }
void frmMain::chkNSMA_Click() { ShowRange("chkNSMA", -1, "txtNSMA", 51); }
void frmMain::chkNSRSI_Click() { ShowRange("chkNSRSI", -1, "txtNSRSI", 52); }

void frmMain::chkResult_Click(int) {
  ShowRange("chkResult", 1, "txtPercDiff", 19);
  ShowRange("chkResult", 0, "txtVolChange", 16);
  ShowRange("chkResult", 3, "txtPriceChange", 47);
  ShowRange("chkResult", 5, "txtMACDMin", 48);
  Combo("cboSelectPositioning")->setVisible(Check("chkResult", 4)->Value() != 0);
}

void frmMain::chkMaxAge_Click() { Text("txtMaxDays", 0)->setEnabled(Check("chkMaxAge")->Value() == 1); }

void frmMain::chkUseSellLoss_Click() { Text("txtSimOption", 20)->setEnabled(Check("chkUseSellLoss")->Value() == 1); }

void frmMain::chkUseMinVol_Click() {
  bool on = Check("chkUseMinVol")->Value() != 0;
  if (on) Option("optWinOption", 5)->SetValue(true);
  for (QWidget* field : {Widget("Label4"), Widget("Label5"), Widget("txtVolDollarMin"), Widget("txtVolPercMax")})
    field->setEnabled(on);
}

void frmMain::chkUseADX_Click() {
  bool on = Check("chkUseADX")->Value() != 0;
  if (on) Option("optWinOption", 4)->SetValue(true);
  Widget("lblADXThreshold")->setEnabled(on);
  Widget("txtADXThreshold")->setEnabled(on);
  ShowHelp(110);
}

void frmMain::chkUseMA_Click() {
  bool on = Check("chkUseMA")->Value() != 0;
  if (on) Option("optWinOption", 6)->SetValue(true);
  for (QWidget* field :
       {Widget("lblSimOption", 8), Widget("txtSimOption", 8), Widget("lblSimOption", 4), Widget("txtSimOption", 4)})
    field->setEnabled(on);
  ShowHelp(106);
}

void frmMain::chkSimOption_Click(int index) {
  if (index < 0 || index > 3) return;
  bool on = Check("chkSimOption", index)->Value() == 1;
  if (on) Option("optWinOption", index)->SetValue(true);
  auto enable = [&](const char* name, int first, int last) {
    for (int i = first; i <= last; ++i) Widget(name, i)->setEnabled(on);
  };
  switch (index) {
    case 0:
      enable("lblSimOption", 5, 7);
      enable("txtSimOption", 5, 7);
      ShowHelp(107);
      break;
    case 1:
      enable("lblSimOption", 1, 3);
      enable("txtSimOption", 1, 3);
      enable("optRSI", 0, 1);
      ShowHelp(108);
      break;
    case 2:
      enable("txtSimOption", 16, 19);
      enable("lblSimOption", 20, 23);
      ShowHelp(109);
      break;
    case 3:
      enable("txtSimOption", 21, 26);
      enable("lblSimOption", 34, 39);
      break;
  }
}

void frmMain::chkSelectByMarket_Click() {
  Combo("cboSelectMarket")->setVisible(Check("chkSelectByMarket")->Value() != 0);
}

void frmMain::chkSelectByDate_Click() {
  bool shown = Check("chkSelectByDate")->Value() != 0;
  DatePicker* start = Picker("dteSelectStart");
  DatePicker* end = Picker("dteSelectEnd");
  start->setVisible(shown);
  Label("lblSimOption", 17)->setVisible(shown);
  end->setVisible(shown);
  if (!shown) return;
  // Keep the portfolio window inside the simulated period.
  QDate first = Picker("dteSimDate", 0)->date();
  QDate last = Picker("dteSimDate", 1)->date();
  if (start->date() < first || start->date() > last) start->setDate(first);
  if (end->date() > last || end->date() < first) end->setDate(last);
  if (end->date() < start->date()) end->setDate(start->date());
}

void frmMain::chkOneDay_Click() {
  bool oneDay = Check("chkOneDay")->Value() == 1;
  Label("lblSim", 1)->setEnabled(!oneDay);
  Picker("dteSimDate", 1)->setEnabled(!oneDay);
  if (oneDay) Picker("dteSimDate", 1)->setDate(Picker("dteSimDate", 0)->date());
}

void frmMain::chkCalculateResults_Click() { Parms().blnCalculateResults = Check("chkCalculateResults")->Value() != 0; }

void frmMain::optInitStop_Click(int index) {
  if (index != 0 && index != 1) return;
  bool percent = index == 0;
  for (QWidget* field : {Widget("txtInitPrice", 0), Widget("lblSimOption", 24), Widget("txtInitPrice", 1),
                         Widget("lblSimOption", 15), Widget("txtInitPriceStep")})
    field->setVisible(percent);
  Combo("cboInitialStop")->setVisible(!percent);
  EnableSweepRowBoxes();
}

void frmMain::optPriceUpdate_Click(int index) {
  if (index != 0 && index != 1) return;
  bool profitable = index == 0;
  for (QWidget* field :
       {Widget("txtProfitable", 0), Widget("txtDecline", 0), Widget("lblSimOption", 25), Widget("lblSimOption", 32),
        Widget("lblSimOption", 30), Widget("lblSimOption", 29), Widget("txtProfitable", 1), Widget("txtProfitableStep"),
        Widget("txtDecline", 1), Widget("txtDeclineStep")})
    field->setVisible(profitable);
  Combo("cboPriceUpdate")->setVisible(!profitable);
  EnableSweepRowBoxes();
}

void frmMain::optStockSelection_Click(int index) {
  Text("txtLike")->setEnabled(index == 1);
  Text("txtSelection")->setEnabled(index != 0 && index != 1);
  ShowHelp(index == 0 ? 102 : index == 1 ? 103 : 104);
}

void frmMain::optWinOption_Click(int index) {
  if (index < 0 || index > 6) return;
  if (index == 1) ShowHelp(114);
  if (index == 4) ShowHelp(116);
  for (int i = 0; i <= 6; ++i) Widget(kCriteriaFrames[i])->setVisible(i == index);
}

void frmMain::tabResearch_Click() {
  QPushButton* smart = Button("cmdSMART", 0);
  if (tabResearch->currentIndex() != 0) {
    cmdSimulate->setEnabled(!cmdStopSim->isEnabled());
    // A running sweep keeps the switch away: it would change the sweep's boxes.
    smart->setVisible(!sweepRunning_);
    smart->setEnabled(true);
  } else {
    cmdSimulate->setEnabled(Picker("dteSimDate", 0)->isEnabled());
    smart->setVisible(false);
    smart->setEnabled(false);
  }
  ResultsWindow().ShowPortfolioList(tabResearch->currentIndex() == 2);
}

}  // namespace ui
