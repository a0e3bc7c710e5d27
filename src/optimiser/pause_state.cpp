// The main window's side of a sweep's pause row: the 24 resume fields that
// mirror it, read back by IsPaused and zeroed by ClearPauseCriteria, which
// also forgets the sweep's record.
#include <algorithm>
#include <cstdint>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/rounding.h"
#include "ui/main_window.h"

namespace ui {
namespace {

clsResearch& Engine(const std::shared_ptr<clsResearch>& engine) {
  if (!engine) throw rt::Error(91, "Object variable or With block variable not set");
  return *engine;
}

// A counter slot to the nearest whole number; a value out of range (a
// damaged row) is held at the nearest end.
int32_t Counter(double value) {
  return static_cast<int32_t>(std::clamp(rt::RoundHalfEven(value), double(INT32_MIN), double(INT32_MAX)));
}

}  // namespace

bool frmMain::IsPaused() {
  std::vector<std::string> stored;
  Engine(objResearch).RetrievePauseCriteria(stored);
  stored.resize(24);
  for (size_t i = 0; i < varTradePause.size(); ++i) varTradePause[i] = rt::Val(stored[i]);
  lngTradeCount = Counter(rt::Val(stored[8]));
  for (size_t i = 0; i < varPortPause.size(); ++i) varPortPause[i] = rt::Val(stored[9 + i]);
  lngPortPauseRev = Counter(rt::Val(stored[22]));
  varPortCount = rt::Val(stored[23]);

  // A sweep stores its variation number (1 or more) in its own counter; its
  // loop values may all be 0.
  return lngTradeCount > 0 || varPortCount > 0;
}

void frmMain::ClearPauseCriteria() {
  varTradePause.fill(0);
  lngTradeCount = 0;
  varPortPause.fill(0);
  lngPortPauseRev = 0;
  varPortCount = 0;
  // The portfolio layout with zeros writes 0 into every one of the 24 stored.
  std::vector<std::string> zeros(15, "0");
  Engine(objResearch).StorePauseCriteria(zeros, false);
  objResearch->ClearSweepRecord();  // nothing to resume, nothing to write on into
}

// Each sweep resumes only its own kind: a store in one layout zeroes the other's counter.
bool frmMain::TradeSweepPaused() { return IsPaused() && lngTradeCount > 0; }
bool frmMain::PortfolioSweepPaused() { return IsPaused() && varPortCount > 0; }

void frmMain::PrepareSweepResume() {
  // The tabs say S.M.A.R.T. is on while a sweep waits to be resumed.
  if (!SweepSwitchOn()) cmdSMART_Click(0);
  // A trade sweep's row holds its variation number; a portfolio sweep's holds 0 there.
  if (lngTradeCount < 1) {
    tabResearch->setCurrentIndex(2);
    blnPortfolioSMART = true;
  } else {
    tabResearch->setCurrentIndex(1);
    blnTradeSMART = true;
  }
  cmdSimulate->setEnabled(true);
  cmdPauseSim->setEnabled(false);
  cmdStopSim->setEnabled(true);
  Widget("dteSimDate", 0)->setEnabled(false);
  Widget("dteSimDate", 1)->setEnabled(false);
  tabResearch->setEnabled(false);
  SetRunLockEnabled(false);
  Label("lblCurrStock", 1)->setText("Processing Paused");
}

}  // namespace ui
