// The copy of the panel and the options window into the run parameters.
// The order is fixed: a box that does not convert stops the copy there, with
// the parameters before it already updated and the later ones as they were.
#include <cctype>

#include "market_data/run_parameters.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "ui/main_window.h"

namespace ui {
namespace {

// Converts the text of a box, naming the box when it does not convert.
template <typename Convert>
auto ConvertField(const QWidget* box, const std::string& text, const char* caption, Convert convert) {
  try {
    return convert(text);
  } catch (const rt::Error& e) {
    std::string name = S(box->objectName());
    if (auto underscore = name.rfind('_'); underscore != std::string::npos)
      name = name.substr(0, underscore) + "(" + name.substr(underscore + 1) + ")";
    throw rt::Error(e.Number(), e.Description() + ": the field \"" + caption + "\" (" + name + ") holds \"" + text +
                                    "\", which " +
                                    (e.Number() == rt::kErrOverflow ? "is out of range." : "is not a number."));
  }
}

int16_t Integer(const QLineEdit* box, const char* caption) {
  return ConvertField(box, S(box->text()), caption, [](const std::string& t) { return rt::CInt(t); });
}
int32_t Long(const QLineEdit* box, const char* caption) {
  return ConvertField(box, S(box->text()), caption, [](const std::string& t) { return rt::CLng(t); });
}
float Single(const QLineEdit* box, const char* caption) {
  return ConvertField(box, S(box->text()), caption, [](const std::string& t) { return rt::CSng(t); });
}
double Double(const QLineEdit* box, const char* caption) {
  return ConvertField(box, S(box->text()), caption, [](const std::string& t) { return rt::CDbl(t); });
}
// The number a text starts with, so that "4 stocks a day" reads 4; a text
// that starts with none (empty included) is no number, as in the strict boxes.
int16_t LeadingNumber(const QWidget* box, const QString& text, const char* caption) {
  return ConvertField(box, S(text), caption, [](const std::string& t) {
    const size_t first = t.find_first_not_of(' ');
    size_t digit = first == std::string::npos ? t.size() : first;
    if (digit < t.size() && (t[digit] == '-' || t[digit] == '+')) ++digit;
    if (digit < t.size() && t[digit] == '.') ++digit;
    if (digit >= t.size() || !std::isdigit(static_cast<unsigned char>(t[digit]))) rt::RaiseTypeMismatch();
    return rt::LeadingInteger(t);
  });
}

bool On(const CheckBox* box) { return box->Value() != 0; }

}  // namespace

void frmMain::LoadParms() {
  RunParameters& p = Parms();
  frmOptions& options = Options();
  auto text = [](const QLineEdit* box) { return S(box->text()); };
  auto range = [&](const char* box, int boxIndex, const char* field, bool& on, std::string& min, std::string& max) {
    on = On(Check(box, boxIndex));
    min = text(Text(field, 0));
    max = text(Text(field, 1));
  };

  p.datEarliestDate = options.dteData()->Value() - 214;
  p.blnCalculateResults = On(Check("chkCalculateResults"));
  range("chkBBDist", -1, "txtBBDist", p.blnBBDist, p.strBBDistMin, p.strBBDistMax);
  range("chkRSIChange", -1, "txtRSIChange", p.blnRSIChange, p.strRSIChangeMin, p.strRSIChangeMax);
  p.blnUseMinVol = On(Check("chkUseMinVol"));
  p.lngVolDollarMin = Long(Text("txtVolDollarMin"), "Minimum $");
  p.sngVolPercMax = Single(Text("txtVolPercMax"), "Maximum % of Volume Purchasable");
  p.blnSelectByDate = On(Check("chkSelectByDate"));
  // The portfolio window is kept inside the period as the pickers stand now.
  rt::Date first = Picker("dteSimDate", 0)->Value();
  rt::Date last = Picker("dteSimDate", 1)->Value();
  p.datSelectEnd = Picker("dteSelectEnd")->Value();
  if (p.datSelectEnd > last || p.datSelectEnd < first) p.datSelectEnd = last;
  p.datSelectStart = Picker("dteSelectStart")->Value();
  if (p.datSelectStart < first || p.datSelectStart > last) p.datSelectStart = first;
  p.blnSelectByMarket = On(Check("chkSelectByMarket"));
  p.strSelectMarket = S(Combo("cboSelectMarket")->currentText());
  p.blnCombineIndicators = On(Check("chkCombineIndicators"));
  p.blnMaxAge = On(Check("chkMaxAge"));
  p.intLimitPercent = Integer(Text("txtLimitPercent", 0), "% above Target Price:");
  p.strPurchasePrice = S(Combo("cboPurchasePrice")->currentText());
  p.blnUpdateData = On(Check("chkUpdateData"));
  if (Option("optInitStop", 0)->Value()) p.strInitStop = "%Loss";
  else if (Option("optInitStop", 1)->Value()) p.strInitStop = S(Combo("cboInitialStop")->currentText());
  if (Option("optPriceUpdate", 0)->Value()) p.strPriceUpdate = "ProfitableLoss";
  else if (Option("optPriceUpdate", 1)->Value()) p.strPriceUpdate = S(Combo("cboPriceUpdate")->currentText());
  p.blnUseSellLoss = static_cast<int16_t>(Check("chkUseSellLoss")->Value());
  p.intSellBuffer = Integer(Text("txtSimOption", 20), "% Loss on Sale:");
  p.intLifeofOrder = Integer(Text("txtLifeofOrder", 0), "Life of Order (days):");
  p.strTypeOfPurchase = S(Combo("cboTypeOfPurchase")->currentText());
  p.blnUseMA = On(Check("chkUseMA"));
  p.dblMinShortPrice = Double(options.txtSimOption(27), "Minimum Price for a Short: $");
  p.blnUseSwing = On(Check("chkSimOption", 3));
  p.dblSwingMACDPct = Double(Text("txtSimOption", 21), "MACD Breakout %");
  p.dblSwingVolumePct = Double(Text("txtSimOption", 22), "Volume Increase %");
  p.dblSwingPricePct = Double(Text("txtSimOption", 23), "Price Breakout %");
  p.dblSwingRangePct = Double(Text("txtSimOption", 24), "Narrow Range %");
  p.intSwingDays = Integer(Text("txtSimOption", 25), "Days in Range");
  p.intSwingVolDays = Integer(Text("txtSimOption", 26), "Days for Volume MA");
  range("chkDJMA", -1, "txtDJMA", p.blnDJMA, p.strDJMAMin, p.strDJMAMax);
  range("chkDJRSI", -1, "txtDJRSI", p.blnDJRSI, p.strDJRSIMin, p.strDJRSIMax);
  range("chkNSMA", -1, "txtNSMA", p.blnNSMA, p.strNSMAMin, p.strNSMAMax);
  range("chkNSRSI", -1, "txtNSRSI", p.blnNSRSI, p.strNSRSIMin, p.strNSRSIMax);
  range("chkResult", 5, "txtMACDMin", p.blnMACDRange, p.strMACDMin, p.strMACDMax);
  p.blnSelectByPosition = On(Check("chkResult", 4));
  p.strSelectPositioning = S(Combo("cboSelectPositioning")->currentText());
  p.strSimEnd = rt::FormatShortDate(last);
  range("chkResult", 0, "txtVolChange", p.blnVolChange, p.strVolChangeMin, p.strVolChangeMax);
  range("chkResult", 3, "txtPriceChange", p.blnPriceChange, p.strPriceChangeMin, p.strPriceChangeMax);
  p.intWinDays = Integer(options.txtSimOption(0), "# Days WINNER based on:");
  p.dblCommission = Double(options.txtSimOption(9), "Commission per Trade: $");
  p.dblStartInvestment = Double(options.txtSimOption(10), "Starting Investment: $");
  p.dblMaxVolPct = Double(options.txtSimOption(11), "Max % of Daily Avg Volume: ");
  p.intRSIMode = Option("optRSI", 0)->Value() ? 1 : 2;
  p.blnUseBoll = On(Check("chkSimOption", 0));
  p.blnUseRSI = On(Check("chkSimOption", 1));
  p.blnUseMACD = On(Check("chkSimOption", 2));
  p.blnUseADX = On(Check("chkUseADX"));
  p.intADXThreshold = Integer(Text("txtADXThreshold"), "ADX Threshold");
  p.lngADXDays = 10;
  p.intBuyCriteria = static_cast<int16_t>(Combo("cboBuyCriteria")->currentIndex());
  p.dblRSIHigh = Double(Text("txtSimOption", 1), "High RSI");
  p.dblRSILow = Double(Text("txtSimOption", 2), "Low RSI");
  p.intMADays = Integer(Text("txtSimOption", 4), "# Days for Moving Average:");
  p.intRSIDays = Integer(Text("txtSimOption", 3), "Days RSI Based On");
  p.intBollDays = Integer(Text("txtSimOption", 5), "Bollinger Moving Avg.");
  p.intBollDivergeDays = Integer(Text("txtSimOption", 6), "Days of Divergance");
  p.intBollStableDays = Integer(Text("txtSimOption", 7), "Days of Stability");
  p.intMADiff = Integer(Text("txtSimOption", 8), "Minimum % Diff between Current Price and MA:");
  p.intInitStopPercent = Integer(Text("txtInitPrice", 0), "Initial Stop Based on % Loss:");
  if (!Text("txtDecline", 0)->text().isEmpty()) p.intDecline = Integer(Text("txtDecline", 0), "...with a % decline:");
  p.intMaxDays = Integer(Text("txtMaxDays", 0), "Max Days to Hold Loser:");
  p.intProfitable = Integer(Text("txtProfitable", 0), "Based on \"Profitable\" % Level:");
  p.intMACDShort = Integer(Text("txtSimOption", 16), "Short EMA Length");
  p.intMACDLong = Integer(Text("txtSimOption", 17), "Long EMA Length");
  p.intMACDCombo = Integer(Text("txtSimOption", 18), "Combo EMA Length");
  p.dblMACDMin = Double(Text("txtSimOption", 19), "MACD greater than");
  p.intBuyPerDay = LeadingNumber(options.cmbPick(0), options.cmbPick(0)->currentText(), "Stocks Bought per Day:");
  p.intMaxStocks = LeadingNumber(options.txtNumStocks(), options.txtNumStocks()->text(), "Max Stocks in Portfolio:");
  range("chkResult", 1, "txtPercDiff", p.blnPercentMA, p.strPercentMAMin, p.strPercentMAMax);
  Double(Text("txtPortfolioBalance"), "Current Balance:");  // checked, not kept
  p.intDatabaseType = p.intDBType;
}

void frmMain::LoadStartUpParms() {
  RunParameters& p = Parms();
  try {
    p.intDBType = Integer(Options().txtSimOption(31), "Database Type (1 = Access, 2 = SQL):");
    p.strDatabasePath = S(Options().txtSimOption(32)->text());
    p.intDatabaseType = p.intDBType;
  } catch (const rt::Error& e) {
    user::MsgBox(e.Description(), user::kOKOnly, "LoadStartUpParms");
  }
}

}  // namespace ui
