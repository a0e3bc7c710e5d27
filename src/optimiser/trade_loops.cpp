#include "optimiser/trade_loops.h"

#include "ui/main_window.h"

namespace optimiser {
namespace {

std::string HeaderCell(const TradeLevel& level) {
  return std::string(level.range->caption) + "(" + level.startText + ":" + level.endText + ")";
}

}  // namespace

std::vector<std::string> TradeLoops::Header() const {
  std::vector<std::string> cells = {"Purchase Type", HeaderCell(levels[1]), "Target Price"};
  for (int k = 3; k < kTradeLevels; ++k) cells.push_back(HeaderCell(levels[k]));
  for (const char* cell : {"Win/Loss", "Short/Long", "Avg. Return"}) cells.push_back(cell);
  return cells;
}

TradeLoops SetUpTradeLoops(const ui::frmMain& window) {
  TradeLoops setUp;
  setUp.loops.assign(kTradeLevels, SweepLoop{});
  std::array<TradeLevel, kTradeLevels>& levels = setUp.levels;
  levels[0].list = window.Combo("cboTypeOfPurchase");
  levels[0].box = 0;
  levels[2].list = window.Combo("cboPurchasePrice");
  levels[2].box = 2;
  const int numberLevels[] = {1, 3, 4, 5, 6, 7};
  for (int r = 0; r < 6; ++r) {
    levels[numberLevels[r]].range = &kTradeRanges[r];
    levels[numberLevels[r]].box = kTradeRanges[r].box;
  }
  for (int k = 0; k < kTradeLevels; ++k) {
    TradeLevel& level = levels[k];
    level.swept = window.Check("chkBuildOption", level.box)->Value() == 1;
    SweepLoop& loop = setUp.loops[k];
    if (level.list) {
      double current = level.list->currentIndex();
      loop.start = Bound::Number(level.swept ? 0 : current);
      loop.end = Bound::Number(level.swept ? level.list->count() - 1 : current);
      continue;
    }
    const TradeRange& range = *level.range;
    level.startText = ui::S(window.Text(range.field, 0)->text());
    level.endText = level.swept ? ui::S(window.Text(range.field, 1)->text()) : level.startText;
    if (level.swept) {
      loop.start = Bound::Text(level.startText, ui::ControlDisplayName(range.field, 0));
      loop.end = Bound::Text(level.endText, ui::ControlDisplayName(range.field, 1));
      loop.step = Bound::Text(ui::S(window.Text(range.step)->text()), range.step);
    } else if (level.startText.empty()) {
      // Not swept and left empty: runs once, its field as it is (the Trade
      // stage then keeps its previous value, which the rows show).
      loop.start = loop.end = Bound::Number(0);
    } else {
      loop.start = loop.end = Bound::Text(level.startText, ui::ControlDisplayName(range.field, 0));
    }
  }
  return setUp;
}

}  // namespace optimiser
