// The help pane: the texts by id and the controls that show them.
#include "ui/resources.h"
#include "widget_input.h"
#include "window_fixture.h"

using namespace widget_input;

namespace {

struct Shows {
  const char* name;
  int index;
  int id;
};

// Every control that explains itself when it takes the focus.
const Shows kFocusHelp[] = {{"optStockSelection", 0, 102},
                            {"optStockSelection", 1, 103},
                            {"optStockSelection", 2, 104},
                            {"txtLike", -1, 103},
                            {"txtSelection", -1, 105},
                            {"chkUseMA", -1, 106},
                            {"chkSimOption", 0, 107},
                            {"chkSimOption", 1, 108},
                            {"chkSimOption", 2, 109},
                            {"chkUseADX", -1, 110},
                            {"chkUseMinVol", -1, 111},
                            {"optWinOption", 6, 112},
                            {"optWinOption", 0, 113},
                            {"optWinOption", 2, 115},
                            {"optWinOption", 4, 116},
                            {"optWinOption", 5, 117},
                            {"txtSimOption", 8, 118},
                            {"txtSimOption", 4, 119},
                            {"txtSimOption", 5, 120},
                            {"txtSimOption", 6, 121},
                            {"txtSimOption", 7, 122},
                            {"txtVolDollarMin", -1, 123},
                            {"txtVolPercMax", -1, 124},
                            {"optRSI", 0, 125},
                            {"optRSI", 1, 126},
                            {"txtSimOption", 1, 127},
                            {"txtSimOption", 2, 128},
                            {"txtSimOption", 3, 129},
                            {"chkUpdateData", -1, 130},
                            {"chkCalculateResults", -1, 131},
                            {"dteSimDate", 0, 132},
                            {"dteSimDate", 1, 133},
                            {"chkOneDay", -1, 134},
                            {"cboTypeOfPurchase", -1, 135},
                            {"txtLifeofOrder", 0, 136},
                            {"txtLifeofOrder", 1, 136},
                            {"cboPurchasePrice", -1, 137},
                            {"txtLimitPercent", 0, 138},
                            {"txtLimitPercent", 1, 138},
                            {"txtProfitable", 1, 139},
                            {"txtDecline", 0, 140},
                            {"txtInitPrice", 1, 141},
                            {"txtMaxDays", 1, 142},
                            {"chkMaxAge", -1, 142},
                            {"txtStartBuySellAt", -1, 143},
                            {"txtSimOption", 20, 144},
                            {"cboBuyCriteria", -1, 145},
                            {"txtPercDiff", 0, 146},
                            {"chkResult", 1, 146},
                            {"txtVolChange", 1, 147},
                            {"chkResult", 0, 147},
                            {"txtPriceChange", 0, 148},
                            {"chkResult", 3, 148},
                            {"txtMACDMin", 1, 149},
                            {"chkResult", 5, 149},
                            {"txtBBDist", 0, 150},
                            {"chkBBDist", -1, 150},
                            {"txtRSIChange", 1, 151},
                            {"chkRSIChange", -1, 151},
                            {"txtDJMA", 0, 152},
                            {"chkDJMA", -1, 152},
                            {"txtDJRSI", 1, 153},
                            {"chkDJRSI", -1, 153},
                            {"txtNSMA", 0, 154},
                            {"chkNSMA", -1, 154},
                            {"txtNSRSI", 1, 155},
                            {"chkNSRSI", -1, 155},
                            {"cboSelectMarket", -1, 157},
                            {"chkSelectByMarket", -1, 157},
                            {"chkResult", 4, 158},
                            {"chkSelectByDate", -1, 159},
                            {"dteSelectStart", -1, 159},
                            {"dteSelectEnd", -1, 159},
                            {"txtStep", 0, 160},
                            {"txtStep", 9, 160},
                            {"txtADXThreshold", -1, 165},
                            {"txtSimOption", 16, 166},
                            {"txtSimOption", 17, 167},
                            {"txtSimOption", 18, 168},
                            {"txtSimOption", 19, 169}};

// Controls whose focus leaves the pane as it is.
const Shows kNoFocusHelp[] = {{"chkSimOption", 3, 0},    {"chkResult", 2, 0},       {"optWinOption", 1, 0},
                              {"optWinOption", 3, 0},    {"txtSimOption", 21, 0},   {"txtSimOption", 26, 0},
                              {"txtSMARTDivisor", 0, 0}, {"txtDeclineStep", -1, 0}, {"DTePicker1", -1, 0}};

// The length of every text, ids 101 to 169: none is missing or cut short.
const int kLengths[] = {142, 231, 183, 173, 100, 147, 156, 145, 146, 145, 156, 45,  45,  34,  35,  34,  45,  220,
                        50,  73,  95,  73,  94,  207, 108, 110, 43,  42,  59,  157, 160, 49,  43,  71,  236, 155,
                        197, 152, 82,  86,  76,  198, 191, 210, 192, 184, 196, 195, 146, 184, 193, 176, 164, 168,
                        156, 297, 72,  75,  50,  101, 38,  50,  36,  38,  141, 45,  44,  132, 179};

}  // namespace

TEST(HelpStrings, EveryIdHoldsItsWholeText) {
  static_assert(std::size(kLengths) == 69);
  for (int id = 101; id <= 169; ++id) EXPECT_EQ(ui::LoadResString(id).size(), kLengths[id - 101]) << id;
  EXPECT_EQ(ui::LoadResString(100), "");
  EXPECT_EQ(ui::LoadResString(170), "");
  // Blanks and marks that belong to the texts.
  EXPECT_EQ(ui::LoadResString(123).back(), '`');
  for (int id : {138, 143, 152, 153, 154, 155, 156, 162}) EXPECT_EQ(ui::LoadResString(id).back(), ' ') << id;
  EXPECT_NE(ui::LoadResString(160).find("defined  by"), std::string::npos);
  EXPECT_EQ(ui::LoadResString(156).rfind("This number is used to create the \"by\" value", 0), 0u);
}

TEST_F(WindowTest, EveryControlShowsItsHelpOnFocus) {
  ui::frmMain& w = NewWindow();
  EXPECT_EQ(w.txtHelp->toPlainText().toStdString(), ui::LoadResString(101) + " ");
  for (const Shows& control : kFocusHelp) {
    w.txtHelp->setPlainText("before");
    Focus(w.Widget(control.name, control.index));
    EXPECT_EQ(w.txtHelp->toPlainText().toStdString(), ui::LoadResString(control.id))
        << ui::ControlDisplayName(control.name, control.index);
  }
  for (const Shows& control : kNoFocusHelp) {
    w.txtHelp->setPlainText("before");
    Focus(w.Widget(control.name, control.index));
    EXPECT_EQ(w.txtHelp->toPlainText(), "before") << ui::ControlDisplayName(control.name, control.index);
  }
}
