// The portfolio replay: one calendar day at a time over the simulation
// table, with a fixed number of slots, a daily purchase cap and a running
// balance. The day's rules themselves live in portfolio_replay_rules.cpp.
#include "simulation/portfolio_replay.h"

#include <algorithm>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/recordset.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"
#include "simulation/candidate_query.h"
#include "simulation/portfolio_records.h"
#include "simulation/portfolio_replay_candidates.h"
#include "simulation/simulation_table_key.h"

namespace {

// Trace lines are built only when the trace is on: the replay runs thousands
// of times in a sweep.
template <typename MakeText>
void Trace(MakeText&& make) {
  if (blnLogging) LogError(make());
}

std::string RequiredText(const db::Value& v) {
  if (v.IsNull()) rt::RaiseInvalidUseOfNull();
  return v.ToText();
}

// The replay's counters are 16-bit: past that range they fail rather than wrap.
void Increment(int16_t& counter) { counter = rt::CInt(static_cast<double>(counter) + 1); }

// The bought candidate's own row, as a query would read it again by its key.
void ReadBoughtRow(const simulation::DayCandidates& day, uint32_t index, PortfolioSlot& slot) {
  const simulation::ReplayTable& table = day.Table();
  const simulation::ReplayRow& row = table.Row(index);
  Trace([&] { return "Opening recordet: " + table.Text(row.symbol) + " " + table.Text(row.positioning); });
  Trace([] { return std::string("Recordet open"); });
  user::DoEvents();
  using simulation::CellValue;
  slot.datAcquireDate = day.AcquireDate().ToDate();
  if (const db::Value& v = table.Value(row.boughtDate); !v.IsNull()) slot.datBoughtDate = v.ToDate();
  slot.strPositioning = RequiredText(table.Value(row.positioning));
  slot.dblRSI = CellValue(row.rsi).ToDouble();
  if (const db::Value& v = table.Value(row.releaseDate); v.GetKind() == db::Value::Kind::Date) {
    slot.datReleaseDate = v.ToDate();
    slot.dblGainLoss = CellValue(row.gainLoss).ToDouble();
  }
  slot.dblPercentMA = CellValue(row.percentMA).ToDouble();
  slot.strSymbol = RequiredText(table.Value(row.symbol));
  slot.lngVolume = rt::CLng(simulation::VolumeOf(row));
  slot.dblAcquirePrice = row.acquirePrice;
  slot.strMarket = RequiredText(table.Value(row.market));
  slot.dblVolumeChange = CellValue(row.volumeChange).ToDouble();
  slot.dblPriceChange = CellValue(row.priceChange).ToDouble();
  slot.dblMACD = CellValue(row.macd).ToDouble();
  if (!simulation::IsNull(row.releasePrice)) slot.dblReleasePrice = row.releasePrice;
  if (!simulation::IsNull(row.targetPrice)) slot.dblTargetPrice = row.targetPrice;
  if (const db::Value& v = table.Value(row.bought); !v.IsNull()) slot.strBought = v.ToText();
}

}  // namespace

void clsResearch::SimResults(bool blnReplay, double& dblBalance) {
  Trace([&] {
    return "Entering clsResearch.SimResults: " + std::string(blnReplay ? "True" : "False") + ", " +
           rt::FormatNumber(dblBalance);
  });
  stageEnd_ = StageEnd::kComplete;
  if (StageStopped()) return;
  const RunParameters& p = Parms();
  udtBalanceHistory.assign(1, ChartPoint{});
  if (p.strSimTable.empty() || p.strSimTable == "SimPort") {
    NoteStageEnd(StageEnd::kFailed);
    user::MsgBox("Invalid Simulation Table.");
    return;
  }
  try {
    ReplayDays(blnReplay, dblBalance);
  } catch (const std::exception& e) {
    NoteStageEnd(StageEnd::kFailed);
    const auto* error = dynamic_cast<const rt::Error*>(&e);
    Trace([&] { return "Error: " + std::to_string(error ? error->Number() : 0) + " - " + e.what(); });
    user::MsgBox(e.what());
    user::User().SetPointer(user::kPointerDefault);
  }
  rsResearch_.reset();
  Trace([] { return std::string("Exiting clsResearch.SimResults"); });
}

