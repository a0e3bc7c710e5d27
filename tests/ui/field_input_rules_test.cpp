// The per-character rules of the parameter fields.
#include "ui/field_input_rules.h"

#include <QApplication>

#include "ui/resources.h"
#include "widget_input.h"
#include "window_fixture.h"

using namespace widget_input;

TEST(NumberTest, PassesDigitsAndBackspaceOnly) {
  for (int16_t code = '0'; code <= '9'; ++code) EXPECT_EQ(ui::NumberTest(code), code);
  EXPECT_EQ(ui::NumberTest(8), 8);
  for (int16_t code : {0, 1, 9, 13, 22, 27, 32, 45, 46, 47, 58, 65, 97, 127, 255, -1})
    EXPECT_EQ(ui::NumberTest(code), 0) << code;
}

TEST(ChangeRules, TheSelectionDecidesOnlyForTheRankingRanges) {
  // "5-3" with one character selected: a ranking range leaves it, a step moves the sign.
  ui::FieldText field{"5-3", 0, 1};
  EXPECT_FALSE(ui::ApplyChangeRule(ui::ChangeRule::SignRepairUnselected, field));
  auto repair = ui::ApplyChangeRule(ui::ChangeRule::SignRepair, field);
  ASSERT_TRUE(repair);
  EXPECT_EQ(repair->text, "-53");
  EXPECT_EQ(repair->cursor, 2);
  EXPECT_FALSE(ui::ApplyChangeRule(ui::ChangeRule::SignRepair, {"-53", 3, 0}));
  EXPECT_EQ(ui::ApplyChangeRule(ui::ChangeRule::SignRepair, {"1-2-", 4, 0})->text, "-12");
  EXPECT_EQ(ui::ApplyChangeRule(ui::ChangeRule::NumericRepair, {"", 0, 0})->text, "0");
  EXPECT_FALSE(ui::ApplyChangeRule(ui::ChangeRule::NumericRepair, {"12", 2, 0}));
}

TEST_F(WindowTest, RankingRangesTakeOneSignInFrontAndOnePoint) {
  ui::frmMain& w = NewWindow();
  QLineEdit* box = w.Text("txtPercDiff", 0);
  box->setText("12");
  box->setCursorPosition(1);
  Type(box, "-");
  EXPECT_EQ(box->text(), "-12");
  Type(box, "-");
  EXPECT_EQ(box->text(), "-12");
  box->selectAll();
  Type(box, "-");
  EXPECT_EQ(box->text(), "-");

  box->clear();
  Type(box, "-3.5.x");
  EXPECT_EQ(box->text(), "-3.5");
  box->setSelection(2, 1);  // the point itself
  Type(box, ".");
  EXPECT_EQ(box->text(), "-3.5");

  // A pasted sign moves to the front; the caret stands after the second character.
  w.Text("txtNSRSI", 1)->setText("5-3");
  EXPECT_EQ(Shown(w.Text("txtNSRSI", 1)), "-5|3");
}

TEST_F(WindowTest, StepsPrefixTheirSignWhateverIsSelected) {
  ui::frmMain& w = NewWindow();
  QLineEdit* step = w.Text("txtStep", 9);
  step->setText("5");
  step->selectAll();
  Type(step, "-");
  EXPECT_EQ(step->text(), "-5");
  step->selectAll();
  Type(step, "-");
  EXPECT_EQ(step->text(), "-5");
  step->end(false);
  Type(step, ".2.");
  EXPECT_EQ(step->text(), "-5.2");
  step->setText("3-4");
  EXPECT_EQ(step->text(), "-34");
}

TEST_F(WindowTest, DigitBoxesTakeDigitsAndBackspaceOnly) {
  ui::frmMain& w = NewWindow();
  for (QLineEdit* box : {w.Text("txtMaxDays", 0), w.Text("txtDeclineStep"), w.Text("txtSimOption", 22)}) {
    box->setEnabled(true);
    box->setText("1");
    box->end(false);
    Type(box, "a-.2 ");
    Press(box, Qt::Key_V, "\x16", Qt::ControlModifier);  // paste is a control character here
    Press(box, Qt::Key_Return, "\r");
    EXPECT_EQ(box->text(), "12") << box->objectName().toStdString();
    Backspace(box);
    EXPECT_EQ(box->text(), "1");
    Press(box, Qt::Key_Left, "");  // keys that type nothing still move the caret
    EXPECT_EQ(box->cursorPosition(), 0);
  }
  // No range check: a five-digit value is kept for the run to judge.
  w.Text("txtMaxDays", 0)->clear();
  Type(w.Text("txtMaxDays", 0), "99999");
  EXPECT_EQ(w.Text("txtMaxDays", 0)->text(), "99999");
}

