// The settings files: simulation files, STARTUP and PROPERTIES.
#include "platform/runtime/app_folder.h"
#include "window_fixture.h"

using ui::ControlStateText;

namespace {

const std::string kHeader = "Simulation File\r\n";

std::filesystem::path SimulationPath(const std::string& title) {
  return rt::AppPath("\\Simulations\\" + title + ".sim");
}

// Unusual but valid values in every kind of control.
void SetUnusualValues(ui::frmMain& w) {
  w.Text("txtSimOption", 4)->setText("35");
  w.Text("txtLike")->setText("A=B, C");
  w.Text("txtSelection")->setText("IBM ; MSFT");
  w.Text("txtPercDiff", 0)->setText("-1.5");
  w.Check("chkUseMA")->SetValue(2);
  w.Check("chkResult", 0)->SetValue(2);
  w.Check("chkSimOption", 2)->SetValue(1);
  w.Combo("cboTypeOfPurchase")->setCurrentIndex(1);
  w.Combo("cboSelectMarket")->setCurrentIndex(-1);
  w.Combo("cboPurchasePrice")->setEditText("Close=5, less");
  w.Option("optRSI", 1)->SetValue(true);
  w.Option("optStockSelection", 2)->SetValue(true);
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 1, 5));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2004, 6, 30));
  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2004, 2, 29));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2004, 3, 31));
  w.Check("chkSelectByDate")->SetValue(1);
}

}  // namespace

TEST_F(WindowTest, SimulationFileRestoresEveryControlAsSaved) {
  ui::frmMain& first = LoadedWindow();
  SetUnusualValues(first);
  Parms().strSimTable = "sim_round";
  first.SaveSimulation("sim_round", false);
  std::string saved = ReadText(SimulationPath("round"));
  EXPECT_EQ(saved, ControlStateText(first.Controls(), std::string("sim_round"), false));
  EXPECT_NE(saved.find("\r\nchkUseMA(X)=2\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\ndteSelectStart(X)=2/29/2004\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\ncboSelectMarket(X)=\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\noptRSI(1)=True\r\n"), std::string::npos);

  ui::frmMain& second = LoadedWindow();
  Parms().strSimTable.clear();
  second.LoadSimulation(SimulationPath("round").string());
  EXPECT_EQ(Parms().strSimTable, "sim_round");
  EXPECT_EQ(ControlStateText(second.Controls(), std::string("sim_round"), false), saved);
  EXPECT_EQ(second.Combo("cboSelectMarket")->currentIndex(), -1);
  EXPECT_EQ(second.Check("chkUseMA")->Value(), 2);
  // Saving again writes the same bytes.
  second.SaveSimulation("sim_round", false);
  EXPECT_EQ(ReadText(SimulationPath("round")), saved);
}

TEST_F(WindowTest, ControlLinesMatchByNameAndIndexAndTheFirstLineWins) {
  ui::frmMain& w = LoadedWindow();
  w.Combo("cboSelectMarket")->setCurrentIndex(1);
  testsupport::WriteFileBytes(SimulationPath("lines"), kHeader + "sim_lines\r\n"
                                                                 "txtSimOption(20)=7\r\n"
                                                                 "chkUseMA(X)=1\r\n"
                                                                 "chkUseADX(0)=1\r\n"
                                                                 "txtSimOption(4)=41\r\n"
                                                                 "txtSimOption(4)=42\r\n"
                                                                 "txtLike(X)=a=b=c, d\r\n"
                                                                 "cboSelectMarket(X)=\r\n"
                                                                 "chkOneDay(X)=yes\r\n"
                                                                 "dteSimDate(0)=2/30/2004\r\n"
                                                                 "unknownControl(X)=1\r\n"
                                                                 "no shape at all\r\n");
  rt::Date periodStart = w.Picker("dteSimDate", 0)->Value();
  w.LoadSimulation(SimulationPath("lines").string());

  EXPECT_EQ(Parms().strSimTable, "sim_lines");
  EXPECT_EQ(w.Text("txtSimOption", 20)->text(), "7");
  EXPECT_EQ(w.Text("txtSimOption", 2)->text(), "20");
  EXPECT_EQ(w.Check("chkUseMA")->Value(), 1);
  EXPECT_EQ(w.Check("chkUseADX")->Value(), 0);  // "(0)" is not the single control's "(X)"
  EXPECT_EQ(w.Text("txtSimOption", 4)->text(), "41");
  EXPECT_EQ(w.Text("txtLike")->text(), "a=b=c, d");
  EXPECT_EQ(w.Combo("cboSelectMarket")->currentIndex(), -1);
  EXPECT_EQ(w.Check("chkOneDay")->Value(), 0);  // refused value: unchanged
  EXPECT_EQ(w.Picker("dteSimDate", 0)->Value(), periodStart);
}

TEST_F(WindowTest, AFileWithoutTheHeaderChangesNothing) {
  ui::frmMain& w = LoadedWindow();
  Parms().strSimTable = "sim_current";
  testsupport::WriteFileBytes(SimulationPath("props"), "txtSimOption(9)=13\r\ntxtSimOption(4)=99\r\n");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  w.LoadSimulation(SimulationPath("props").string());
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  w.LoadSimulation(SimulationPath("missing").string());

  EXPECT_EQ(Parms().strSimTable, "sim_current");
  EXPECT_EQ(w.Text("txtSimOption", 4)->text(), "30");
}

