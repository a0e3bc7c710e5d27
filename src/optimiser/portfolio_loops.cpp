#include "optimiser/portfolio_loops.h"

#include "ui/main_window.h"

namespace optimiser {

PortfolioLoops SetUpPortfolioLoops(const ui::frmMain& window) {
  PortfolioLoops setUp;
  for (std::vector<SweepLoop>& loops : setUp.passes) loops.assign(kPortfolioLoops, SweepLoop{});
  for (int l = 0; l < kListLoops; ++l) {
    QComboBox* list = window.Combo(kRankingLists[l].combo);
    bool swept = window.Check("chkBuildOption", kRankingLists[l].box)->Value() == 1;
    setUp.swept[l] = swept;
    for (std::vector<SweepLoop>& loops : setUp.passes) {
      loops[l].start = Bound::Number(swept ? 0 : list->currentIndex());
      loops[l].end = Bound::Number(swept ? list->count() - 1 : list->currentIndex());
    }
  }
  for (int r = 0; r < kRankingRangeCount; ++r) {
    const RankingRange& range = kRankingRanges[r];
    const int l = kListLoops + r;
    setUp.typedMin[r] = ui::S(window.Text(range.field, 0)->text());
    setUp.typedMax[r] = ui::S(window.Text(range.field, 1)->text());
    setUp.swept[l] = window.Check("chkBuildOption", range.box)->Value() == 1;
    if (!setUp.swept[l]) {
      // Runs once, at 0, which nothing reads.
      for (std::vector<SweepLoop>& loops : setUp.passes) loops[l].start = loops[l].end = Bound::Number(0);
      continue;
    }

    SweepLoop& rising = setUp.passes[0][l];
    rising.start = Bound::Text(setUp.typedMin[r], ui::ControlDisplayName(range.field, 0));
    rising.end = Bound::Text(setUp.typedMax[r], ui::ControlDisplayName(range.field, 1));
    rising.step = Bound::Text(ui::S(window.Text("txtStep", r)->text()), ui::ControlDisplayName("txtStep", r));

    SweepLoop& falling = setUp.passes[1][l];
    const double max = rising.end.Value();
    const double step = rising.step.Value();
    falling.start = Bound::Number(max - step);
    falling.end = rising.start;
    falling.step = Bound::Number(-step);

    rising.ApplyBlankRule();
    falling.ApplyBlankRule();
  }
  return setUp;
}

}  // namespace optimiser
