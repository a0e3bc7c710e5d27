// Select, Trade and Portfolio in sequence over the shipped data, with the
// three report files: the replay keeps its slots, buys only traded rows,
// each once, and its balance and files agree with what it bought.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <tuple>

#include "simulation/engine_reports.h"
#include "simulation/portfolio_records.h"
#include "support/quote_service_process.h"
#include "support/shipped_simulation.h"

using testsupport::Day;

namespace {

class ReplayEvents : public testsupport::RecordingEvents {
 public:
  int results = 0;
  double balance = 0;
  int16_t released = 0;
  void Results(double&, double&, int16_t& shorts, int16_t& longs, int16_t&, int16_t&, double& b, int32_t&) override {
    ++results;
    balance = b;
    released = static_cast<int16_t>(shorts + longs);
  }
};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2)
    lines.push_back(bytes.substr(from, end - from));
  EXPECT_EQ(from, bytes.size()) << "every line ends with CR LF";
  return lines;
}

size_t Fields(const std::string& line) { return static_cast<size_t>(std::count(line.begin(), line.end(), '\t')) + 1; }

// The first day a position no longer holds its slot: the day after its
// release, or after the day its row's Bought names when it has no release.
rt::Date FreedOn(testsupport::EngineTestBed& bed, const PortfolioSlot& s) {
  if (!s.datReleaseDate.IsZero()) return s.datReleaseDate + 1;
  return rt::CDate(bed.Scalar("SELECT Bought FROM [sim_shipped] WHERE AcquireDate = #" +
                              rt::FormatDate(s.datAcquireDate) + "# AND Symbol = '" + s.strSymbol +
                              "' AND Positioning = '" + s.strPositioning + "'")) +
         1;
}

}  // namespace

TEST(PortfolioShippedDataTest, SelectTradeAndPortfolioWriteTheThreeReports) {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  ReplayEvents events;
  const long rows = testsupport::BuildShippedSimulation(bed, "sim_shipped", Day(2019, 7, 1), Day(2019, 12, 31));
  ASSERT_GT(rows, 1000);

  clsResearch& engine = bed.Engine();
  engine.SetListener(&events);
  RunParameters& parms = Parms();
  parms.intMaxStocks = 3;
  parms.intBuyPerDay = 2;
  parms.intBuyCriteria = 0;
  parms.blnCalculateResults = true;
  parms.blnAllStocksReport = parms.blnPerDayReport = true;
  std::filesystem::create_directories(bed.Folder().File("Reports"));
  simulation::CreateAllStocksReport();
  simulation::CreatePerDayReport();

  double balance = parms.dblStartInvestment;
  engine.SimResults(true, balance);
  ASSERT_EQ(events.results, 1);
  EXPECT_EQ(events.balance, balance);
  ASSERT_GT(udtPortfolio.size(), 20u);

  // Only rows the Trade stage filled, each once, never more open than slots.
  std::set<std::tuple<double, std::string, std::string>> keys;
  double expected = parms.dblStartInvestment;
  size_t released = 0;
  for (const PortfolioSlot& s : udtPortfolio) {
    EXPECT_GT(s.dblAcquirePrice, 0) << s.strSymbol;
    EXPECT_TRUE(keys.insert({s.datAcquireDate.Serial(), s.strSymbol, s.strPositioning}).second) << s.strSymbol;
    if (s.strBought == "S") ++released;
    if (s.strBought == "S" && !s.datReleaseDate.IsZero()) expected += s.dblGainLoss / 100 * s.dblAmount - 26;
  }
  EXPECT_NEAR(balance, expected, 1e-6);
  EXPECT_EQ(static_cast<size_t>(events.released), released);
  std::vector<rt::Date> freedOn;
  for (const PortfolioSlot& s : udtPortfolio) freedOn.push_back(FreedOn(bed, s));
  for (const ChartPoint& day : udtBalanceHistory) {
    int held = 0;
    for (size_t k = 0; k < udtPortfolio.size(); ++k)
      if (udtPortfolio[k].datAcquireDate + 1 <= day.datDate && day.datDate < freedOn[k]) ++held;
    EXPECT_LE(held, 3) << rt::FormatDate(day.datDate);
  }

  // The per-position log: one line per released position; the per-day log:
  // blocks of 14-field lines.
  const auto reports = bed.Folder().File("Reports");
  const auto bySymbol = Lines(testsupport::ReadFileBytes(reports / "Simulation Summary by Symbol.csv"));
  ASSERT_EQ(bySymbol.size(), 2 + released);
  for (size_t k = 2; k < bySymbol.size(); ++k) EXPECT_EQ(Fields(bySymbol[k]), 17u) << bySymbol[k];
  const auto byDate = Lines(testsupport::ReadFileBytes(reports / "Portfolio Summary by Date.csv"));
  size_t blocks = 0;
  for (size_t k = 2; k < byDate.size(); ++k) {
    if (byDate[k].empty()) ++blocks;
    else EXPECT_EQ(Fields(byDate[k]), 14u) << byDate[k];
  }
  EXPECT_GT(blocks, 10u);

  // The per-symbol summary of the table: every traded row once.
  const std::string summaryPath = engine.CreateSimulationSummary();
  EXPECT_EQ(summaryPath, (reports / "Portfolio Summary.csv").string());
  const auto summary = Lines(testsupport::ReadFileBytes(summaryPath));
  ASSERT_GT(summary.size(), 3u);
  EXPECT_EQ(summary[1], "Symbol\tLong\tShort\tTotal\tGainLoss");
  long counted = 0;
  for (size_t k = 2; k < summary.size(); ++k) {
    std::istringstream fields(summary[k]);
    std::string symbol;
    long longs, shorts, total;
    fields >> symbol >> longs >> shorts >> total;
    EXPECT_EQ(longs + shorts, total) << summary[k];
    counted += total;
  }
  EXPECT_EQ(std::to_string(counted), bed.Scalar("SELECT COUNT(*) FROM [sim_shipped] WHERE GainLoss IS NOT NULL"));
}
