// The copy of the window's settings into the run parameters.
#include "platform/runtime/error.h"
#include "window_fixture.h"

namespace {

// The error LoadParms raises, or a failure when it raises none.
rt::Error CopyError(ui::frmMain& w) {
  try {
    w.LoadParms();
  } catch (const rt::Error& error) {
    return error;
  }
  ADD_FAILURE() << "LoadParms raised no error";
  return rt::Error(0, "");
}

}  // namespace

TEST_F(WindowTest, TheLoadedWindowCopiesTheDesignValues) {
  ui::frmMain& w = LoadedWindow();
  w.LoadParms();
  const RunParameters design = RunParameters::DesignDefaults();
  const RunParameters& p = Parms();
  EXPECT_EQ(p.intWinDays, design.intWinDays);
  EXPECT_EQ(p.dblRSIHigh, design.dblRSIHigh);
  EXPECT_EQ(p.intRSIDays, design.intRSIDays);
  EXPECT_EQ(p.intMADays, design.intMADays);
  EXPECT_EQ(p.intBollDays, design.intBollDays);
  EXPECT_EQ(p.intMACDLong, design.intMACDLong);
  EXPECT_EQ(p.dblMACDMin, design.dblMACDMin);
  EXPECT_EQ(p.dblSwingMACDPct, design.dblSwingMACDPct);
  EXPECT_EQ(p.intSwingDays, design.intSwingDays);
  EXPECT_EQ(p.lngVolDollarMin, design.lngVolDollarMin);
  EXPECT_EQ(p.sngVolPercMax, design.sngVolPercMax);
  EXPECT_EQ(p.dblMinShortPrice, design.dblMinShortPrice);
  EXPECT_EQ(p.strPurchasePrice, design.strPurchasePrice);
  EXPECT_EQ(p.strInitStop, design.strInitStop);
  EXPECT_EQ(p.strPriceUpdate, design.strPriceUpdate);
  EXPECT_EQ(p.intMaxDays, design.intMaxDays);
  EXPECT_EQ(p.blnUseSellLoss, design.blnUseSellLoss);
  EXPECT_EQ(p.dblStartInvestment, design.dblStartInvestment);
  EXPECT_EQ(p.dblCommission, design.dblCommission);
  EXPECT_EQ(p.intMaxStocks, design.intMaxStocks);
  EXPECT_EQ(p.intDatabaseType, design.intDatabaseType);
  EXPECT_TRUE(p.blnUseRSI);  // the load ticks the RSI criterion
  EXPECT_TRUE(p.blnMaxAge);
  EXPECT_EQ(p.strTypeOfPurchase, "");  // nothing chosen until a settings file says so
  EXPECT_EQ(p.intBuyCriteria, 0);
  EXPECT_EQ(p.intBuyPerDay, 1);
  EXPECT_EQ(p.lngADXDays, 10);
  EXPECT_EQ(p.datEarliestDate, rt::DateSerial(1998, 1, 1) - 214);
  EXPECT_EQ(p.strSimEnd, rt::FormatShortDate(w.Picker("dteSimDate", 1)->Value()));
}

TEST_F(WindowTest, ConversionsOfTheCopy) {
  ui::frmMain& w = LoadedWindow();
  ui::frmOptions& options = w.Options();
  options.dteData()->SetValue(rt::DateSerial(2004, 1, 1));
  w.Check("chkUseSellLoss")->SetValue(2);
  w.Check("chkUseADX")->SetValue(2);
  w.Option("optRSI", 1)->SetValue(true);
  w.Option("optInitStop", 0)->SetValue(false);
  w.Option("optPriceUpdate", 0)->SetValue(false);
  options.cmbPick(0)->setEditText("4 stocks a day");
  options.txtNumStocks()->setText("2.5");
  w.Text("txtPercDiff", 0)->setText("-1.5");
  w.Text("txtPercDiff", 1)->setText("abc");
  w.Text("txtVolChange", 0)->setText("12");
  w.Check("chkResult", 1)->SetValue(1);
  w.Text("txtDecline", 0)->setText("4");
  Parms().strInitStop = "kept";
  Parms().strPriceUpdate = "kept too";
  w.LoadParms();

  RunParameters& p = Parms();
  EXPECT_EQ(p.datEarliestDate, rt::DateSerial(2003, 6, 1));
  EXPECT_EQ(p.blnUseSellLoss, 2);
  EXPECT_TRUE(p.blnUseADX);  // grey counts as on
  EXPECT_EQ(p.intRSIMode, 2);
  EXPECT_EQ(p.strInitStop, "kept");
  EXPECT_EQ(p.strPriceUpdate, "kept too");
  EXPECT_EQ(p.intBuyPerDay, 4);
  EXPECT_EQ(p.intMaxStocks, 2);
  EXPECT_TRUE(p.blnPercentMA);
  EXPECT_EQ(p.strPercentMAMin, "-1.5");
  EXPECT_EQ(p.strPercentMAMax, "abc");
  EXPECT_EQ(p.strVolChangeMin, "12");
  EXPECT_EQ(p.intDecline, 4);

  // An empty decline box keeps the last value; 3.5 slots round to 4.
  w.Text("txtDecline", 0)->clear();
  w.Option("optInitStop", 1)->SetValue(true);
  w.LoadParms();
  EXPECT_EQ(p.intDecline, 4);
  EXPECT_EQ(p.strInitStop, "Previous Day's Low/High");
  options.txtNumStocks()->setText("3.5");
  w.LoadParms();
  EXPECT_EQ(p.intMaxStocks, 4);
}