TEST_F(WindowTest, OnlyTheStartupFileKeepsTheSweepRestartPoint) {
  ui::frmMain& w = LoadedWindow();
  w.Text("txtStartBuySellAt")->setText("3,1,4");
  Parms().strSimTable = "sim_test";
  w.SaveSimulation("STARTUP", false);
  w.SaveSimulation("sim_test", false);  // no file chosen yet: Simulations/test.sim
  EXPECT_NE(ReadText(ui::StartupFilePath()).find("txtStartBuySellAt(X)=3,1,4\r\n"), std::string::npos);
  std::string simulation = ReadText(SimulationPath("test"));
  EXPECT_EQ(simulation.rfind(kHeader + "sim_test\r\n", 0), 0u);
  EXPECT_EQ(simulation.find("txtStartBuySellAt"), std::string::npos);

  testsupport::WriteFileBytes(SimulationPath("restart"), kHeader + "sim_r\r\ntxtStartBuySellAt(X)=9\r\n");
  w.LoadSimulation(SimulationPath("restart").string());
  EXPECT_EQ(w.Text("txtStartBuySellAt")->text(), "3,1,4");
  w.Text("txtStartBuySellAt")->clear();
  w.LoadSimulation(ui::StartupFilePath().string());
  EXPECT_EQ(w.Text("txtStartBuySellAt")->text(), "3,1,4");
}

TEST_F(WindowTest, AChosenSimulationFileIsWhereTheSimulationIsSaved) {
  ui::frmMain& w = LoadedWindow();
  w.strSimFilePath = (home.Path() / "elsewhere.sim").string();
  Parms().strSimTable = "sim_elsewhere";
  w.SaveSimulation("sim_elsewhere", false);
  EXPECT_TRUE(std::filesystem::exists(home.Path() / "elsewhere.sim"));
  w.SaveSimulation("sim_elsewhere", true);  // save-as goes to the Simulations folder
  EXPECT_TRUE(std::filesystem::exists(SimulationPath("elsewhere")));
}

TEST_F(WindowTest, AFailedSaveNamesThePathAndKeepsTheOldFile) {
  ui::frmMain& w = LoadedWindow();
  std::filesystem::remove_all(rt::AppPath("Simulations"));
  Parms().strSimTable = "sim_lost";
  scripted->AnswerMsgBox(user::kAnswerOK, SimulationPath("lost").string());
  w.SaveSimulation("sim_lost", false);
  EXPECT_FALSE(std::filesystem::exists(SimulationPath("lost")));

  // A file in the way of the temporary file's rename keeps its contents.
  std::filesystem::create_directories(home.Path() / "blocked.sim");
  w.strSimFilePath = (home.Path() / "blocked.sim").string();
  scripted->AnswerMsgBox(user::kAnswerOK, "blocked.sim");
  w.SaveSimulation("sim_lost", false);
  EXPECT_TRUE(std::filesystem::is_directory(home.Path() / "blocked.sim"));
}

TEST_F(WindowTest, PropertiesKeepTheOptionsWindowAndItsDate) {
  ui::frmMain& w = LoadedWindow();
  ui::frmOptions& options = w.Options();
  options.dteData()->SetValue(rt::DateSerial(2004, 1, 1));
  options.txtSimOption(10)->setText("20000");
  options.cmbPick(0)->setCurrentIndex(4);
  options.cmdApply_Click();
  std::string saved = ReadText(ui::PropertiesFilePath());
  EXPECT_EQ(saved.rfind("txtSimOption(9)=13\r\n", 0), 0u);  // no header
  EXPECT_NE(saved.find("dteData(X)=1/1/2004\r\n"), std::string::npos);

  options.dteData()->SetValue(rt::DateSerial(1999, 9, 9));
  options.txtSimOption(10)->setText("1");
  options.cmdCancel_Click();
  EXPECT_EQ(options.txtSimOption(10)->text(), "1");  // Cancel keeps what was typed
  w.LoadProperties(ui::PropertiesFilePath().string());
  EXPECT_EQ(options.dteData()->Value(), rt::DateSerial(2004, 1, 1));
  EXPECT_EQ(options.txtSimOption(10)->text(), "20000");
  EXPECT_EQ(options.cmbPick(0)->currentText(), "5");

  std::filesystem::remove(ui::PropertiesFilePath());
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  w.LoadProperties(ui::PropertiesFilePath().string());
  EXPECT_EQ(options.txtSimOption(10)->text(), "20000");
}

TEST_F(WindowTest, SaveStartupWritesBothFilesAndTakesTheDatabaseSettings) {
  ui::frmMain& w = LoadedWindow();
  w.Options().txtSimOption(32)->setText("other.db");
  w.Text("txtSimOption", 1)->setText("77");
  Parms().intDatabaseType = 0;
  w.mnuSaveStartup_Click();
  EXPECT_EQ(Parms().intDatabaseType, 1);
  EXPECT_EQ(Parms().strDatabasePath, "other.db");

  // The next load restores both; the period is always recomputed.
  ui::frmMain& next = LoadedWindow();
  EXPECT_EQ(next.Text("txtSimOption", 1)->text(), "77");
  EXPECT_EQ(next.Options().txtSimOption(32)->text(), "other.db");
  EXPECT_TRUE(Parms().strSimTable.empty());
}