void clsResearch::ReplayDays(bool blnReplay, double& dblBalance) {
  const RunParameters& p = Parms();
  const int16_t buyPerDay = p.intBuyPerDay;
  std::vector<clsStock> candidates(1);
  int32_t startBalance = rt::CLng(dblBalance);
  rsResearch_ = std::make_unique<db::Recordset>();
  ResetPortfolio();
  ReplayReports reports(*this);

  // The earliest signal day; the newest-first walk of every row gives the
  // same day, one indexed row is enough.
  const std::string firstDaySql =
      "SELECT TOP 1 AcquireDate FROM [" + db::SqlName(p.strSimTable) + "] ORDER BY AcquireDate";
  Trace([&] { return "Opening recordset: " + firstDaySql; });
  *rsResearch_ = SharedConnection().OpenRecordset(firstDaySql);
  Trace([] { return std::string("Recordset open"); });
  user::DoEvents();
  if (rsResearch_->Eof()) {
    Trace([] { return std::string("Recordset EOF"); });
    NoteStageEnd(StageEnd::kFailed);
    user::MsgBox(simulation::kEmptySimulationTableMessage);
    return;
  }
  rt::Date firstDay = rsResearch_->Field(0).ToDate();
  Trace([&] { return "Recordset not EOF, datStart = " + rt::FormatDate(firstDay); });
  rt::Date lastDay = rt::CDate(p.strSimEnd);
  const int32_t totalDays = rt::CLng(static_cast<double>(lastDay.DayNumber() - firstDay.DayNumber() + 1));
  rsResearch_->Close();
  if (p.blnSelectByDate) {
    firstDay = p.datSelectStart;
    lastDay = p.datSelectEnd;
  }

  // An account valued from the database is valued once; the replay then
  // runs from that balance like from any other.
  if (dblBalance == -1) {
    dblBalance = GetCashBalance() + GetStockBalance();
    startBalance = rt::CLng(dblBalance);
  }

  // Only the two dialects have a candidate statement this database can run:
  // any other kind's text is refused here, as it always was.
  if (p.intDatabaseType != 1 && p.intDatabaseType != 2)
    SharedConnection().OpenRecordset("SELECT TOP 1 * FROM (" + simulation::CandidateSelection(p, firstDay, 0, lastDay) +
                                     ")");
  // Held for the whole replay, whatever a yield to the window lets happen meanwhile.
  const std::shared_ptr<simulation::ReplayTable> rows = ReplayRows(firstDay, lastDay);
  simulation::ReplayCandidates replay(*rows, p, simulation::ReplayCandidates::RowsNeeded(p, firstDay, lastDay));
  const bool anyCandidate = replay.AnyBetween(firstDay, lastDay);

  int16_t openPositions = 0;
  int16_t positionsBought = 0;
  int32_t simulatedDays = 0;
  int16_t historyIndex = 0;
  if (anyCandidate) {
    for (rt::Date day = firstDay; day <= lastDay; day = day + 1) {
      if (StageStopped()) return;
      ++simulatedDays;
      int32_t total = totalDays;
      Trace([&] { return "Raising Progress2: " + std::to_string(simulatedDays) + ", " + std::to_string(total); });
      Raise(&ResearchEvents::Progress2, simulatedDays, total);

      for (PortfolioSlot& slot : udtPortfolio)
        if (simulation::ReleaseIfDue(slot, day, p.dblCommission, dblBalance)) --openPositions;

      if (openPositions < p.intMaxStocks) {
        const double amount = GetPurchaseAmount(dblBalance);
        const int32_t toBuy = std::min<int32_t>(p.intMaxStocks - openPositions, buyPerDay);
        Trace([] { return std::string("Calling BuildQuery"); });
        Trace([&] { return "BuildQuery returned: " + BuildQuery(day, amount, blnReplay, rt::Date()); });
        Trace([] { return std::string("Opening recordset"); });
        simulation::DayCandidates dayCandidates = replay.Day(day, amount);
        Trace([] { return std::string("Recordset open"); });
        user::DoEvents();
        if (!dayCandidates.Eof()) {
          Trace([] { return std::string("Recordset not EOF"); });
          Trace([] { return std::string("Calling MarketRules"); });
          MarketRules(toBuy, dayCandidates, candidates);
          Trace([] { return std::string("MarketRules returned"); });
          if (!candidates.empty() && candidates[0].Volume != 0) {
            if (!BuyCandidates(candidates, dayCandidates, amount, positionsBought, openPositions)) return;
            candidates.assign(1, clsStock{});
          }
        }
        user::DoEvents();
        if (p.blnCalculateResults) {
          Trace([&] { return "Calling UpdateDisplay: " + rt::FormatDate(day); });
          UpdateDisplay(day);
          Trace([] { return std::string("UpdateDisplay returned"); });
        }
        if (p.blnPerDayReport) {
          Trace([&] { return "Calling OutputPerDayReport: " + rt::FormatDate(day); });
          OutputPerDayReport(day);
        }
      }

      udtBalanceHistory.resize(static_cast<size_t>(historyIndex) + 1);
      udtBalanceHistory[static_cast<size_t>(historyIndex)] = ChartPoint{dblBalance, day};
      Increment(historyIndex);
    }
  }

  simulation::ReplayTally tally;
  for (size_t k = 0; k < udtPortfolio.size(); ++k) {
    if (StageStopped()) return;
    const PortfolioSlot& slot = udtPortfolio[k];
    if (slot.strBought != "S") continue;
    tally.Add(slot);
    if (p.blnAllStocksReport) {
      Trace([&] { return "Calling OuputAllStocksReport: " + std::to_string(k); });
      OuputAllStocksReport(k);
      Trace([] { return std::string("OuputAllStocksReport returned"); });
    }
  }
  reports.Finish();

  double averageReturn = 0, averageHold = 0, balance = 0;
  int16_t shorts = 0, longs = 0, winners = 0, losers = 0;
  int32_t start = 0;
  if (!simulation::NothingBought(udtPortfolio)) {
    const simulation::ReplayResults r = tally.Results(udtPortfolio.size());
    averageReturn = r.averageReturn;
    averageHold = r.averageHold;
    shorts = rt::CInt(static_cast<double>(r.shorts));
    longs = rt::CInt(static_cast<double>(r.longs));
    winners = rt::CInt(static_cast<double>(r.winners));
    losers = rt::CInt(static_cast<double>(r.losers));
    balance = dblBalance;
    start = startBalance;
  }
  Raise(&ResearchEvents::Results, averageReturn, averageHold, shorts, longs, winners, losers, balance, start);
}

