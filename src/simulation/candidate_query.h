#pragma once
// The day's candidates of the portfolio replay: the statement that selects and
// ranks them from the simulation table, and the market-index rules applied to
// each row it returns. clsResearch::BuildQuery and clsResearch::MarketRules
// use these with the process-wide run parameters; tests call them directly.
#include <optional>
#include <string>
#include <vector>

#include "market_data/run_parameters.h"
#include "platform/db/value.h"
#include "platform/runtime/date.h"

namespace simulation {

// A ranking bound as typed: its leading number, 0 when it has none.
double BoundValue(const std::string& text);

// The candidate statement without its ranking: the select list and every condition.
std::string CandidateSelection(const RunParameters& parms, rt::Date datDay, double dblAmount, rt::Date datLastDay);

// The candidate statement for the calendar day before datDay (datLastDay the
// zero date), or for every day from the day before datDay to datLastDay (the
// range check). dblAmount is the money per position.
std::string BuildCandidateQuery(const RunParameters& parms, rt::Date datDay, double dblAmount,
                                rt::Date datLastDay);

// A statement with "?" placeholders and the values that go in them.
struct BoundQuery {
  std::string sql;
  std::vector<db::Value> parameters;
};

// The day's candidate statement with the day and the money as placeholders:
// one text for the whole replay, so the database prepares it once.
BoundQuery BoundCandidateQuery(const RunParameters& parms, rt::Date datDay, double dblAmount);

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
