// A sweep's plan: the settings its loops are set up from, kept with its
// record so that a sweep stopped and started again runs the variations it
// counted, not others that fields changed meanwhile would make.
#include <set>

#include "market_data/symbol_file.h"
#include "optimiser/sweep_fields.h"
#include "optimiser/sweep_reports.h"
#include "platform/user/user_services.h"
#include "ui/main_window.h"
#include "ui/settings_files.h"

namespace ui {
namespace {

using Key = std::pair<std::string, int>;

// The controls a sweep's loops and its rows read.
std::set<Key> PlanControls(bool trade) {
  std::set<Key> keys;
  if (trade) {
    for (int box = 0; box <= 9; ++box) keys.emplace("chkBuildOption", box);
    keys.emplace("cboTypeOfPurchase", -1);
    keys.emplace("cboPurchasePrice", -1);
    for (const optimiser::TradeRange& range : optimiser::kTradeRanges) {
      keys.emplace(range.field, 0);
      keys.emplace(range.field, 1);
      keys.emplace(range.step, -1);
    }
    return keys;
  }
  for (int box = 10; box <= 22; ++box) keys.emplace("chkBuildOption", box);
  for (const optimiser::RankingList& list : optimiser::kRankingLists) keys.emplace(list.combo, -1);
  for (int r = 0; r < optimiser::kRankingRangeCount; ++r) {
    const optimiser::RankingRange& range = optimiser::kRankingRanges[r];
    keys.emplace(range.filterBox, range.filterBoxIndex);
    keys.emplace(range.field, 0);
    keys.emplace(range.field, 1);
    keys.emplace("txtStep", r);
  }
  return keys;
}

constexpr const char* kChangedPlanQuestion =
    "The S.M.A.R.T. settings have changed since this sweep stopped. Do you wish to resume it as planned?\r\n"
    "Choose 'YES' to resume the stopped sweep. Choose 'NO' to start the new settings afresh.";

}  // namespace

const char* frmMain::SweepName(bool trade) { return trade ? "Trade" : "Portfolio"; }

std::string frmMain::SweepPlan(bool trade) const {
  const std::set<Key> keys = PlanControls(trade);
  std::string plan;
  for (const FormControl& control : controls_.All())
    if (keys.count({control.name, control.index}))
      plan += control.name + "(" + control.IndexText() + ")=" + ControlValueText(control) + "\n";
  return plan;
}

void frmMain::RecordSweep(bool trade, const std::string& reportPath) {
  objResearch->StoreSweepRecord(
      {SweepName(trade), reportPath, optimiser::ReportFirstLine(reportPath), SweepPlan(trade)});
}

bool frmMain::SettleStoppedSweepPlan() {
  const bool trade = tabResearch->currentIndex() == 1;
  if (!(trade ? TradeSweepPaused() : PortfolioSweepPaused())) return true;
  clsResearch::SweepRecord record;
  if (!objResearch->RetrieveSweepRecord(record) || record.sweep != SweepName(trade) || record.plan == SweepPlan(trade))
    return true;
  const int answer = user::MsgBox(kChangedPlanQuestion, user::kYesNoCancel, user::kApplicationTitle);
  if (answer == user::kAnswerCancel) return false;
  if (answer == user::kAnswerYes) ApplyControlLines(SplitFileLines(record.plan), controls_, false, 0);
  else sweepStartsAfresh_ = true;
  return true;
}

}  // namespace ui
