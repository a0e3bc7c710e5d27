#include "simulation/candidate_query.h"

#include <gtest/gtest.h>

namespace {

using simulation::BuildCandidateQuery;

const char* const kSelect = "SELECT BoughtDate, [DJ_MA], [DJ_RSI], [NS_MA], [NS_RSI], Market, PercentMA, Volume, "
                            "AcquireDate, Symbol, Positioning From [sim_Test] ";

RunParameters Parameters() {
  RunParameters p = RunParameters::DesignDefaults();  // commission 13, 0.5 % of volume, no ranking chosen
  p.strSimTable = "sim_Test";
  return p;
}

rt::Date Day(int y, int m, int d) { return rt::DateSerial(y, m, d); }

TEST(BuildQueryTest, DayAndRangeFormsInBothDialects) {
  RunParameters p = Parameters();
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()),
            std::string(kSelect) + "WHERE (AcquireDate = #3/9/2004#) AND AcquirePrice <> -1 AND "
                                   "((4987 / AcquirePrice) < (Volume * 0.005)) ORDER BY PercentMA");
  // The range check passes amount 0: the liquidity test reads a negative number.
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 1), 0, Day(2004, 12, 31)),
            std::string(kSelect) +
                "WHERE (AcquireDate >= #2/29/2004#) AND (AcquireDate <= #12/31/2004#) AND AcquirePrice <> -1 AND "
                "((-13 / AcquirePrice) < (Volume * 0.005)) ORDER BY PercentMA");

  p.intDatabaseType = 2;
  p.dblCommission = 9.99;
  p.dblMaxVolPct = 2;
  EXPECT_EQ(BuildCandidateQuery(p, Day(2005, 1, 1), 3333.5, rt::Date()),
            std::string(kSelect) + "WHERE (AcquireDate ='12/31/2004') AND AcquirePrice <> -1 AND "
                                   "((3323.51 / AcquirePrice) < (Volume * 0.02)) ORDER BY PercentMA");
  EXPECT_EQ(BuildCandidateQuery(p, Day(2005, 1, 1), 0, Day(2005, 2, 1)),
            std::string(kSelect) +
                "WHERE (AcquireDate >= '12/31/2004') AND (AcquireDate <= '2/1/2005') AND AcquirePrice <> -1 AND "
                "((-9.99 / AcquirePrice) < (Volume * 0.02)) ORDER BY PercentMA");
}

TEST(BuildQueryTest, UnknownDialectKeepsOnlyTheTail) {
  RunParameters p = Parameters();
  p.intDatabaseType = 3;
  p.blnPercentMA = true;
  p.strPercentMAMin = "2";
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()), " AND (PercentMA >= 2) ORDER BY PercentMA");
}

TEST(BuildQueryTest, EveryBoundGroupInOrderWhenIndicatorsAreCombined) {
  RunParameters p = Parameters();
  p.blnCombineIndicators = true;
  p.blnPercentMA = true, p.strPercentMAMin = "-5", p.strPercentMAMax = "5abc";
  p.blnPriceChange = true, p.strPriceChangeMin = "1.50", p.strPriceChangeMax = "";
  p.blnVolChange = true, p.strVolChangeMin = "", p.strVolChangeMax = "200";
  p.blnMACDRange = true, p.strMACDMin = "x1", p.strMACDMax = " ";
  p.blnBBDist = true, p.strBBDistMin = "-0.25", p.strBBDistMax = "0.75";
  p.blnRSIChange = true, p.strRSIChangeMin = "-10", p.strRSIChangeMax = "10";
  p.blnDJMA = true, p.strDJMAMin = "-3", p.strDJMAMax = "4";
  p.blnDJRSI = true, p.strDJRSIMin = "30", p.strDJRSIMax = "70";
  p.blnNSMA = true, p.strNSMAMin = "-6", p.strNSMAMax = "7";
  p.blnNSRSI = true, p.strNSRSIMin = "25", p.strNSRSIMax = "75";
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()),
            std::string(kSelect) +
                "WHERE (AcquireDate = #3/9/2004#) AND AcquirePrice <> -1 AND "
                "((4987 / AcquirePrice) < (Volume * 0.005))  AND (PercentMA >= -5)  AND (PercentMA <= 5) "
                " AND (PriceChange >= 1.5)  AND (VolumeChange <= 200)  AND (MACD >= 0)  AND (MACD <= 0) "
                " AND (BBDistance >= -0.25)  AND (BBDistance <= 0.75)  AND (RSIChange >= -10) "
                " AND (RSIChange <= 10)  AND (DJ_MA >= -3)  AND (DJ_MA <= 4)  AND (DJ_RSI >= 30) "
                " AND (DJ_RSI <= 70)  AND (NS_MA >= -6)  AND (NS_MA <= 7)  AND (NS_RSI >= 25) "
                " AND (NS_RSI <= 75) ORDER BY PercentMA");

  // Without combining, the index ranges are left to the market rules; a
  // switched-off group writes nothing whatever its bounds hold.
  p.blnCombineIndicators = false;
  p.blnPriceChange = p.blnVolChange = p.blnMACDRange = p.blnBBDist = p.blnRSIChange = false;
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()),
            std::string(kSelect) +
                "WHERE (AcquireDate = #3/9/2004#) AND AcquirePrice <> -1 AND "
                "((4987 / AcquirePrice) < (Volume * 0.005))  AND (PercentMA >= -5)  AND (PercentMA <= 5) "
                "ORDER BY PercentMA");
}

