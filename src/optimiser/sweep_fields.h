#pragma once
// The sweepable parameters of the main window: which selection box
// (chkBuildOption) selects which row, and the names of the row's Min, Max
// and Step fields and of its "to" and "by" labels. Max is index 1 and Min
// index 0 of the row's field array.
namespace optimiser {

// A Trade rule of two choices: the first (option 0) reads rows a sweep can
// vary, the second a list on a row of its own, which no sweep walks.
struct TradeRule {
  const char* option;  // the rule's option array
  int listBox;         // chkBuildOption index of the list's row
};
inline constexpr TradeRule kInitialStopRule{"optInitStop", 5};
inline constexpr TradeRule kPriceUpdateRule{"optPriceUpdate", 8};

// A trade setting with a Min/Max/Step row (the Trade tab).
struct TradeRange {
  int box;                          // chkBuildOption index
  const char* field;                // Min (0) and Max (1)
  int toLabel;                      // lblSimOption index of "to"
  const char* step;                 // the Step field
  int byLabel;                      // lblSimOption index of "by"
  const char* caption;              // as the report header names it
  const TradeRule* rule = nullptr;  // the rule whose first choice alone uses the row; none: every rule does
};

inline constexpr TradeRange kTradeRanges[] = {
    {1, "txtLifeofOrder", 12, "txtLifeofOrderStep", 28, "Life"},
    {3, "txtLimitPercent", 0, "txtLimitPercentStep", 26, "% Above Target"},
    {4, "txtInitPrice", 24, "txtInitPriceStep", 15, "Initial Stop", &kInitialStopRule},
    {6, "txtProfitable", 25, "txtProfitableStep", 32, "Profitable at", &kPriceUpdateRule},
    {7, "txtDecline", 30, "txtDeclineStep", 29, "% Decline", &kPriceUpdateRule},
    {9, "txtMaxDays", 31, "txtMaxDaysStep", 33, "Max Days"}};

// A ranking range of the Portfolio tab: a Portfolio-stage filter with its
// own check box, swept by the selection boxes 11 to 20 with txtStep(i).
struct RankingRange {
  int box;                // chkBuildOption index
  const char* field;      // Min (0) and Max (1)
  int byLabel;            // lblSimOption index of "by" beside txtStep(i)
  const char* filterBox;  // the range's own check box
  int filterBoxIndex;     // -1 for a box outside an array
  const char* caption;    // as the report header names it
  const char* column;     // its column in the simulation table
};

inline constexpr RankingRange kRankingRanges[] = {
    {11, "txtPercDiff", 44, "chkResult", 1, "Dist MA", "PercentMA"},
    {12, "txtVolChange", 55, "chkResult", 0, "Vol Change", "VolumeChange"},
    {13, "txtPriceChange", 54, "chkResult", 3, "Price Change", "PriceChange"},
    {14, "txtMACDMin", 53, "chkResult", 5, "MACD", "MACD"},
    {15, "txtBBDist", 57, "chkBBDist", -1, "Dist BB", "BBDistance"},
    {16, "txtRSIChange", 56, "chkRSIChange", -1, "RSI Change", "RSIChange"},
    {17, "txtDJMA", 46, "chkDJMA", -1, "DJI MA", "DJ_MA"},
    {18, "txtDJRSI", 58, "chkDJRSI", -1, "DJI RSI", "DJ_RSI"},
    {19, "txtNSMA", 59, "chkNSMA", -1, "NAS MA", "NS_MA"},
    {20, "txtNSRSI", 60, "chkNSRSI", -1, "NAS RSI", "NS_RSI"}};

inline constexpr int kRankingRangeCount = 10;

// The list settings the portfolio sweep walks, outermost first.
struct RankingList {
  int box;
  const char* combo;
};
inline constexpr RankingList kRankingLists[] = {
    {10, "cboBuyCriteria"}, {21, "cboSelectMarket"}, {22, "cboSelectPositioning"}};

}  // namespace optimiser
