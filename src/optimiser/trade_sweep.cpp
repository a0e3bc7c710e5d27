// The trade-settings sweep: the Trade stage once for every combination of
// the swept trade settings, each written into the window's own fields, with
// one report row per combination that ran to its end. A paused, stopped or
// failed sweep resumes from its pause row.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>

#include "market_data/run_parameters.h"
#include "optimiser/sweep_fields.h"
#include "optimiser/sweep_loops.h"
#include "optimiser/sweep_reports.h"
#include "optimiser/typed_fields_guard.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

using optimiser::Bound;
using optimiser::SweepLoop;

constexpr int kLevels = 8;

void Yield() { user::DoEvents(); }

// One level of the nest: a list (its selection index) or a number field.
struct TradeLevel {
  int box = 0;
  QComboBox* list = nullptr;
  const optimiser::TradeRange* range = nullptr;
  bool swept = false;
  std::string startText, endText;  // as typed, for the header and the restore
};

std::string HeaderCell(const TradeLevel& level) {
  return std::string(level.range->caption) + "(" + level.startText + ":" + level.endText + ")";
}

void SetField(QLineEdit* field, const std::string& text) {
  if (S(field->text()) != text) field->setText(Q(text));
}

}  // namespace

void frmMain::OutputTradeVariations() {
  RefuseSweepThatCannotRun();
  // Set-up: the eight levels, outermost first.
  std::array<TradeLevel, kLevels> levels;
  std::vector<SweepLoop> loops(kLevels);
  const optimiser::TradeRange* ranges = optimiser::kTradeRanges;
  const std::pair<int, const char*> lists[] = {{0, "cboTypeOfPurchase"}, {2, "cboPurchasePrice"}};
  levels[0].list = Combo(lists[0].second);
  levels[0].box = lists[0].first;
  levels[2].list = Combo(lists[1].second);
  levels[2].box = lists[1].first;
  const int numberLevels[] = {1, 3, 4, 5, 6, 7};
  for (int r = 0; r < 6; ++r) {
    levels[numberLevels[r]].range = &ranges[r];
    levels[numberLevels[r]].box = ranges[r].box;
  }
  for (int k = 0; k < kLevels; ++k) {
    TradeLevel& level = levels[k];
    level.swept = Check("chkBuildOption", level.box)->Value() == 1;
    SweepLoop& loop = loops[k];
    if (level.list) {
      double current = level.list->currentIndex();
      loop.start = Bound::Number(level.swept ? 0 : current);
      loop.end = Bound::Number(level.swept ? level.list->count() - 1 : current);
      continue;
    }
    const optimiser::TradeRange& range = *level.range;
    level.startText = S(Text(range.field, 0)->text());
    level.endText = level.swept ? S(Text(range.field, 1)->text()) : level.startText;
    if (level.swept) {
      loop.start = Bound::Text(level.startText, ControlDisplayName(range.field, 0));
      loop.end = Bound::Text(level.endText, ControlDisplayName(range.field, 1));
      loop.step = Bound::Text(S(Text(range.step)->text()), range.step);
    } else if (level.startText.empty()) {
      // Not swept and left empty: runs once, its field as it is (the Trade
      // stage then keeps its previous value, which the rows show).
      loop.start = loop.end = Bound::Number(0);
    } else {
      loop.start = loop.end = Bound::Text(level.startText, ControlDisplayName(range.field, 0));
    }
  }

  // The ranges the sweep starts with, as typed.
  auto header = [&] {
    std::vector<std::string> cells = {"Purchase Type", HeaderCell(levels[1]), "Target Price"};
    for (int k = 3; k < kLevels; ++k) cells.push_back(HeaderCell(levels[k]));
    for (const char* cell : {"Win/Loss", "Short/Long", "Avg. Return"}) cells.push_back(cell);
    return cells;
  };

  // The number of variations, before anything runs.
  const int32_t total = optimiser::CountNested(loops);
  auto showTotal = [&] {
    pbStatus->setRange(0, std::max(total, 1));
    Yield();
  };

  const bool resuming = TradeSweepPaused();
  if (!resuming) {
    if (user::MsgBox("This report will yield " + std::to_string(total) + " variations.\r\nDo you wish to continue?",
                     user::kYesNo, user::kApplicationTitle) != user::kAnswerYes)
      return;
    showTotal();
    int mode = GetReportFile(rt::AppPath(optimiser::kTradeReportFolder).string(),
                             optimiser::ReportFileName(optimiser::kTradeReportPrefix, Parms().strSimTable),
                             strTradeReportPath);
    if (mode == 2) return;
    if (mode == 0) optimiser::WriteReportHeader(strTradeReportPath, header());
  }

  int32_t variation = 1;
  std::vector<double> resume;
  if (resuming) {
    resume.assign(varTradePause.begin(), varTradePause.end());
    // A level that is not swept starts where it stands now.
    for (int k = 0; k < kLevels; ++k)
      if (!levels[k].swept) resume[k] = loops[k].start.Value();
    variation = lngTradeCount;
    showTotal();
    // The report path is not part of the pause row: after a restart the rows
    // go to the report's proposed file, which gets its header when it is new.
    if (strTradeReportPath.empty()) {
      strTradeReportPath =
          optimiser::ReportPath(optimiser::kTradeReportFolder,
                                optimiser::ReportFileName(optimiser::kTradeReportPrefix, Parms().strSimTable));
      std::error_code ec;
      if (!std::filesystem::exists(strTradeReportPath, ec)) optimiser::WriteReportHeader(strTradeReportPath, header());
    }
  }

  optimiser::TypedFieldsGuard typed;
  for (const TradeLevel& level : levels) {
    if (!level.swept) continue;
    if (level.list) typed.KeepList(level.list);
    else typed.Keep(Text(level.range->field, 0));
  }

  std::vector<double> steps;  // known once every level has been entered
  bool rowAfterResume = resuming;
  bool ranOut = optimiser::WalkNested(loops, resume.empty() ? nullptr : &resume, [&](const std::vector<double>& v) {
    if (steps.empty())
      for (const SweepLoop& loop : loops) steps.push_back(loop.step.Value());
    // The pause row names this variation until it has run to its end.
    std::vector<std::string> pause;
    for (int k = 0; k < kLevels; ++k) {
      varTradePause[k] = v[k];
      pause.push_back(rt::FormatRoundTrip(v[k]));
    }
    lngTradeCount = variation;
    pause.push_back(std::to_string(variation));
    objResearch->StorePauseCriteria(pause, true);
    // Pause and Stop both leave it named for the resume.
    if (objResearch->StopProcess()) return false;

    for (int k = 0; k < kLevels; ++k) {
      const TradeLevel& level = levels[k];
      if (!level.swept) continue;
      if (level.list) level.list->setCurrentIndex(rt::CInt(v[k]));
      else SetField(Text(level.range->field, 0), optimiser::FieldText(v[k], steps[k]));
    }
    Label("Label1", 4)->setText(Q(std::to_string(variation) + " of " + std::to_string(total)));
    pbStatus->setValue(std::min(variation, pbStatus->maximum()));
    if (variation == INT32_MAX) rt::RaiseOverflow();
    ++variation;

    LoadParms();
    Yield();
    user::User().SetPointer(user::kPointerHourglass);
    Yield();
    objResearch->BuildResults();
    user::User().SetPointer(user::kPointerDefault);
    // A variation that did not run to its end writes no row; the resume runs it.
    if (objResearch->LastStageEnd() == clsResearch::StageEnd::kFailed)
      throw ShownError("The Trade stage failed at variation " + std::to_string(variation - 1) + ".");
    if (objResearch->LastStageEnd() == clsResearch::StageEnd::kStopped) return false;
    Yield();
    BuySellResults();
    Yield();
    // The settings as the stage read them: a field left empty keeps the value it ran with before.
    const RunParameters& ran = Parms();
    WriteBuySellResults(S(levels[0].list->currentText()), ran.intLifeofOrder, S(levels[2].list->currentText()),
                        ran.intLimitPercent, ran.intInitStopPercent, ran.intProfitable, ran.intDecline,
                        ran.intMaxDays, strTradeReportPath, rowAfterResume);
    rowAfterResume = false;
    Yield();
    return true;
  });
  if (!ranOut) return;
  ClearPauseCriteria();
  OpenFileWithDefaultApp(strTradeReportPath, false);
}

}  // namespace ui