TEST(BuildQueryTest, SideAndMarketFiltersQuoteTheirValues) {
  RunParameters p = Parameters();
  p.blnSelectByPosition = true, p.strSelectPositioning = "LONG";
  p.blnSelectByMarket = true, p.strSelectMarket = "n'y";
  EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()),
            std::string(kSelect) +
                "WHERE (AcquireDate = #3/9/2004#) AND AcquirePrice <> -1 AND "
                "((4987 / AcquirePrice) < (Volume * 0.005))  AND ([Positioning] = 'LONG')  AND ([Market] = 'n''y') "
                "ORDER BY PercentMA");
}

TEST(BuildQueryTest, EachRanking) {
  RunParameters p = Parameters();
  const std::string head = std::string(kSelect) + "WHERE (AcquireDate = #3/9/2004#) AND AcquirePrice <> -1 AND "
                                                  "((4987 / AcquirePrice) < (Volume * 0.005)) ";
  const std::pair<int16_t, const char*> rankings[] = {{-1, "ORDER BY PercentMA"},
                                                      {0, "ORDER BY PercentMA"},
                                                      {1, "ORDER BY MACD DESC"},
                                                      {2, "ORDER BY PriceChange"},
                                                      {3, "ORDER BY VolumeChange DESC"},
                                                      {4, "ORDER BY PercentMA * VolumeChange DESC"},
                                                      {5, "ORDER BY PercentMA DESC"},
                                                      {6, ""},
                                                      {-2, ""}};
  for (const auto& [criteria, orderBy] : rankings) {
    p.intBuyCriteria = criteria;
    EXPECT_EQ(BuildCandidateQuery(p, Day(2004, 3, 10), 5000, rt::Date()), head + orderBy) << criteria;
  }
}

TEST(BoundValueTest, LeadingNumberOrZero) {
  EXPECT_EQ(simulation::BoundValue("12abc"), 12);
  EXPECT_EQ(simulation::BoundValue("-2.5%"), -2.5);
  EXPECT_EQ(simulation::BoundValue("abc"), 0);
  EXPECT_EQ(simulation::BoundValue(" "), 0);
}

simulation::IndexReadings Row(const char* market, std::optional<double> djMA, std::optional<double> djRSI,
                              std::optional<double> nsMA, std::optional<double> nsRSI) {
  simulation::IndexReadings r;
  if (market) r.market = market;
  r.djMA = djMA, r.djRSI = djRSI, r.nsMA = nsMA, r.nsRSI = nsRSI;
  return r;
}

TEST(MarketRulesTest, DowRangesJudgeNyseAndAmexRowsOnly) {
  RunParameters p = Parameters();
  p.blnDJMA = true, p.strDJMAMin = "-2", p.strDJMAMax = "5";
  p.blnDJRSI = true, p.strDJRSIMin = "", p.strDJRSIMax = "70";
  using simulation::MarketRulesReject;
  EXPECT_TRUE(MarketRulesReject(p, Row("ny", -3, 50, 0, 0)));
  EXPECT_TRUE(MarketRulesReject(p, Row("am", 6, 50, 0, 0)));
  EXPECT_TRUE(MarketRulesReject(p, Row("ny", 0, 71, 0, 0)));
  EXPECT_FALSE(MarketRulesReject(p, Row("ny", -2, 70, 0, 0)));   // bounds are inclusive
  EXPECT_FALSE(MarketRulesReject(p, Row("ny", 0, -100, 0, 0)));  // no lower RSI bound typed
  EXPECT_FALSE(MarketRulesReject(p, Row("ns", -30, 99, 0, 0)));
  EXPECT_FALSE(MarketRulesReject(p, Row("NY", -30, 99, 0, 0)));  // market compared exactly
  EXPECT_FALSE(MarketRulesReject(p, Row("ny", std::nullopt, std::nullopt, 0, 0)));
  EXPECT_FALSE(MarketRulesReject(p, Row(nullptr, -30, 99, 0, 0)));

  p.blnCombineIndicators = true;  // the statement applies them instead
  EXPECT_FALSE(MarketRulesReject(p, Row("ny", -3, 50, 0, 0)));
}

TEST(MarketRulesTest, NasdaqRangesJudgeNasdaqRowsOnly) {
  RunParameters p = Parameters();
  p.blnNSMA = true, p.strNSMAMin = " ", p.strNSMAMax = "";    // a blank bound reads as 0
  p.blnNSRSI = true, p.strNSRSIMin = "", p.strNSRSIMax = "";  // on, but nothing typed
  p.blnDJMA = false, p.strDJMAMin = "100";
  using simulation::MarketRulesReject;
  EXPECT_TRUE(MarketRulesReject(p, Row("ns", 0, 0, -0.5, 50)));
  EXPECT_FALSE(MarketRulesReject(p, Row("ns", 0, 0, 0, 1000)));
  EXPECT_FALSE(MarketRulesReject(p, Row("ny", 0, 0, -0.5, 50)));
  EXPECT_FALSE(MarketRulesReject(p, Row("xx", -50, 0, -50, 50)));
}

}  // namespace
