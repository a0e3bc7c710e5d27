#include "run_fixture.h"

#include "platform/runtime/app_folder.h"
#include "ui/resources.h"

void RunWindowTest::SetUp() {
  WindowTest::SetUp();
  ui::PrepareAppFolder();  // seeds the default symbol file
  service = std::make_unique<testsupport::QuoteServiceProcess>();
}

ui::frmMain& RunWindowTest::ReadyWindow(const std::string& symbols, bool autoCalculate) {
  ui::frmMain& w = LoadedWindow();
  w.objResearch->ImportNewStocks(rt::AppPath("SymbolList").string());
  Parms().blnUseInternet = true;
  w.Check("chkUpdateData")->SetValue(1);
  w.Options().dteData()->SetValue(rt::DateSerial(2018, 6, 1));
  w.Check("chkSimOption", 1)->SetValue(0);
  w.Option("optStockSelection", 2)->SetValue(true);
  w.Text("txtSelection")->setText(QString::fromStdString(symbols));
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2019, 1, 2));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2019, 3, 29));
  w.Combo("cboTypeOfPurchase")->setCurrentIndex(0);
  w.Check("chkCalculateResults")->SetValue(autoCalculate ? 1 : 0);
  return w;
}

std::filesystem::path RunWindowTest::ChooseSimulationFile(const std::string& title) {
  std::filesystem::path path = rt::AppPath("\\Simulations\\" + title + ".sim");
  scripted->AnswerSaveFile(path.string(), "Save Simulation");
  return path;
}

std::string RunWindowTest::Scalar(const std::string& sql) { return window->objResearch->QueryDB(sql); }