std::shared_ptr<simulation::ReplayTable> clsResearch::ReplayRows(rt::Date firstDay, rt::Date lastDay) {
  const RunParameters& p = Parms();
  const std::optional<simulation::TextRange> range = simulation::ReplayCandidates::RowsNeeded(p, firstDay, lastDay);
  // Taken before the rows are read: a change made meanwhile makes them stale.
  simulation::DatabaseStamp now = simulation::CurrentDatabaseStamp();
  if (!replayTable_ || !replayTable_->Holds(p.strSimTable, range, now)) {
    replayTable_.reset();
    // The rows are read by their key, page by page: a table a killed Select
    // left without it is keyed first (an opened simulation whose trades
    // stand replays without a Trade stage).
    if (std::string refused = simulation::KeyTable(SharedConnection(), db::SqlName(p.strSimTable)); !refused.empty())
      ShowRowFailure(refused, user::kOKOnly);
    now = simulation::CurrentDatabaseStamp();
    replayTable_ = simulation::ReplayTable::Read(p.strSimTable, range, now);
  }
  return replayTable_;
}

bool clsResearch::BuyCandidates(const std::vector<clsStock>& candidates, const simulation::DayCandidates& day,
                                double amount, int16_t& positionsBought, int16_t& openPositions) {
  for (size_t k = 0; k < candidates.size(); ++k) {
    if (StageStopped()) return false;
    PortfolioSlot slot;
    ReadBoughtRow(day, day.Kept().at(k), slot);
    slot.dblAmount = amount;
    udtPortfolio.resize(static_cast<size_t>(positionsBought) + 1);
    udtPortfolio[static_cast<size_t>(positionsBought)] = std::move(slot);
    Increment(positionsBought);
    Increment(openPositions);
  }
  return true;
}

double clsResearch::GetPurchaseAmount(double dblBalance) {
  const double slots = Parms().intMaxStocks;
  if (slots == 0) rt::RaiseDivisionByZero();
  if (dblBalance == -1) return (GetCashBalance() + GetStockBalance()) / slots;
  return dblBalance / slots;
}

void clsResearch::UpdateDisplay(rt::Date datDay) {
  clsStock record;
  bool shown = false;
  for (const PortfolioSlot& slot : udtPortfolio) {
    if (!HeldOnDay(slot, datDay)) continue;
    simulation::FillDisplayRecord(record, slot, datDay);
    bool done = false;
    Raise(&ResearchEvents::UpdateDisplay, record, done);
    shown = true;
  }
  if (shown) {
    bool done = true;
    Raise(&ResearchEvents::UpdateDisplay, record, done);
  }
}
