// The parameter panel's switches, selectors, tab strip and focus help.
#include <QCoreApplication>
#include <QFocusEvent>

#include "ui/resources.h"
#include "window_fixture.h"

namespace {

bool Shown(QWidget* widget) { return !widget->isHidden(); }

void Focus(QWidget* widget) {
  QFocusEvent focus(QEvent::FocusIn);
  QCoreApplication::sendEvent(widget, &focus);
}

std::string Help(ui::frmMain& w) { return w.txtHelp->toPlainText().toStdString(); }

}  // namespace

TEST_F(WindowTest, CriteriaSwitchesEnableTheirFieldsAndBringTheirFrameForward) {
  ui::frmMain& w = LoadedWindow();
  EXPECT_TRUE(Shown(w.Widget("Frame8")));  // the load ticks RSI
  EXPECT_TRUE(w.Widget("txtSimOption", 1)->isEnabled());
  EXPECT_FALSE(w.Widget("txtSimOption", 5)->isEnabled());

  w.Check("chkUseMinVol")->SetValue(2);  // grey counts as on for this box
  EXPECT_TRUE(w.Widget("txtVolDollarMin")->isEnabled());
  EXPECT_TRUE(Shown(w.Widget("fraMinVol")));
  EXPECT_FALSE(Shown(w.Widget("Frame8")));

  w.Check("chkSimOption", 0)->SetValue(2);  // ...but not for the Bollinger box
  EXPECT_FALSE(w.Widget("txtSimOption", 5)->isEnabled());
  EXPECT_EQ(Help(w), ui::LoadResString(107));
  w.Check("chkSimOption", 0)->SetValue(1);
  EXPECT_TRUE(w.Widget("txtSimOption", 5)->isEnabled());
  EXPECT_TRUE(Shown(w.Widget("Frame10")));

  w.Check("chkSimOption", 0)->SetValue(0);  // switching off selects no other frame
  EXPECT_TRUE(Shown(w.Widget("Frame10")));
  w.Check("chkUseADX")->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("fraADX")));
  EXPECT_EQ(Help(w), ui::LoadResString(110));

  w.Check("chkMaxAge")->SetValue(2);
  EXPECT_FALSE(w.Widget("txtMaxDays", 0)->isEnabled());
  w.Check("chkUseSellLoss")->SetValue(0);
  EXPECT_FALSE(w.Widget("txtSimOption", 20)->isEnabled());
}

TEST_F(WindowTest, RankingRangesShowWithTheirBoxes) {
  ui::frmMain& w = LoadedWindow();
  EXPECT_FALSE(Shown(w.Widget("txtPercDiff", 0)));
  w.Check("chkResult", 1)->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("txtPercDiff", 0)));
  EXPECT_TRUE(Shown(w.Widget("lblSimOption", 19)));
  EXPECT_TRUE(Shown(w.Widget("txtPercDiff", 1)));
  EXPECT_FALSE(Shown(w.Widget("txtStep", 0)));  // steps belong to the sweeps

  w.Check("chkBBDist")->SetValue(2);
  EXPECT_TRUE(Shown(w.Widget("txtBBDist", 1)));
  w.Check("chkNSRSI")->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("lblSimOption", 52)));

  // A box that governs nothing still brings every chkResult group in line.
  w.Text("txtPercDiff", 0)->hide();
  w.Check("chkResult", 2)->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("txtPercDiff", 0)));
  EXPECT_FALSE(Shown(w.Widget("cboSelectPositioning")));
  w.Check("chkResult", 4)->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("cboSelectPositioning")));

  w.Check("chkSelectByMarket")->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("cboSelectMarket")));
}

TEST_F(WindowTest, ThePortfolioWindowSwitchKeepsItInsideThePeriod) {
  ui::frmMain& w = LoadedWindow();
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 3, 1));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2004, 3, 15));
  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2004, 3, 1));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2004, 3, 31));
  w.Check("chkSelectByDate")->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("dteSelectStart")));
  EXPECT_EQ(w.Picker("dteSelectStart")->Value(), rt::DateSerial(2004, 3, 1));
  EXPECT_EQ(w.Picker("dteSelectEnd")->Value(), rt::DateSerial(2004, 3, 15));

  w.Check("chkSelectByDate")->SetValue(0);
  EXPECT_FALSE(Shown(w.Widget("lblSimOption", 17)));
  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2004, 4, 2));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2004, 4, 9));
  w.Check("chkSelectByDate")->SetValue(1);
  EXPECT_EQ(w.Picker("dteSelectStart")->Value(), rt::DateSerial(2004, 3, 1));
  EXPECT_EQ(w.Picker("dteSelectEnd")->Value(), rt::DateSerial(2004, 3, 15));
}

TEST_F(WindowTest, OneDayCopiesTheStartAndLeavesItAfterwards) {
  ui::frmMain& w = LoadedWindow();
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 3, 1));
  w.Check("chkOneDay")->SetValue(1);
  EXPECT_FALSE(w.Widget("dteSimDate", 1)->isEnabled());
  EXPECT_EQ(w.Picker("dteSimDate", 1)->Value(), rt::DateSerial(2004, 3, 1));
  w.Check("chkOneDay")->SetValue(0);
  EXPECT_TRUE(w.Widget("dteSimDate", 1)->isEnabled());
  EXPECT_EQ(w.Picker("dteSimDate", 1)->Value(), rt::DateSerial(2004, 3, 1));
}

