#pragma once
// The eight loops of the trade sweep, outermost first: the purchase type, the
// life of the order, the target price, then % above target, initial stop,
// profitable at, % decline and max days. A list walks its selection index, a
// number setting its field's value from Min to Max by Step; a setting that is
// not swept runs once as it stands. The sweep and its header set up the same.
#include <QComboBox>
#include <array>
#include <string>
#include <vector>

#include "optimiser/sweep_fields.h"
#include "optimiser/sweep_loops.h"

namespace ui {
class frmMain;
}

namespace optimiser {

inline constexpr int kTradeLevels = 8;

struct TradeLevel {
  int box = 0;
  QComboBox* list = nullptr;
  const TradeRange* range = nullptr;
  bool swept = false;
  std::string startText, endText;  // as typed, for the header
};

struct TradeLoops {
  std::array<TradeLevel, kTradeLevels> levels;
  std::vector<SweepLoop> loops;
  // The report's header: the ranges the sweep starts with, as typed.
  std::vector<std::string> Header() const;
};

TradeLoops SetUpTradeLoops(const ui::frmMain& window);

}  // namespace optimiser
