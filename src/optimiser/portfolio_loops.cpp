#include "optimiser/portfolio_loops.h"

#include "ui/main_window.h"

namespace optimiser {

void SetUpPortfolioPass(const ui::frmMain& window, int pass, PortfolioLoops& setUp, PassPurpose purpose) {
  setUp.loops.assign(kPortfolioLoops, SweepLoop{});
  for (int l = 0; l < kListLoops; ++l) {
    QComboBox* list = window.Combo(kRankingLists[l].combo);
    bool swept = window.Check("chkBuildOption", kRankingLists[l].box)->Value() == 1;
    double current = list->currentIndex();
    setUp.swept[l] = swept;
    setUp.loops[l].start = Bound::Number(swept ? 0 : current);
    setUp.loops[l].end = Bound::Number(swept ? list->count() - 1 : current);
  }
  for (int r = 0; r < kRankingRangeCount; ++r) {
    const RankingRange& range = kRankingRanges[r];
    bool swept = window.Check("chkBuildOption", range.box)->Value() == 1;
    auto field = [&](int index) {
      return Bound::Text(ui::S(window.Text(range.field, index)->text()), ui::ControlDisplayName(range.field, index));
    };
    SweepLoop& loop = setUp.loops[kListLoops + r];
    setUp.swept[kListLoops + r] = swept;
    if (pass == 0) {
      if (swept) {
        loop.start = field(0);
        loop.end = field(1);
        loop.step = Bound::Text(ui::S(window.Text("txtStep", r)->text()), ui::ControlDisplayName("txtStep", r));
      } else {
        loop.start = loop.end = field(0);
      }
      setUp.savedMin[r] = loop.start;
      setUp.savedMax[r] = loop.end;
      setUp.passZeroStep[r] = loop.step;
    } else if (swept) {
      double max = field(1).Value();
      double step = setUp.passZeroStep[r].Value();
      loop.start = Bound::Number(max - step);
      loop.end = setUp.savedMin[r];
      loop.step = Bound::Number(-step);
    } else {
      loop.start = loop.end = field(purpose == PassPurpose::kCount ? 0 : 1);
    }
    loop.ApplyBlankRule();
  }
}

}  // namespace optimiser