TEST_F(WindowTest, AutoCalculateTakesEffectAtOnce) {
  ui::frmMain& w = LoadedWindow();
  w.Check("chkCalculateResults")->SetValue(1);
  EXPECT_TRUE(Parms().blnCalculateResults);
  w.Check("chkCalculateResults")->SetValue(0);
  EXPECT_FALSE(Parms().blnCalculateResults);
}

TEST_F(WindowTest, RuleOptionsShowTheirFieldsWhateverTheSweepSwitch) {
  ui::frmMain& w = LoadedWindow();
  EXPECT_FALSE(Shown(w.Widget("txtInitPrice", 1)));
  w.Option("optInitStop", 1)->SetValue(true);
  EXPECT_FALSE(Shown(w.Widget("txtInitPrice", 0)));
  EXPECT_TRUE(Shown(w.Widget("cboInitialStop")));
  w.Option("optInitStop", 0)->SetValue(true);
  EXPECT_TRUE(Shown(w.Widget("txtInitPrice", 1)));
  EXPECT_TRUE(Shown(w.Widget("txtInitPriceStep")));
  EXPECT_FALSE(Shown(w.Widget("cboInitialStop")));

  w.Option("optPriceUpdate", 1)->SetValue(true);
  EXPECT_FALSE(Shown(w.Widget("txtDecline", 0)));
  EXPECT_TRUE(Shown(w.Widget("cboPriceUpdate")));
  w.Option("optPriceUpdate", 0)->SetValue(true);
  for (const char* name : {"txtProfitableStep", "txtDeclineStep"}) EXPECT_TRUE(Shown(w.Widget(name)));
  EXPECT_TRUE(Shown(w.Widget("txtDecline", 1)));
}

TEST_F(WindowTest, SymbolSelectionEnablesItsBoxAndExplainsItself) {
  ui::frmMain& w = LoadedWindow();
  w.Option("optStockSelection", 2)->SetValue(true);
  EXPECT_TRUE(w.Widget("txtSelection")->isEnabled());
  EXPECT_FALSE(w.Widget("txtLike")->isEnabled());
  EXPECT_EQ(Help(w), ui::LoadResString(104));
  w.Option("optStockSelection", 1)->SetValue(true);
  EXPECT_TRUE(w.Widget("txtLike")->isEnabled());
  EXPECT_FALSE(w.Widget("txtSelection")->isEnabled());
  Focus(w.Widget("optStockSelection", 2));
  EXPECT_EQ(Help(w), ui::LoadResString(104));
}

TEST_F(WindowTest, FocusHelpAndTheControlsThatHaveNone) {
  ui::frmMain& w = LoadedWindow();
  Focus(w.Widget("chkDJMA"));
  EXPECT_EQ(Help(w), ui::LoadResString(152));
  Focus(w.Widget("chkSimOption", 3));
  Focus(w.Widget("chkResult", 2));
  Focus(w.Widget("optWinOption", 1));
  Focus(w.Widget("optWinOption", 3));
  EXPECT_EQ(Help(w), ui::LoadResString(152));
  w.Option("optWinOption", 0)->SetValue(true);  // no help of its own on click
  EXPECT_EQ(Help(w), ui::LoadResString(152));
  w.Option("optWinOption", 1)->SetValue(true);
  EXPECT_EQ(Help(w), ui::LoadResString(114));
  Focus(w.Widget("cboPurchasePrice"));
  EXPECT_EQ(Help(w), ui::LoadResString(137));
  w.Combo("cboSelectPositioning")->setCurrentIndex(1);
  EXPECT_EQ(Help(w), ui::LoadResString(158));
  EXPECT_EQ(ui::LoadResString(123).back(), '`');
  EXPECT_EQ(ui::LoadResString(156).size(), 297u);
}

TEST_F(WindowTest, TheTabStripSwitchesTheResultsListAndTheRunButton) {
  ui::frmMain& w = LoadedWindow();
  w.tabResearch->setCurrentIndex(2);
  EXPECT_TRUE(Shown(ui::ResultsWindow().lvwPortfolio));
  EXPECT_FALSE(Shown(ui::ResultsWindow().lvwWinners));
  EXPECT_EQ(ui::ResultsWindow().lblResults->text(), "Portfolio Results");
  EXPECT_TRUE(Shown(w.Widget("cmdSMART", 0)));
  w.tabResearch->setCurrentIndex(1);
  EXPECT_EQ(ui::ResultsWindow().lblResults->text(), "Select / Trade Results");
  EXPECT_TRUE(Shown(ui::ResultsWindow().lvwWinners));

  // While a run is on (Stop enabled, pickers locked) no page offers Simulate.
  w.cmdStopSim->setEnabled(true);
  w.Widget("dteSimDate", 0)->setEnabled(false);
  w.cmdSimulate->setEnabled(false);
  w.tabResearch->setCurrentIndex(2);
  EXPECT_FALSE(w.cmdSimulate->isEnabled());
  w.tabResearch->setCurrentIndex(0);
  EXPECT_FALSE(w.cmdSimulate->isEnabled());
  EXPECT_FALSE(Shown(w.Widget("cmdSMART", 0)));
}

TEST_F(WindowTest, EveryControlBelongsToTheWindow) {
  ui::frmMain& w = NewWindow();
  for (const ui::FormControl& control : w.Controls().All())
    EXPECT_TRUE(w.isAncestorOf(control.widget)) << control.name << "(" << control.index << ")";
}