TEST_F(WindowTest, ThePortfolioWindowIsKeptInsideThePeriod) {
  ui::frmMain& w = LoadedWindow();
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 3, 1));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2004, 3, 15));
  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2004, 2, 20));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2004, 3, 31));
  w.LoadParms();
  EXPECT_EQ(Parms().datSelectStart, rt::DateSerial(2004, 3, 1));
  EXPECT_EQ(Parms().datSelectEnd, rt::DateSerial(2004, 3, 15));
  EXPECT_EQ(w.Picker("dteSelectStart")->Value(), rt::DateSerial(2004, 2, 20));  // pickers untouched

  w.Picker("dteSelectStart")->SetValue(rt::DateSerial(2004, 4, 10));
  w.Picker("dteSelectEnd")->SetValue(rt::DateSerial(2004, 4, 20));
  w.LoadParms();
  EXPECT_EQ(Parms().datSelectStart, rt::DateSerial(2004, 3, 1));
  EXPECT_EQ(Parms().datSelectEnd, rt::DateSerial(2004, 3, 15));
}

TEST_F(WindowTest, AFieldThatDoesNotConvertIsNamedAndStopsTheCopyThere) {
  ui::frmMain& w = LoadedWindow();
  w.Text("txtSimOption", 1)->setText("85");  // copied before the failing box
  w.Text("txtSimOption", 5)->setText("33");  // copied after it
  w.Text("txtSimOption", 3)->setText("abc");
  Parms().intBollDays = 99;
  rt::Error error = CopyError(w);
  EXPECT_EQ(error.Number(), rt::kErrTypeMismatch);
  EXPECT_NE(error.Description().find("\"Days RSI Based On\" (txtSimOption(3))"), std::string::npos)
      << error.Description();
  EXPECT_EQ(Parms().dblRSIHigh, 85);
  EXPECT_EQ(Parms().intBollDays, 99);

  w.Text("txtSimOption", 3)->setText("14");
  w.Text("txtMaxDays", 0)->setText("40000");
  error = CopyError(w);
  EXPECT_EQ(error.Number(), rt::kErrOverflow);
  EXPECT_NE(error.Description().find("txtMaxDays(0)"), std::string::npos);

  w.Text("txtMaxDays", 0)->setText("11");
  w.Text("txtInitPrice", 0)->clear();  // Life of Order would turn an empty text into "0"
  EXPECT_NE(CopyError(w).Description().find("Initial Stop Based on % Loss:"), std::string::npos);

  w.Text("txtInitPrice", 0)->setText("7");
  w.Options().txtNumStocks()->setText("99999 slots");
  EXPECT_NE(CopyError(w).Description().find("txtNumStocks"), std::string::npos);
  // The boxes read by their leading number refuse a text that has none.
  w.Options().txtNumStocks()->clear();
  EXPECT_NE(
      CopyError(w).Description().find("\"Max Stocks in Portfolio:\" (txtNumStocks) holds \"\", which is not a number."),
      std::string::npos);
  w.Options().txtNumStocks()->setText("3");
  w.Options().cmbPick(0)->setEditText("one a day");
  EXPECT_NE(CopyError(w).Description().find("\"Stocks Bought per Day:\" (cmbPick(0))"), std::string::npos);
}

TEST_F(WindowTest, TheBalanceBoxIsCheckedJustBeforeTheDatabaseKind) {
  ui::frmMain& w = LoadedWindow();
  Parms().intDBType = 2;
  Parms().intDatabaseType = 7;
  w.Text("txtPortfolioBalance")->setText("none");
  EXPECT_NE(CopyError(w).Description().find("Current Balance:"), std::string::npos);
  EXPECT_EQ(Parms().intDatabaseType, 7);
  w.Text("txtPortfolioBalance")->setText("0");
  w.LoadParms();
  EXPECT_EQ(Parms().intDatabaseType, 2);
}

TEST_F(WindowTest, AStartUpCopyThatFailsReportsItselfAndKeepsTheDatabase) {
  ui::frmMain& w = LoadedWindow();
  Parms().strDatabasePath = "kept.db";
  Parms().intDatabaseType = 1;
  w.Options().txtSimOption(31)->setText("x");
  w.Options().txtSimOption(32)->setText("new.db");
  scripted->AnswerMsgBox(user::kAnswerOK, "Type mismatch");
  w.LoadStartUpParms();
  EXPECT_EQ(scripted->Prompts().back().title, "LoadStartUpParms");
  EXPECT_EQ(Parms().strDatabasePath, "kept.db");
  EXPECT_EQ(Parms().intDatabaseType, 1);
}

TEST_F(WindowTest, ABadStartupValueStillLeavesAnEngine) {
  NewWindow();
  testsupport::WriteFileBytes(ui::StartupFilePath(), "Simulation File\r\nsim_old\r\ntxtSimOption(3)=abc\r\n");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, "Days RSI Based On");
  window->Form_Load();
  EXPECT_NE(window->objResearch, nullptr);
  EXPECT_TRUE(Parms().strSimTable.empty());
}
