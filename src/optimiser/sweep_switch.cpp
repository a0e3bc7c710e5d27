// The S.M.A.R.T. switch and the selection boxes: which set-up controls of the
// Trade and Portfolio tabs are on show, which parameters a sweep varies, and
// the two sweep flags that make a Simulate click a sweep.
#include <QFont>

#include "optimiser/sweep_fields.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::kRankingRanges;
using optimiser::kTradeRanges;

constexpr const char* kOffCaption[] = {"", "S.M.A.R.T. Not Enabled for Trading",
                                       "S.M.A.R.T. Not Enabled for Portfolios"};
constexpr const char* kOnCaption[] = {"", "S.M.A.R.T. ENABLED for Trading!", "S.M.A.R.T. ENABLED for Portfolios!"};

void ShowStatus(QLabel* label, const char* caption, const QColor& colour, bool bold) {
  label->setText(caption);
  SetTextColour(label, colour);
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
}

// The boxes the switch shows: the six trade ranges and the ten ranking ranges
// (the list settings' boxes stay hidden).
bool SwitchShowsBox(int index) { return index <= 9 || (index >= 11 && index <= 20); }

}  // namespace

void frmMain::ConnectOptimiser() {
  connect(Button("cmdSMART", 0), &QPushButton::clicked, this, [this] { RunHandler([this] { cmdSMART_Click(0); }); });
  for (int i = 0; i <= 22; ++i)
    connect(Check("chkBuildOption", i), &QCheckBox::stateChanged, this, [this, i] { chkBuildOption_Click(i); });
  for (int i = 0; i <= 1; ++i)
    connect(Button("cmdReset", i), &QPushButton::clicked, this,
            [this, i] { RunHandler([this, i] { cmdReset_Click(i); }); });
  connect(Button("cmdGetRange"), &QPushButton::clicked, this, [this] { RunHandler([this] { cmdGetRange_Click(); }); });
  connect(cmdShowProgress, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdShowProgress_Click(); }); });
}

void frmMain::HideSweepSetUp() {
  for (const auto& row : kTradeRanges)
    for (QWidget* field : {Widget(row.step), Widget("lblSimOption", row.byLabel), Widget(row.field, 1),
                           Widget("lblSimOption", row.toLabel)})
      field->hide();
  for (int i = 0; i < optimiser::kRankingRangeCount; ++i) {
    Text("txtStep", i)->hide();
    Label("lblSimOption", kRankingRanges[i].byLabel)->hide();
  }
  for (QWidget* control : {Widget("lblSimOption", 61), Widget("lblSimOption", 9), Widget("txtSMARTDivisor", 0),
                           Widget("txtSMARTDivisor", 1), Widget("cmdReset", 0), Widget("cmdReset", 1),
                           Widget("Frame20"), Widget("Frame21")})
    control->hide();
}

bool frmMain::SweepSwitchOn() const {
  // The switch keeps no state of its own: the Trade tab's label says which it is.
  return S(Label("lblStatus", 1)->text()).find("Not Enabled") == std::string::npos;
}

void frmMain::cmdSMART_Click(int) {
  if (!SweepSwitchOn()) {
    const QColor green(0, 64, 0);
    for (int tab = 1; tab <= 2; ++tab) ShowStatus(Label("lblStatus", tab), kOnCaption[tab], green, true);
    for (QWidget* control : {Widget("lblSimOption", 61), Widget("lblSimOption", 9), Widget("txtSMARTDivisor", 0),
                             Widget("txtSMARTDivisor", 1), Widget("cmdReset", 0), Widget("cmdReset", 1),
                             Widget("Frame20"), Widget("Frame21")})
      control->show();
    for (int i = 0; i <= 22; ++i)
      if (SwitchShowsBox(i)) Check("chkBuildOption", i)->show();
    RecomputeSweepFlags();  // boxes a file ticked while it was off now count
  } else {
    HideSweepSetUp();
    const QColor red(192, 0, 0);
    for (int tab = 1; tab <= 2; ++tab) ShowStatus(Label("lblStatus", tab), kOffCaption[tab], red, false);
    for (int i = 0; i <= 22; ++i) {
      if (!SwitchShowsBox(i)) continue;
      CheckBox* box = Check("chkBuildOption", i);
      box->hide();
      box->SetValue(0);  // its click hides the row's fields and recomputes the flags
    }
  }
  user::DoEvents();
  for (int i : {0, 2, 5, 8}) Check("chkBuildOption", i)->hide();
  user::DoEvents();
}

void frmMain::chkBuildOption_Click(int index) {
  CheckBox* box = Check("chkBuildOption", index);
  // A row its rule leaves unused has nothing to sweep: a tick there (a
  // settings file's too) is refused.
  if (box->Value() != 0 && !SweepRowUsed(index)) {
    box->SetValue(0);
    return;
  }
  bool selected = box->Value() == 1;
  for (const auto& row : kTradeRanges) {
    if (row.box != index) continue;
    for (QWidget* field : {Widget(row.step), Widget("lblSimOption", row.byLabel), Widget(row.field, 1),
                           Widget("lblSimOption", row.toLabel)})
      field->setVisible(selected);
  }
  for (int i = 0; i < optimiser::kRankingRangeCount; ++i) {
    const auto& range = kRankingRanges[i];
    if (range.box != index) continue;
    // A swept range is a filter of the run too: its own box shows Min and Max.
    if (selected) Check(range.filterBox, range.filterBoxIndex)->SetValue(1);
    Text("txtStep", i)->setVisible(selected);
    Label("lblSimOption", range.byLabel)->setVisible(selected);
  }
  RecomputeSweepFlags();
}

bool frmMain::SweepRowUsed(int box) const {
  for (const auto& row : kTradeRanges) {
    if (!row.rule) continue;
    if (box == row.rule->listBox) return false;
    if (box == row.box) return Option(row.rule->option, 0)->Value();
  }
  return true;
}

void frmMain::EnableSweepRowBoxes() {
  // Only the rows of a rule can be unused: the other boxes stay enabled.
  for (const auto& row : kTradeRanges) {
    if (!row.rule) continue;
    for (int index : {row.box, row.rule->listBox}) {
      CheckBox* box = Check("chkBuildOption", index);
      const bool used = SweepRowUsed(index);
      box->setEnabled(used);
      if (!used) box->SetValue(0);  // its click hides the row's fields and recomputes the flags
    }
  }
}

void frmMain::RecomputeSweepFlags() {
  // A Simulate click sweeps only what the tab says: with the switch off, boxes
  // a settings or simulation file ticked make no sweep.
  const bool on = SweepSwitchOn();
  blnTradeSMART = false;
  blnPortfolioSMART = false;
  for (int i = 0; i <= 9; ++i)
    if (Check("chkBuildOption", i)->Value() == 1) blnTradeSMART = on;
  for (int i = 10; i <= 22; ++i)
    if (Check("chkBuildOption", i)->Value() == 1) blnPortfolioSMART = on;
}

bool frmMain::SweepRequested() const {
  int tab = tabResearch->currentIndex();
  return (tab == 2 && blnPortfolioSMART) || (tab == 1 && blnTradeSMART);
}

}  // namespace ui
