#pragma once
// The day's candidates of the portfolio replay: the statement that selects and
// ranks them from the simulation table, its pieces (which the replay also
// evaluates on the rows it holds, portfolio_replay_candidates.h), and the
// market-index rules applied to each candidate. clsResearch::BuildQuery and
// clsResearch::MarketRules use these with the process-wide run parameters.
#include <optional>
#include <string>
#include <vector>

#include "market_data/run_parameters.h"
#include "platform/runtime/date.h"
#include "simulation/portfolio_replay_table.h"

namespace simulation {

// A ranking bound as typed: its leading number, 0 when it has none.
double BoundValue(const std::string& text);

// The candidate statement without its ranking: the select list and every condition.
std::string CandidateSelection(const RunParameters& parms, rt::Date datDay, double dblAmount, rt::Date datLastDay);

// The candidate statement for the calendar day before datDay (datLastDay the
// zero date), or for every day from the day before datDay to datLastDay (the
// range check). dblAmount is the money per position.
std::string BuildCandidateQuery(const RunParameters& parms, rt::Date datDay, double dblAmount, rt::Date datLastDay);

// A ranking bound the statement writes: its column, ">=" (lower) or "<=",
// and the number as its text holds it.
struct WrittenBound {
  const char* column;
  double ReplayRow::*member;
  bool lower;
  std::string literal;
};
// The enabled bounds, in the order the statement writes them.
std::vector<WrittenBound> WrittenBounds(const RunParameters& parms);

// The number columns a replay with these parameters reads: those every
// purchase and ranking reads, and the range columns switched on.
std::vector<double ReplayRow::*> ColumnsRead(const RunParameters& parms);

// The share of a day's volume a position may buy, as the statement writes it.
std::string VolumeShareLiteral(const RunParameters& parms);
// The money per position less a commission, as the statement writes it.
std::string MoneyLiteral(const RunParameters& parms, double dblAmount);

// A ranking choice (intBuyCriteria): the statement's ORDER BY and the same
// order of the cached rows.
struct Ranking {
  const char* orderBy;
  RowOrder order;
};
const Ranking& RankingFor(int16_t buyCriteria);

// The index columns of one candidate row; nullopt stands for NULL.
struct IndexReadings {
  std::optional<std::string> market;
  std::optional<double> djMA;
  std::optional<double> djRSI;
  std::optional<double> nsMA;
  std::optional<double> nsRSI;
};

// True when an enabled index range of the row's own market excludes the row.
// Only consulted when the index ranges are not combined into the statement.
bool MarketRulesReject(const RunParameters& parms, const IndexReadings& row);

}  // namespace simulation
