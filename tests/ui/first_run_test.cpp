// The README's "A first run": it must buy positions and end with a portfolio
// worth something.
#include "first_run_fixture.h"

TEST_F(FirstRunTest, TheReadmesFirstRunBuysAndEndsWithAPortfolioValue) {
  ui::frmMain& w = ReadmesFirstRun();
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);  // positions were bought
  const std::string bought = w.Label("lblResult", 22)->text().toStdString();
  EXPECT_NE(bought.substr(0, bought.find("--")), "0") << "winners--losers of the Trade stage: " << bought;
  EXPECT_GT(std::stod(w.Label("lblResult", 15)->text().toStdString()), 0);  // End Investment
}
