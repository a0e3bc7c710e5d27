// The copy of the panel and the options window into the run parameters.
// The order is fixed: a box that does not convert stops the copy there, with
// the parameters before it already updated and the later ones as they were.
#include <cctype>
#include <memory>
#include <unordered_map>

#include "market_data/run_parameters.h"
#include "platform/db/sql_text.h"
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
    // Shown whole: a control character (a NUL read from a file) would cut the message.
    throw rt::Error(e.Number(), e.Description() + ": the field \"" + caption + "\" (" + name + ") holds \"" +
                                    db::ShownName(text) + "\", which " +
                                    (e.Number() == rt::kErrOverflow ? "is out of range." : "is not a number."));
  }
}

// The number a text starts with, so that "4 stocks a day" reads 4; a text
// that starts with none (empty included) is no number, as in the strict boxes.
int16_t LeadingNumberOf(const std::string& t) {
  const size_t first = t.find_first_not_of(' ');
  size_t digit = first == std::string::npos ? t.size() : first;
  if (digit < t.size() && (t[digit] == '-' || t[digit] == '+')) ++digit;
  if (digit < t.size() && t[digit] == '.') ++digit;
  if (digit >= t.size() || !std::isdigit(static_cast<unsigned char>(t[digit]))) rt::RaiseTypeMismatch();
  return rt::LeadingInteger(t);
}

bool On(const CheckBox* box) { return box->Value() != 0; }

}  // namespace

// What each box held at the last copy and what it gave: a copy converts
// again only the texts that have changed since, which a sweep, copying every
// box before each of its thousands of variations, needs for one or two.
struct frmMain::CopiedTexts {
  struct Copied {
    QString text;
    std::string utf8;
    double number = 0;
    bool converted = false;
  };
  std::unordered_map<const QWidget*, Copied> of;

  // The text as the parameters hold it.
  const std::string& Text(const QWidget* box, const QString& text) {
    Copied& copied = of[box];
    if (copied.text != text) copied = {text, S(text)};
    return copied.utf8;
  }
  const std::string& Text(const QLineEdit* box) { return Text(box, box->text()); }
  const std::string& Text(const QComboBox* box) { return Text(box, box->currentText()); }

  // The text converted, naming the box when it does not convert; every
  // conversion's value fits a double exactly.
  template <typename Convert>
  double Number(const QWidget* box, const QString& text, const char* caption, Convert convert) {
    Copied& copied = of[box];
    if (!copied.converted || copied.text != text) {
      std::string utf8 = S(text);
      const double number = ConvertField(box, utf8, caption, convert);
      copied = {text, std::move(utf8), number, true};
    }
    return copied.number;
  }
  int16_t Integer(const QLineEdit* box, const char* caption) {
    return static_cast<int16_t>(Number(box, box->text(), caption, [](const std::string& t) { return rt::CInt(t); }));
  }
  int32_t Long(const QLineEdit* box, const char* caption) {
    return static_cast<int32_t>(Number(box, box->text(), caption, [](const std::string& t) { return rt::CLng(t); }));
  }
  float Single(const QLineEdit* box, const char* caption) {
    return static_cast<float>(Number(box, box->text(), caption, [](const std::string& t) { return rt::CSng(t); }));
  }
  double Double(const QLineEdit* box, const char* caption) {
    return Number(box, box->text(), caption, [](const std::string& t) { return rt::CDbl(t); });
  }
  int16_t LeadingNumber(const QWidget* box, const QString& text, const char* caption) {
    return static_cast<int16_t>(Number(box, text, caption, LeadingNumberOf));
  }
};

