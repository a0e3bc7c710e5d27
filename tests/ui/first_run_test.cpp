// The README's "A first run", step by step from a fresh application folder:
// it must buy positions and end with a portfolio worth something.
#include "platform/runtime/app_folder.h"
#include "support/quote_service_process.h"
#include "ui/resources.h"
#include "ui/startup.h"
#include "window_fixture.h"

TEST_F(WindowTest, TheReadmesFirstRunBuysAndEndsWithAPortfolioValue) {
  testsupport::QuoteServiceProcess service;
  ASSERT_TRUE(ui::PrepareAppFolder());  // what the program does before its start-up

  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to use an active Internet Connection?");
  window = ui::StartUp({-1});
  ASSERT_NE(window, nullptr);
  ui::frmMain& w = *window;
  ASSERT_EQ(w.Label("lblStatus", 0)->text(), "Connected to Internet");

  // On the Select tab: the period, Auto-Calculate, ">" and a simulation file.
  w.tabResearch->setCurrentIndex(0);
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2019, 1, 2));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2019, 6, 28));
  w.Check("chkCalculateResults")->SetValue(1);
  const std::string file = rt::AppPath("\\Simulations\\first.sim").string();
  scripted->AnswerSaveFile(file, "Save Simulation");
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to import symbols now?");
  scripted->AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.");
  w.cmdSimulate_Click();

  // After the import, ">" again; it asks for the simulation file once more.
  scripted->AnswerSaveFile(file, "Save Simulation");
  scripted->AnswerMsgBox(user::kAnswerYes, "already exists");
  w.cmdSimulate_Click();

  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);  // positions were bought
  const std::string bought = w.Label("lblResult", 22)->text().toStdString();
  EXPECT_NE(bought.substr(0, bought.find("--")), "0") << "winners--losers of the Trade stage: " << bought;
  EXPECT_GT(std::stod(w.Label("lblResult", 15)->text().toStdString()), 0);  // End Investment
}
