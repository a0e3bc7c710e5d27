#include "first_run_fixture.h"

#include <stdexcept>

#include "platform/runtime/app_folder.h"
#include "ui/resources.h"
#include "ui/startup.h"

void FirstRunTest::SetUp() {
  WindowTest::SetUp();
  service = std::make_unique<testsupport::QuoteServiceProcess>();
  ASSERT_TRUE(ui::PrepareAppFolder());  // what the program does before its start-up
}

ui::frmMain& FirstRunTest::ReadmesFirstRun() {
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to use an active Internet Connection?");
  window = ui::StartUp({-1});
  if (!window) throw std::runtime_error("the program did not start");
  ui::frmMain& w = *window;
  EXPECT_EQ(w.Label("lblStatus", 0)->text(), "Connected to Internet");

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
  return w;
}

void FirstRunTest::SetSecondRun(ui::frmMain& w, const std::string& symbols, const std::string& title) {
  w.Option("optStockSelection", 2)->SetValue(true);
  w.Text("txtSelection")->setText(QString::fromStdString(symbols));
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2019, 1, 2));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2020, 11, 16));
  w.Check("chkCalculateResults")->SetValue(1);
  if (!title.empty())
    scripted->AnswerSaveFile(rt::AppPath("\\Simulations\\" + title + ".sim").string(), "Save Simulation");
}
