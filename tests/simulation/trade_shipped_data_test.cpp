// A Select run over the shipped symbols followed by the Trade stage: every
// row the stage could trade carries a gain or loss, the rest stay reset and
// are counted, and each traded row is what trading it alone would store.
#include <gtest/gtest.h>

#include "market_data/database_connection.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"

using testsupport::Day;

namespace {

class TotalsListener : public testsupport::RecordingEvents {
 public:
  int32_t shorts = -1, longs = -1, winners = -1, losers = -1;
  void BuySellResults(double&, int32_t& s, int32_t& l, int32_t& w, int32_t& lo, double&, double&) override {
    shorts = s, longs = l, winners = w, losers = lo;
  }
};

}  // namespace

TEST(TradeShippedDataTest, SelectThenTradeWritesAResultForEveryTradableRow) {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();
  ASSERT_EQ(testsupport::SelectShippedSymbols(bed, "sim_shipped", Day(2019, 7, 1), Day(2019, 12, 31)), "complete");

  // The Trade settings as the window first shows them, a Market order.
  parms.strTypeOfPurchase = "Market";
  parms.intDecline = 3;
  parms.strSimEnd = "12/31/2019";
  parms.blnUseInternet = true;  // the stage must not download all the same
  TotalsListener totals;
  engine.SetListener(&totals);
  engine.BuildResults();
  EXPECT_TRUE(parms.blnUseInternet);
  EXPECT_EQ(bed.User().Prompts().size(), 2u);  // nothing asked beyond the import

  auto count = [&](const std::string& where) {
    return std::stol(bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] " + where));
  };
  long rows = count("");
  ASSERT_GT(rows, 1000);
  long untraded = count("WHERE AcquirePrice = -1");
  EXPECT_EQ(untraded, engine.RowsNotTraded());
  EXPECT_EQ(count("WHERE GainLoss IS NULL"), untraded);
  EXPECT_EQ(count("WHERE Bought IS NULL"), untraded);
  // The signals of the last day have no next Open to buy at.
  EXPECT_EQ(count("WHERE AcquireDate = #12/31/2019#"), count("WHERE AcquireDate = #12/31/2019# AND AcquirePrice = -1"));
  EXPECT_GT(count("WHERE Bought = 'B'"), rows / 2);
  EXPECT_EQ(count("WHERE MaxPrice <> 0 OR MinPrice <> 0"), 0);

  engine.BuySellResults();
  ::testing::Test::RecordProperty("rows", static_cast<int>(rows));
  ::testing::Test::RecordProperty("untraded", static_cast<int>(untraded));
  EXPECT_EQ(totals.shorts + totals.longs, rows);
  EXPECT_EQ(totals.winners + totals.losers, rows - untraded);

  // Trading a row on its own (reading its history from the database) stores
  // exactly what the run stored.
  db::Recordset sample = SharedConnection().OpenRecordset(
      "SELECT AcquireDate, Symbol, Positioning, AcquirePrice, Bought, ReleasePrice, ReleaseDate, GainLoss FROM "
      "[sim_shipped] WHERE AcquirePrice <> -1 ORDER BY Symbol, AcquireDate, Positioning");
  int checked = 0;
  for (long k = 0; !sample.Eof(); sample.MoveNext(), ++k) {
    if (k % 37 != 0) continue;
    rt::Date date = sample.Field(0).ToDate(), end = rt::CDate(parms.strSimEnd);
    std::string symbol = sample.Field(1).ToText(), side = sample.Field(2).ToText();
    engine.TradeState().dblGainLoss = 0;  // as BuildResults leaves it between rows
    ASSERT_TRUE(engine.UpdateTargetPrice(date, end, symbol, side));
    db::Recordset again = SharedConnection().OpenRecordset(
        "SELECT AcquirePrice, Bought, ReleasePrice, ReleaseDate, GainLoss FROM [sim_shipped] WHERE AcquireDate = #" +
        rt::FormatDate(sample.Field(0).ToDate()) + "# AND Symbol = '" + symbol + "' AND Positioning = '" + side + "'");
    for (int f = 0; f < 5; ++f)
      ASSERT_EQ(again.Field(f).ToText(), sample.Field(3 + f).ToText()) << symbol << " " << rt::FormatDate(date);
    ++checked;
  }
  EXPECT_GT(checked, 40);
}
