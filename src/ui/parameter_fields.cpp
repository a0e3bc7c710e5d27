// The parameter fields of the main window: which input rule, repair and
// focus behaviour each box carries.
#include <optional>

#include "ui/field_input_rules.h"
#include "ui/main_window.h"

namespace ui {
namespace {

struct FieldRules {
  const char* name;
  int first;  // element range; -1 for a box that is not in an array
  int last;
  std::optional<KeyRule> key;
  std::optional<ChangeRule> change;
  FocusRule focus;
  int help;  // 0: none
};

constexpr auto kSigned = KeyRule::SignedDecimal;
constexpr auto kDigits = KeyRule::Digits;
constexpr auto kSignRepair = ChangeRule::SignRepairUnselected;
constexpr auto kHelpSelect = FocusRule::HelpAndSelectAll;
constexpr auto kSelect = FocusRule::SelectAll;
constexpr auto kHelp = FocusRule::Help;

const FieldRules kFields[] = {
    // The ten ranking ranges (Min and Max) and their steps.
    {"txtPercDiff", 0, 1, kSigned, kSignRepair, kHelpSelect, 146},
    {"txtVolChange", 0, 1, kSigned, kSignRepair, kHelpSelect, 147},
    {"txtPriceChange", 0, 1, kSigned, kSignRepair, kHelpSelect, 148},
    {"txtMACDMin", 0, 1, kSigned, kSignRepair, kHelpSelect, 149},
    {"txtBBDist", 0, 1, kSigned, kSignRepair, kHelpSelect, 150},
    {"txtRSIChange", 0, 1, kSigned, kSignRepair, kHelpSelect, 151},
    {"txtDJMA", 0, 1, kSigned, kSignRepair, kHelpSelect, 152},
    {"txtDJRSI", 0, 1, kSigned, kSignRepair, kHelpSelect, 153},
    {"txtNSMA", 0, 1, kSigned, kSignRepair, kHelpSelect, 154},
    {"txtNSRSI", 0, 1, kSigned, kSignRepair, kHelpSelect, 155},
    {"txtStep", 0, 9, KeyRule::Step, ChangeRule::SignRepair, kHelpSelect, 160},
    // The Trade settings (value and sweep Max) and their sweep steps.
    {"txtLifeofOrder", 0, 1, kDigits, ChangeRule::NumericRepair, kHelpSelect, 136},
    {"txtLimitPercent", 0, 1, kDigits, ChangeRule::NumericRepair, kHelpSelect, 138},
    {"txtInitPrice", 0, 1, kDigits, std::nullopt, kHelpSelect, 141},
    {"txtProfitable", 0, 1, kDigits, std::nullopt, kHelpSelect, 139},
    {"txtDecline", 0, 1, kDigits, std::nullopt, kHelpSelect, 140},
    {"txtMaxDays", 0, 1, kDigits, std::nullopt, kHelpSelect, 142},
    {"txtLifeofOrderStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtLimitPercentStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtInitPriceStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtProfitableStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtDeclineStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtMaxDaysStep", -1, -1, kDigits, std::nullopt, kSelect, 0},
    {"txtSMARTDivisor", 0, 1, std::nullopt, std::nullopt, kSelect, 0},
    // Select criteria outside txtSimOption. The volume share is a fraction
    // (".5" as designed), so it takes a decimal point.
    {"txtADXThreshold", -1, -1, kDigits, std::nullopt, kHelp, 165},
    {"txtVolDollarMin", -1, -1, kDigits, std::nullopt, kHelp, 123},
    {"txtVolPercMax", -1, -1, KeyRule::Decimal, std::nullopt, kHelp, 124},
    // The symbols of a run and the restart point.
    {"txtSelection", -1, -1, KeyRule::SymbolList, std::nullopt, kHelp, 105},
    {"txtLike", -1, -1, std::nullopt, std::nullopt, kHelp, 103},
    {"txtStartBuySellAt", -1, -1, std::nullopt, std::nullopt, kHelp, 143},
};

struct SimOptionRules {
  int index;
  int help;  // 0: the focus only selects the text
  KeyRule key;
};

// The Select criteria of the main window. The MACD threshold may be negative
// or fractional ("-3" as designed) and the two breakout percentages are
// fractions (".1"), so those boxes take the sign or the point they need.
const SimOptionRules kSimOptions[] = {
    {1, 127, kDigits},         {2, 128, kDigits},  {3, 129, kDigits},  {4, 119, kDigits},         {5, 120, kDigits},
    {6, 121, kDigits},         {7, 122, kDigits},  {8, 118, kDigits},  {16, 166, kDigits},        {17, 167, kDigits},
    {18, 168, kDigits},        {19, 169, kSigned}, {20, 144, kDigits}, {21, 0, KeyRule::Decimal}, {22, 0, kDigits},
    {23, 0, KeyRule::Decimal}, {24, 0, kDigits},   {25, 0, kDigits},   {26, 0, kDigits}};

}  // namespace

void frmMain::ConnectParameterFields() {
  auto install = [this](QLineEdit* box, std::optional<KeyRule> key, std::optional<ChangeRule> change, FocusRule focus,
                        int help) {
    if (key) InstallKeyRule(box, *key);
    if (change) InstallChangeRule(box, *change);
    std::function<void()> showHelp;
    if (help != 0)
      showHelp = [this, help, alive = WindowAlive()] {
        if (alive()) ShowHelp(help);
      };
    InstallFocusRule(box, help != 0 ? focus : FocusRule::SelectAll, showHelp);
  };
  for (const FieldRules& field : kFields)
    for (int i = field.first; i <= field.last; ++i)
      install(Text(field.name, i), field.key, field.change, field.focus, field.help);

  for (const SimOptionRules& option : kSimOptions) {
    QLineEdit* box = Text("txtSimOption", option.index);
    install(box, option.key, std::nullopt, kHelpSelect, option.help);
    connect(box, &QLineEdit::textChanged, this, [this, index = option.index] { txtSimOption_Change(index); });
  }
}

void frmMain::txtSimOption_Change(int index) {
  // A new sale loss makes the last run's progress line stale.
  if (index == 20) Label("lblCurrStock", 1)->clear();
}

}  // namespace ui
