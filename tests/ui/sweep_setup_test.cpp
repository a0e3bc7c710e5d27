// The S.M.A.R.T. set-up on the Trade and Portfolio tabs: the switch, the
// selection boxes and the sweep flags, the Reset buttons and the range probe.
#include <QCoreApplication>

#include "market_data/database_connection.h"
#include "optimiser/sweep_fields.h"
#include "platform/runtime/error.h"
#include "run_fixture.h"
#include "simulation/simulation_table_rows.h"

namespace {

bool Shown(QWidget* widget) { return !widget->isHidden(); }
std::string TextOf(QLineEdit* field) { return field->text().toStdString(); }

// Whether a statement on the shared connection is serving the window now.
bool InsideAStatement() {
  try {
    SharedConnection().TotalChanges();
    return false;
  } catch (const rt::Error&) {
    return true;
  }
}

// The trade range rows' Max, Step and labels; the ranking Steps with their "by".
std::vector<QWidget*> TradeGrid(ui::frmMain& w, const char* field, const char* step, int to, int by) {
  return {w.Widget(field, 1), w.Widget(step), w.Widget("lblSimOption", to), w.Widget("lblSimOption", by)};
}

}  // namespace

TEST_F(WindowTest, TheSwitchShowsTheSetUpOfBothTabsAndSwitchingOffUnticksTheBoxes) {
  ui::frmMain& w = LoadedWindow();
  QLabel* trade = w.Label("lblStatus", 1);
  QLabel* portfolio = w.Label("lblStatus", 2);
  EXPECT_EQ(trade->text(), "S.M.A.R.T. Not Enabled for Trading");
  EXPECT_FALSE(Shown(w.Widget("Frame20")));
  EXPECT_FALSE(Shown(w.Widget("txtSMARTDivisor", 1)));

  w.tabResearch->setCurrentIndex(1);
  EXPECT_TRUE(w.Button("cmdSMART", 0)->isEnabled());
  w.cmdSMART_Click(0);
  EXPECT_EQ(trade->text(), "S.M.A.R.T. ENABLED for Trading!");
  EXPECT_EQ(portfolio->text(), "S.M.A.R.T. ENABLED for Portfolios!");
  EXPECT_TRUE(portfolio->font().bold());
  EXPECT_EQ(portfolio->palette().color(QPalette::WindowText), QColor(0, 64, 0));
  EXPECT_EQ(TextOf(w.Text("txtSMARTDivisor", 1)), "3");
  EXPECT_EQ(TextOf(w.Text("txtSMARTDivisor", 0)), "4");
  for (int i = 0; i <= 22; ++i) {
    bool offered = i == 1 || i == 3 || i == 4 || i == 6 || i == 7 || i == 9 || (i >= 11 && i <= 20);
    EXPECT_EQ(Shown(w.Widget("chkBuildOption", i)), offered) << i;
  }
  EXPECT_FALSE(Shown(w.Widget("txtLifeofOrderStep")));  // only a ticked box shows its fields
  EXPECT_FALSE(Shown(w.Widget("txtStep", 1)));

  w.Text("txtLifeofOrderStep")->setText("2");
  w.Check("chkBuildOption", 1)->SetValue(1);
  w.Check("chkBuildOption", 12)->SetValue(1);
  w.Check("chkBuildOption", 22)->SetValue(1);  // only a file can tick it: the switch leaves it alone
  EXPECT_TRUE(w.blnTradeSMART);
  EXPECT_TRUE(w.blnPortfolioSMART);

  w.cmdSMART_Click(0);
  EXPECT_EQ(trade->text(), "S.M.A.R.T. Not Enabled for Trading");
  EXPECT_FALSE(trade->font().bold());
  EXPECT_EQ(trade->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  EXPECT_EQ(w.Check("chkBuildOption", 1)->Value(), 0);
  EXPECT_EQ(w.Check("chkBuildOption", 12)->Value(), 0);
  EXPECT_EQ(w.Check("chkBuildOption", 22)->Value(), 1);
  EXPECT_FALSE(w.blnTradeSMART);
  EXPECT_FALSE(w.blnPortfolioSMART);  // box 22 is ticked, but the tabs say S.M.A.R.T. is off
  for (QWidget* field : TradeGrid(w, "txtLifeofOrder", "txtLifeofOrderStep", 12, 28)) EXPECT_FALSE(Shown(field));
  EXPECT_FALSE(Shown(w.Widget("txtStep", 1)));
  EXPECT_FALSE(Shown(w.Widget("lblSimOption", 55)));
  // The range's own box stays ticked with its fields; no text is lost.
  EXPECT_EQ(w.Check("chkResult", 0)->Value(), 1);
  EXPECT_TRUE(Shown(w.Widget("txtVolChange", 0)));
  EXPECT_EQ(TextOf(w.Text("txtLifeofOrderStep")), "2");

  w.cmdSMART_Click(0);
  EXPECT_TRUE(w.blnPortfolioSMART);
  w.Check("chkBuildOption", 1)->SetValue(1);
  EXPECT_TRUE(Shown(w.Widget("txtLifeofOrderStep")));
  EXPECT_EQ(TextOf(w.Text("txtLifeofOrderStep")), "2");
}

// Each box the switch shows stands level with the row it selects, whichever
// rule the option buttons choose and whichever boxes show their fields.
TEST_F(WindowTest, EverySelectionBoxStandsBesideTheRowItSelects) {
  ui::frmMain& w = LoadedWindow();
  w.show();
  w.cmdSMART_Click(0);
  auto caption = [&](const char* text) -> QWidget* {
    for (QLabel* label : w.tabResearch->widget(1)->findChildren<QLabel*>())
      if (label->text() == text) return label;
    return nullptr;
  };
  std::vector<std::pair<int, QWidget*>> rows = {
      {1, caption("Life of Order (days):")}, {3, caption("% above Target Price:")}, {4, w.Widget("optInitStop", 0)},
      {6, w.Widget("optPriceUpdate", 0)},    {7, caption("...with a % decline:")},  {9, w.Widget("chkMaxAge")}};
  for (const optimiser::RankingRange& range : optimiser::kRankingRanges)
    rows.emplace_back(range.box, w.Widget(range.filterBox, range.filterBoxIndex));
  auto centre = [](QWidget* widget) {
    return widget->mapTo(widget->window(), QPoint(0, 0)).y() + widget->height() / 2.0;
  };
  for (int rule = 0; rule < 8; ++rule) {
    w.Option("optInitStop", rule & 1)->SetValue(true);
    w.Option("optPriceUpdate", (rule >> 1) & 1)->SetValue(true);
    for (const auto& [box, row] : rows) w.Check("chkBuildOption", box)->SetValue(rule >> 2);
    for (const auto& [box, row] : rows) {
      w.tabResearch->setCurrentIndex(box <= 9 ? 1 : 2);
      QCoreApplication::processEvents();
      QWidget* selection = w.Widget("chkBuildOption", box);
      ASSERT_TRUE(row && selection->isVisible()) << box;
      EXPECT_NEAR(centre(selection), centre(row), 1) << "box " << box << ", rule " << rule;
    }
  }
}

// A row its rule leaves unused has no box to tick: the box is disabled, a
// tick made before the rule was chosen goes (and with it the row's "to ...
// by", which would show without its Min), and a later one is refused.
TEST_F(WindowTest, ARowItsRuleLeavesUnusedHasNoSelectionBoxToTick) {
  ui::frmMain& w = LoadedWindow();
  w.cmdSMART_Click(0);
  const std::pair<const char*, std::vector<int>> rules[] = {{"optInitStop", {4}}, {"optPriceUpdate", {6, 7}}};
  for (const auto& [rule, boxes] : rules) {
    for (int box : boxes) w.Check("chkBuildOption", box)->SetValue(1);
    w.Option(rule, 1)->SetValue(true);
    for (int box : boxes) {
      EXPECT_FALSE(w.Check("chkBuildOption", box)->isEnabled()) << box;
      w.Check("chkBuildOption", box)->SetValue(1);  // as a settings file would
      EXPECT_EQ(w.Check("chkBuildOption", box)->Value(), 0) << box;
      EXPECT_FALSE(Shown(w.Widget("lblSimOption", box == 4 ? 24 : box == 6 ? 25 : 30))) << box;  // "to"
    }
    EXPECT_FALSE(w.blnTradeSMART) << rule;
    w.Option(rule, 0)->SetValue(true);
    for (int box : boxes) EXPECT_TRUE(w.Check("chkBuildOption", box)->isEnabled()) << box;
  }
}

TEST_F(WindowTest, SelectionBoxesShowTheirRowAndSetTheFlags) {
  ui::frmMain& w = LoadedWindow();
  // A box restored checked while the switch is off still shows its row, but
  // Simulate sweeps only once the switch is on.
  w.Check("chkBuildOption", 9)->SetValue(1);
  for (QWidget* field : TradeGrid(w, "txtMaxDays", "txtMaxDaysStep", 31, 33)) EXPECT_TRUE(Shown(field));
  EXPECT_FALSE(w.blnTradeSMART);
  w.cmdSMART_Click(0);
  EXPECT_TRUE(w.blnTradeSMART);
  w.Check("chkBuildOption", 9)->SetValue(2);  // grey selects nothing
  for (QWidget* field : TradeGrid(w, "txtMaxDays", "txtMaxDaysStep", 31, 33)) EXPECT_FALSE(Shown(field));
  EXPECT_FALSE(w.blnTradeSMART);

  // A ranking box ticks the range's own box, whose click shows Min and Max.
  ASSERT_EQ(w.Check("chkBBDist")->Value(), 0);
  w.Check("chkBuildOption", 15)->SetValue(1);
  EXPECT_EQ(w.Check("chkBBDist")->Value(), 1);
  EXPECT_TRUE(Shown(w.Widget("txtBBDist", 0)));
  EXPECT_TRUE(Shown(w.Widget("txtStep", 4)));
  EXPECT_TRUE(Shown(w.Widget("lblSimOption", 57)));
  EXPECT_TRUE(w.blnPortfolioSMART);
  w.Check("chkBuildOption", 15)->SetValue(0);
  EXPECT_FALSE(Shown(w.Widget("txtStep", 4)));
  EXPECT_TRUE(Shown(w.Widget("txtBBDist", 1)));
  EXPECT_FALSE(w.blnPortfolioSMART);

  // List settings' boxes change no field but count for the flags.
  w.Check("chkBuildOption", 2)->SetValue(1);
  w.Check("chkBuildOption", 10)->SetValue(1);
  EXPECT_TRUE(w.blnTradeSMART);
  EXPECT_TRUE(w.blnPortfolioSMART);
}

TEST_F(WindowTest, ResetFillsTheStepsFromMinMaxAndTheIncrements) {
  ui::frmMain& w = LoadedWindow();
  const size_t prompts = scripted->Prompts().size();
  auto trade = [&](const char* field, const char* min, const char* max) {
    w.Text(field, 0)->setText(min);
    w.Text(field, 1)->setText(max);
  };
  trade("txtLifeofOrder", "1", "10");  // 3
  trade("txtLimitPercent", "1", "2");  // 0.33 rounds to 0, shown as 1
  trade("txtInitPrice", "1", "6");     // 2.5 rounds to the even 2
  trade("txtProfitable", "5", "5");    // no range: emptied
  trade("txtDecline", "", "9");        // left as it was
  trade("txtMaxDays", "7", "5");       // reversed: emptied
  for (const char* step : {"txtProfitableStep", "txtDeclineStep", "txtMaxDaysStep"}) w.Text(step)->setText("8");
  w.cmdReset_Click(1);
  EXPECT_EQ(TextOf(w.Text("txtLifeofOrderStep")), "3");
  EXPECT_EQ(TextOf(w.Text("txtLimitPercentStep")), "1");
  EXPECT_EQ(TextOf(w.Text("txtInitPriceStep")), "2");
  EXPECT_EQ(TextOf(w.Text("txtProfitableStep")), "");
  EXPECT_EQ(TextOf(w.Text("txtDeclineStep")), "8");
  EXPECT_EQ(TextOf(w.Text("txtMaxDaysStep")), "");

  w.Text("txtPercDiff", 0)->setText("0");
  w.Text("txtPercDiff", 1)->setText("1");
  w.Text("txtVolChange", 0)->setText("-");  // a lone sign stops the button at this row
  w.Text("txtVolChange", 1)->setText("1");
  w.Text("txtStep", 1)->setText("old");
  w.cmdReset_Click(0);
  EXPECT_EQ(TextOf(w.Text("txtStep", 0)), "0.25");
  EXPECT_EQ(TextOf(w.Text("txtStep", 1)), "old");
  w.Text("txtVolChange", 0)->clear();
  w.Text("txtSMARTDivisor", 0)->setText("3");
  w.cmdReset_Click(0);
  EXPECT_EQ(TextOf(w.Text("txtStep", 0)), "0.333333333333333");
  // A small step is written in plain decimal, which the step box's sign rule leaves alone.
  w.Text("txtPercDiff", 1)->setText("0.0001");
  w.Text("txtSMARTDivisor", 0)->setText("4");
  w.cmdReset_Click(0);
  EXPECT_EQ(TextOf(w.Text("txtStep", 0)), "0.000025");

  // A zero divisor stops at the first row with both bounds: nothing changes.
  w.Text("txtSMARTDivisor", 1)->setText("0");
  w.Text("txtLifeofOrder", 1)->setText("20");
  w.cmdReset_Click(1);
  EXPECT_EQ(TextOf(w.Text("txtLifeofOrderStep")), "3");
  w.Text("txtSMARTDivisor", 1)->setText("-2");  // every step negative: emptied
  w.cmdReset_Click(1);
  EXPECT_EQ(TextOf(w.Text("txtLifeofOrderStep")), "");
  EXPECT_EQ(scripted->Prompts().size(), prompts);  // the user is never troubled
}

TEST_F(WindowTest, TheRangeProbeFillsTheRangesFromTheSimulationTable) {
  ui::frmMain& w = LoadedWindow();
  Parms().strSimTable = "sim_Probe";
  w.objResearch->CreateSimulationTable("sim_Probe");
  // An empty table: every range is switched on, no field changes.
  w.Text("txtPercDiff", 0)->setText("kept");
  w.cmdGetRange_Click();
  for (const char* box : {"chkBBDist", "chkRSIChange", "chkDJMA", "chkDJRSI", "chkNSMA", "chkNSRSI"})
    EXPECT_EQ(w.Check(box)->Value(), 1) << box;
  for (int i : {0, 1, 3, 5}) EXPECT_EQ(w.Check("chkResult", i)->Value(), 1) << i;
  EXPECT_EQ(w.Check("chkResult", 4)->Value(), 0);
  EXPECT_EQ(TextOf(w.Text("txtPercDiff", 0)), "kept");

  simtest::Insert("sim_Probe", {"#3/1/2004#", "AAA", "ny", "LONG", 20, -1.5, 1000});
  simtest::Insert("sim_Probe", {"#3/2/2004#", "BBB", "ny", "LONG", 20, 3.14159, 5000});
  SharedConnection().Execute("UPDATE [sim_Probe] SET DJ_MA = NULL, VolumeChange = 12 WHERE Symbol = 'BBB'");
  w.cmdGetRange_Click();
  EXPECT_EQ(TextOf(w.Text("txtPercDiff", 0)), "-1.5");
  EXPECT_EQ(TextOf(w.Text("txtPercDiff", 1)), "3.14");
  EXPECT_EQ(TextOf(w.Text("txtVolChange", 1)), "12");
  EXPECT_EQ(w.Text("txtVolChange", 1)->cursorPosition(), 0);
  EXPECT_EQ(TextOf(w.Text("txtDJMA", 0)), "0");  // AAA's value; BBB has none

  // Without a current simulation the probe changes no field.
  Parms().strSimTable.clear();
  w.Text("txtPercDiff", 0)->setText("kept");
  w.cmdGetRange_Click();
  EXPECT_EQ(TextOf(w.Text("txtPercDiff", 0)), "kept");
}

// Clicked while the import reads the master list, or inside a run's
// statement (the removal of the old winners), the probe is refused as during
// a run, before it ticks a box, and the work ends whole.
TEST_F(RunWindowTest, TheRangeProbeDuringAnImportOrARunIsRefusedBeforeItTicksABox) {
  ui::frmMain& w = ReadyWindow("AAPL", false);
  ChooseSimulationFile("busy");
  w.cmdSimulate_Click();
  SharedConnection().Execute(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) INSERT INTO [sim_busy] "
      "(AcquireDate, Symbol, Market, Positioning) SELECT '2019-01-02', 'S' || i, 'ny', 'LONG' FROM n");
  const std::filesystem::path symbols = home.File("import.txt");
  testsupport::WriteFileBytes(symbols, "NEWA,ny\r\nNEWB,ns\r\n");
  for (const bool import : {true, false}) {
    SCOPED_TRACE(import ? "during an import" : "inside a run's statement");
    w.Check("chkBBDist")->SetValue(0);  // as no probe left it
    bool clicked = false;
    scripted->OnDoEvents([&](int) {
      if (!clicked && (import || InsideAStatement())) {
        clicked = true;
        w.Button("cmdGetRange")->click();
      }
    });
    if (import) scripted->AnswerOpenFile(symbols.string(), "Import Stock Symbols");
    scripted->AnswerMsgBox(user::kAnswerOK, "Auto-Populate Criteria cannot be used while a simulation or another");
    if (import) {
      scripted->AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.");
      w.Menu("mnuImportStocks")->trigger();
    } else {
      w.cmdSimulate_Click();  // the same simulation again
    }
    scripted->OnDoEvents(nullptr);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(w.Check("chkBBDist")->Value(), 0);
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [Stock_Master] WHERE [Symbol] LIKE 'NEW_'"), "2");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
}