void frmMain::LoadParms() {
  RunParameters& p = Parms();
  frmOptions& options = Options();
  if (!copiedTexts_) copiedTexts_ = std::make_shared<CopiedTexts>();
  CopiedTexts& copied = *copiedTexts_;
  auto range = [&](const char* box, int boxIndex, const char* field, bool& on, std::string& min, std::string& max) {
    on = On(Check(box, boxIndex));
    min = copied.Text(Text(field, 0));
    max = copied.Text(Text(field, 1));
  };

  p.datEarliestDate = options.dteData()->Value() - 214;
  p.blnCalculateResults = On(Check("chkCalculateResults"));
  range("chkBBDist", -1, "txtBBDist", p.blnBBDist, p.strBBDistMin, p.strBBDistMax);
  range("chkRSIChange", -1, "txtRSIChange", p.blnRSIChange, p.strRSIChangeMin, p.strRSIChangeMax);
  p.blnUseMinVol = On(Check("chkUseMinVol"));
  p.lngVolDollarMin = copied.Long(Text("txtVolDollarMin"), "Minimum $");
  p.sngVolPercMax = copied.Single(Text("txtVolPercMax"), "Maximum % of Volume Purchasable");
  p.blnSelectByDate = On(Check("chkSelectByDate"));
  // The portfolio window is kept inside the period as the pickers stand now.
  rt::Date first = Picker("dteSimDate", 0)->Value();
  rt::Date last = Picker("dteSimDate", 1)->Value();
  p.datSelectEnd = Picker("dteSelectEnd")->Value();
  if (p.datSelectEnd > last || p.datSelectEnd < first) p.datSelectEnd = last;
  p.datSelectStart = Picker("dteSelectStart")->Value();
  if (p.datSelectStart < first || p.datSelectStart > last) p.datSelectStart = first;
  p.blnSelectByMarket = On(Check("chkSelectByMarket"));
  p.strSelectMarket = copied.Text(Combo("cboSelectMarket"));
  p.blnCombineIndicators = On(Check("chkCombineIndicators"));
  p.blnMaxAge = On(Check("chkMaxAge"));
  p.intLimitPercent = copied.Integer(Text("txtLimitPercent", 0), "% above Target Price:");
  p.strPurchasePrice = copied.Text(Combo("cboPurchasePrice"));
  p.blnUpdateData = On(Check("chkUpdateData"));
  if (Option("optInitStop", 0)->Value()) p.strInitStop = "%Loss";
  else if (Option("optInitStop", 1)->Value()) p.strInitStop = copied.Text(Combo("cboInitialStop"));
  if (Option("optPriceUpdate", 0)->Value()) p.strPriceUpdate = "ProfitableLoss";
  else if (Option("optPriceUpdate", 1)->Value()) p.strPriceUpdate = copied.Text(Combo("cboPriceUpdate"));
  p.blnUseSellLoss = static_cast<int16_t>(Check("chkUseSellLoss")->Value());
  p.intSellBuffer = copied.Integer(Text("txtSimOption", 20), "% Loss on Sale:");
  p.intLifeofOrder = copied.Integer(Text("txtLifeofOrder", 0), "Life of Order (days):");
  p.strTypeOfPurchase = copied.Text(Combo("cboTypeOfPurchase"));
  p.blnUseMA = On(Check("chkUseMA"));
  p.dblMinShortPrice = copied.Double(options.txtSimOption(27), "Minimum Price for a Short: $");
  p.blnUseSwing = On(Check("chkSimOption", 3));
  p.dblSwingMACDPct = copied.Double(Text("txtSimOption", 21), "MACD Breakout %");
  p.dblSwingVolumePct = copied.Double(Text("txtSimOption", 22), "Volume Increase %");
  p.dblSwingPricePct = copied.Double(Text("txtSimOption", 23), "Price Breakout %");
  p.dblSwingRangePct = copied.Double(Text("txtSimOption", 24), "Narrow Range %");
  p.intSwingDays = copied.Integer(Text("txtSimOption", 25), "Days in Range");
  p.intSwingVolDays = copied.Integer(Text("txtSimOption", 26), "Days for Volume MA");
  range("chkDJMA", -1, "txtDJMA", p.blnDJMA, p.strDJMAMin, p.strDJMAMax);
  range("chkDJRSI", -1, "txtDJRSI", p.blnDJRSI, p.strDJRSIMin, p.strDJRSIMax);
  range("chkNSMA", -1, "txtNSMA", p.blnNSMA, p.strNSMAMin, p.strNSMAMax);
  range("chkNSRSI", -1, "txtNSRSI", p.blnNSRSI, p.strNSRSIMin, p.strNSRSIMax);
  range("chkResult", 5, "txtMACDMin", p.blnMACDRange, p.strMACDMin, p.strMACDMax);
  p.blnSelectByPosition = On(Check("chkResult", 4));
  p.strSelectPositioning = copied.Text(Combo("cboSelectPositioning"));
  p.strSimEnd = rt::FormatShortDate(last);
  range("chkResult", 0, "txtVolChange", p.blnVolChange, p.strVolChangeMin, p.strVolChangeMax);
  range("chkResult", 3, "txtPriceChange", p.blnPriceChange, p.strPriceChangeMin, p.strPriceChangeMax);
  p.intWinDays = copied.Integer(options.txtSimOption(0), "# Days WINNER based on:");
  p.dblCommission = copied.Double(options.txtSimOption(9), "Commission per Trade: $");
  p.dblStartInvestment = copied.Double(options.txtSimOption(10), "Starting Investment: $");
  p.dblMaxVolPct = copied.Double(options.txtSimOption(11), "Max % of Daily Avg Volume: ");
  p.intRSIMode = Option("optRSI", 0)->Value() ? 1 : 2;
  p.blnUseBoll = On(Check("chkSimOption", 0));
  p.blnUseRSI = On(Check("chkSimOption", 1));
  p.blnUseMACD = On(Check("chkSimOption", 2));
  p.blnUseADX = On(Check("chkUseADX"));
  p.intADXThreshold = copied.Integer(Text("txtADXThreshold"), "ADX Threshold");
  p.lngADXDays = 10;
  p.intBuyCriteria = static_cast<int16_t>(Combo("cboBuyCriteria")->currentIndex());
  p.dblRSIHigh = copied.Double(Text("txtSimOption", 1), "High RSI");
  p.dblRSILow = copied.Double(Text("txtSimOption", 2), "Low RSI");
  p.intMADays = copied.Integer(Text("txtSimOption", 4), "# Days for Moving Average:");
  p.intRSIDays = copied.Integer(Text("txtSimOption", 3), "Days RSI Based On");
  p.intBollDays = copied.Integer(Text("txtSimOption", 5), "Bollinger Moving Avg.");
  p.intBollDivergeDays = copied.Integer(Text("txtSimOption", 6), "Days of Divergance");
  p.intBollStableDays = copied.Integer(Text("txtSimOption", 7), "Days of Stability");
  p.intMADiff = copied.Integer(Text("txtSimOption", 8), "Minimum % Diff between Current Price and MA:");
  p.intInitStopPercent = copied.Integer(Text("txtInitPrice", 0), "Initial Stop Based on % Loss:");
  if (!Text("txtDecline", 0)->text().isEmpty())
    p.intDecline = copied.Integer(Text("txtDecline", 0), "...with a % decline:");
  p.intMaxDays = copied.Integer(Text("txtMaxDays", 0), "Max Days to Hold Loser:");
  p.intProfitable = copied.Integer(Text("txtProfitable", 0), "Based on \"Profitable\" % Level:");
  p.intMACDShort = copied.Integer(Text("txtSimOption", 16), "Short EMA Length");
  p.intMACDLong = copied.Integer(Text("txtSimOption", 17), "Long EMA Length");
  p.intMACDCombo = copied.Integer(Text("txtSimOption", 18), "Combo EMA Length");
  p.dblMACDMin = copied.Double(Text("txtSimOption", 19), "MACD greater than");
  p.intBuyPerDay =
      copied.LeadingNumber(options.cmbPick(0), options.cmbPick(0)->currentText(), "Stocks Bought per Day:");
  p.intMaxStocks =
      copied.LeadingNumber(options.txtNumStocks(), options.txtNumStocks()->text(), "Max Stocks in Portfolio:");
  range("chkResult", 1, "txtPercDiff", p.blnPercentMA, p.strPercentMAMin, p.strPercentMAMax);
  copied.Double(Text("txtPortfolioBalance"), "Current Balance:");  // checked, not kept
  p.intDatabaseType = p.intDBType;
}

void frmMain::LoadStartUpParms() {
  RunParameters& p = Parms();
  try {
    p.intDBType = CopiedTexts().Integer(Options().txtSimOption(31), "Database Type (1 = Access, 2 = SQL):");
    p.strDatabasePath = S(Options().txtSimOption(32)->text());
    p.intDatabaseType = p.intDBType;
  } catch (const rt::Error& e) {
    user::MsgBox(e.Description(), user::kOKOnly, "LoadStartUpParms");
  }
}

}  // namespace ui