TEST_F(WindowTest, LifeOfOrderAndLimitNeverStayEmpty) {
  ui::frmMain& w = NewWindow();
  for (QLineEdit* box : {w.Text("txtLifeofOrder", 0), w.Text("txtLifeofOrder", 1), w.Text("txtLimitPercent", 0),
                         w.Text("txtLimitPercent", 1)}) {
    box->setText("7");
    box->end(false);
    Backspace(box);
    EXPECT_EQ(box->text(), "0");
    box->setText("1x");
    EXPECT_EQ(box->text(), "0");
  }
  w.Text("txtInitPrice", 0)->clear();  // no repair here
  EXPECT_EQ(w.Text("txtInitPrice", 0)->text(), "");
}

TEST_F(WindowTest, TheSymbolListRefusesDigitsAndPunctuation) {
  ui::frmMain& w = NewWindow();
  QLineEdit* box = w.Text("txtSelection");
  box->setEnabled(true);
  Type(box, "IBM ; m.s,f/t:1-2\\3]['x");
  EXPECT_EQ(box->text(), "IBM ; msftx");
}

TEST_F(WindowTest, ValuesAsDesignedCanBeTypedBackIn) {
  // The MACD threshold is designed as "-3", the volume share as ".5" and the
  // breakout percentages as ".1": each box takes the sign or point it needs.
  ui::frmMain& w = NewWindow();
  const std::pair<QLineEdit*, const char*> designs[] = {{w.Text("txtSimOption", 19), "-3"},
                                                        {w.Text("txtVolPercMax"), ".5"},
                                                        {w.Text("txtSimOption", 21), ".1"},
                                                        {w.Text("txtSimOption", 23), ".1"}};
  for (auto [box, design] : designs) {
    box->setEnabled(true);
    EXPECT_EQ(box->text(), design);
    box->clear();
    Type(box, design);
    Type(box, std::string(1, design[0]));  // a second sign or point is refused
    EXPECT_EQ(box->text(), design) << box->objectName().toStdString();
  }
  Type(w.Text("txtVolPercMax"), "-");
  EXPECT_EQ(w.Text("txtVolPercMax")->text(), ".5");  // a share is never negative
}

TEST_F(WindowTest, FocusShowsHelpAndSelectsAsEachBoxAsks) {
  ui::frmMain& w = NewWindow();
  auto help = [&] { return w.txtHelp->toPlainText().toStdString(); };
  QLineEdit* maxDays = w.Text("txtMaxDays", 0);
  Focus(maxDays);
  EXPECT_EQ(help(), ui::LoadResString(142));
  EXPECT_EQ(Shown(maxDays), "[11]");

  w.txtHelp->setPlainText("before");
  for (QLineEdit* box : {w.Text("txtDeclineStep"), w.Text("txtSMARTDivisor", 0), w.Text("txtSimOption", 24)}) {
    box->setText("10");
    Focus(box);
    EXPECT_EQ(Shown(box), "[10]");
  }
  EXPECT_EQ(help(), "before");

  QLineEdit* like = w.Text("txtLike");
  like->setText("ab");
  like->setCursorPosition(1);
  Focus(like, Qt::OtherFocusReason);  // a Tab would have the toolkit select the text
  EXPECT_EQ(help(), ui::LoadResString(103));
  EXPECT_EQ(Shown(like), "a|b");
}

TEST_F(WindowTest, ANewSaleLossClearsTheProgressLine) {
  ui::frmMain& w = NewWindow();
  w.Label("lblCurrStock", 1)->setText("Processing Complete");
  w.Text("txtSimOption", 19)->setText("-4");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  w.Text("txtSimOption", 20)->setText("2");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "");
}

TEST_F(WindowTest, TabStillMovesOnFromAFilteredBox) {
  ui::frmMain& w = NewWindow();
  w.show();
  QApplication::setActiveWindow(&w);
  w.tabResearch->setCurrentIndex(1);
  QLineEdit* box = w.Text("txtMaxDays", 0);
  box->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(box->hasFocus());
  Press(box, Qt::Key_Tab, "\t");
  EXPECT_FALSE(box->hasFocus());
  EXPECT_EQ(box->text(), "11");
}
