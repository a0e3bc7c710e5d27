// The window's resume fields: IsPaused reads the pause row into them,
// ClearPauseCriteria zeroes them and the row.
#include "sweep_fixture.h"

TEST_F(SweepWindowTest, IsPausedReadsTheRowAndLooksAtTheCounters) {
  ui::frmMain& w = PortfolioWindow();
  EXPECT_FALSE(w.IsPaused());  // no row yet

  // A variation whose loop values are all 0 is paused all the same. The
  // counters go to the nearest whole number.
  w.objResearch->StorePauseCriteria({"0", "0", "0", "0", "0", "0", "0", "0", "7.5"}, true);
  EXPECT_TRUE(w.IsPaused());
  EXPECT_EQ(w.lngTradeCount, 8);

  w.objResearch->StorePauseCriteria({"2", "-1", "0", "0.25", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0.5", "12"},
                                    false);
  EXPECT_TRUE(w.IsPaused());
  EXPECT_EQ(w.varTradePause[0], 2);  // the ranking choice is kept in the first trade slot too
  EXPECT_EQ(w.varPortPause[1], -1);
  EXPECT_EQ(w.varPortPause[3], 0.25);
  EXPECT_EQ(w.lngPortPauseRev, 0);  // 0.5 to the even neighbour
  EXPECT_EQ(w.varPortCount, 12);
  EXPECT_EQ(w.lngTradeCount, 0);

  // A sweep paused in its second pass is paused whatever its values.
  w.objResearch->StorePauseCriteria(std::vector<std::string>(13, "0"), false);  // too few: nothing stored
  w.objResearch->StorePauseCriteria({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1", "4"}, false);
  EXPECT_TRUE(w.IsPaused());

  w.ClearPauseCriteria();
  EXPECT_EQ(w.varPortCount, 0);
  EXPECT_FALSE(w.IsPaused());
  std::vector<std::string> stored;
  w.objResearch->RetrievePauseCriteria(stored);
  EXPECT_EQ(stored, std::vector<std::string>(24, "0"));
}
