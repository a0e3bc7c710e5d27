// A Select run from an empty database over the shipped symbols: the default
// symbol file is imported, every history is downloaded from the stand-in
// quote service, and the winners land in the simulation table.
#include <gtest/gtest.h>

#include <set>

#include "select_fixture.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"

using testsupport::Day;

TEST(SelectShippedDataTest, EveryShippedSymbolIsDownloadedScannedAndStored) {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  // No symbols yet: the first run offers the default symbol file, the second runs.
  ASSERT_EQ(testsupport::SelectShippedSymbols(bed, "sim_shipped", Day(2019, 1, 2), Day(2019, 12, 31)), "complete");
  EXPECT_EQ(bed.User().PendingAnswers(), 0u);
  EXPECT_EQ(bed.User().Prompts().size(), 2u);

  EXPECT_EQ(bed.Events().totalStocks.back(), 20);
  std::set<std::string> scanned;
  for (const auto& call : bed.Events().stockCounts) scanned.insert(call.symbol);
  EXPECT_EQ(scanned.size(), 20u);
  long rows = std::stol(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped]"));
  EXPECT_EQ(static_cast<size_t>(rows), bed.Events().winners.size());
  // Every 2019 day of a symbol whose adjusted close stays inside the day's
  // low and high is a long and a short; where dividends alone put the
  // adjusted close below the traded low (IBM, JNJ), the gate drops the day.
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] WHERE Symbol = 'AAPL'"),
            std::to_string(2 * std::stol(bed.Scalar("SELECT COUNT(*) FROM [AAPL] WHERE DamnDate >= #1/2/2019# AND "
                                                    "DamnDate <= #12/31/2019#"))));
  EXPECT_EQ(bed.Scalar("SELECT MIN(AcquireDate) FROM [sim_shipped] WHERE Symbol = 'AAPL'"), "1/2/2019");
  EXPECT_EQ(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] WHERE DJ_RSI IS NULL OR NS_RSI = 0"), "0");

  // Every criterion at once over the stored histories: nothing more is asked.
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();
  parms.blnNoWinCriteria = false;
  parms.blnUseMA = parms.blnUseRSI = parms.blnUseBoll = parms.blnUseMinVol = true;
  parms.blnUseMACD = parms.blnUseADX = parms.blnUseSwing = true;
  parms.intRSIMode = 2;
  engine.ClearSimPort();
  std::vector<std::string> symbols{"all:"};
  EXPECT_EQ(engine.Process(Day(2019, 1, 2), Day(2019, 12, 31), symbols, true, true, "", parms.intWinDays), "complete");
  EXPECT_EQ(bed.User().Prompts().size(), 2u);
}
