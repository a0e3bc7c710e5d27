#include "simulation/candidate_query.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "market_data/cls_research.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"
#include "simulation/portfolio_replay_candidates.h"

namespace simulation {
namespace {

// One ranking range: the column it bounds, its switch and its two bounds.
struct BoundGroup {
  const char* column;
  double ReplayRow::*member;
  bool RunParameters::*flag;
  std::string RunParameters::*lower;
  std::string RunParameters::*upper;
  bool marketIndex;  // one of the four index ranges
};

using P = RunParameters;
using R = ReplayRow;

// In the order they are written into the statement.
constexpr std::array<BoundGroup, 10> kBoundGroups{{
    {"PercentMA", &R::percentMA, &P::blnPercentMA, &P::strPercentMAMin, &P::strPercentMAMax, false},
    {"PriceChange", &R::priceChange, &P::blnPriceChange, &P::strPriceChangeMin, &P::strPriceChangeMax, false},
    {"VolumeChange", &R::volumeChange, &P::blnVolChange, &P::strVolChangeMin, &P::strVolChangeMax, false},
    {"MACD", &R::macd, &P::blnMACDRange, &P::strMACDMin, &P::strMACDMax, false},
    {"BBDistance", &R::bbDistance, &P::blnBBDist, &P::strBBDistMin, &P::strBBDistMax, false},
    {"RSIChange", &R::rsiChange, &P::blnRSIChange, &P::strRSIChangeMin, &P::strRSIChangeMax, false},
    {"DJ_MA", &R::djMA, &P::blnDJMA, &P::strDJMAMin, &P::strDJMAMax, true},
    {"DJ_RSI", &R::djRSI, &P::blnDJRSI, &P::strDJRSIMin, &P::strDJRSIMax, true},
    {"NS_MA", &R::nsMA, &P::blnNSMA, &P::strNSMAMin, &P::strNSMAMax, true},
    {"NS_RSI", &R::nsRSI, &P::blnNSRSI, &P::strNSRSIMin, &P::strNSRSIMax, true},
}};

double PercentMA(const ReplayRow& r) { return r.percentMA; }
double MACD(const ReplayRow& r) { return r.macd; }
double PriceChange(const ReplayRow& r) { return r.priceChange; }
double VolumeChange(const ReplayRow& r) { return r.volumeChange; }
// The database's product: NULL when a factor is NULL or the product is no number.
double PercentMATimesVolumeChange(const ReplayRow& r) { return r.percentMA * r.volumeChange; }

const Ranking kRankings[] = {
    {"ORDER BY PercentMA", {0, PercentMA, false}},
    {"ORDER BY MACD DESC", {1, MACD, true}},
    {"ORDER BY PriceChange", {2, PriceChange, false}},
    {"ORDER BY VolumeChange DESC", {3, VolumeChange, true}},
    {"ORDER BY PercentMA * VolumeChange DESC", {4, PercentMATimesVolumeChange, true}},
    {"ORDER BY PercentMA DESC", {5, PercentMA, true}},
    {"", {6, nullptr, false}},  // the database's order: the key's
};

std::string DateLiteral(int16_t databaseType, rt::Date day) {
  const std::string text = rt::FormatDate(day);
  return databaseType == 1 ? "#" + text + "#" : "'" + text + "'";
}

// The day condition; lastDay is "" for the query of one day. Dates come as
// literals or placeholders.
std::string DayCondition(const RunParameters& p, const std::string& dayBefore, const std::string& lastDay) {
  if (lastDay.empty()) {
    const char* equals = p.intDatabaseType == 1 ? "WHERE (AcquireDate = " : "WHERE (AcquireDate =";
    return equals + dayBefore + ") AND AcquirePrice <> -1 AND ";
  }
  return "WHERE (AcquireDate >= " + dayBefore + ") AND (AcquireDate <= " + lastDay + ") " +
         "AND AcquirePrice <> -1 AND ";
}

// The statement without its ranking. The day, the last day ("" for one day)
// and the money per position less a commission come as literals or placeholders.
std::string Selection(const RunParameters& p, const std::string& dayBefore, const std::string& lastDay,
                      const std::string& money) {
  std::string sql;
  // Only the two known dialects get a select list and day condition; any
  // other kind leaves a text that the database refuses when it is opened.
  if (p.intDatabaseType == 1 || p.intDatabaseType == 2) {
    // The key columns let each bought candidate be read back as exactly its own row.
    sql = "SELECT BoughtDate, [DJ_MA], [DJ_RSI], [NS_MA], [NS_RSI], Market, PercentMA, Volume, "
          "AcquireDate, Symbol, Positioning "
          "From [" +
          db::SqlName(p.strSimTable) + "] ";
    sql += DayCondition(p, dayBefore, lastDay);
    sql += "((" + money + " / AcquirePrice) < (Volume * " + VolumeShareLiteral(p) + ")) ";
  }
  for (const WrittenBound& b : WrittenBounds(p))
    sql += std::string(" AND (") + b.column + (b.lower ? " >= " : " <= ") + b.literal + ") ";
  if (p.blnSelectByPosition) sql += " AND ([Positioning] = '" + db::SqlText(p.strSelectPositioning) + "') ";
  if (p.blnSelectByMarket) sql += " AND ([Market] = '" + db::SqlText(p.strSelectMarket) + "') ";
  return sql;
}

// The index range of a column tested against a row of the given market.
bool OutsideRange(const RunParameters& p, const BoundGroup& group, const std::optional<double>& value) {
  if (!(p.*group.flag) || !value) return false;
  const std::string& lower = p.*group.lower;
  const std::string& upper = p.*group.upper;
  if (!lower.empty() && *value < BoundValue(lower)) return true;
  if (!upper.empty() && *value > BoundValue(upper)) return true;
  return false;
}

const BoundGroup& Group(const char* column) {
  for (const BoundGroup& g : kBoundGroups)
    if (std::string_view(g.column) == column) return g;
  throw std::logic_error("no bound group for a column");
}

}  // namespace

double BoundValue(const std::string& text) { return rt::Val(text); }

std::string BuildCandidateQuery(const RunParameters& p, rt::Date datDay, double dblAmount, rt::Date datLastDay) {
  return CandidateSelection(p, datDay, dblAmount, datLastDay) + RankingFor(p.intBuyCriteria).orderBy;
}

std::string CandidateSelection(const RunParameters& p, rt::Date datDay, double dblAmount, rt::Date datLastDay) {
  return Selection(p, DateLiteral(p.intDatabaseType, datDay - 1),
                   datLastDay.IsZero() ? "" : DateLiteral(p.intDatabaseType, datLastDay), MoneyLiteral(p, dblAmount));
}

std::vector<WrittenBound> WrittenBounds(const RunParameters& p) {
  std::vector<WrittenBound> bounds;
  for (const BoundGroup& g : kBoundGroups) {
    if (!(p.*g.flag) || (g.marketIndex && !p.blnCombineIndicators)) continue;
    if (!(p.*g.lower).empty()) bounds.push_back({g.column, g.member, true, rt::FormatNumber(BoundValue(p.*g.lower))});
    if (!(p.*g.upper).empty()) bounds.push_back({g.column, g.member, false, rt::FormatNumber(BoundValue(p.*g.upper))});
  }
  return bounds;
}

std::vector<double ReplayRow::*> ColumnsRead(const RunParameters& p) {
  std::vector<double ReplayRow::*> read{&R::acquirePrice, &R::rsi,          &R::macd,
                                        &R::percentMA,    &R::targetPrice,  &R::releasePrice,
                                        &R::gainLoss,     &R::volumeChange, &R::priceChange};
  // A range switched on is read by the statement or, for an index range
  // not combined into it, by the market rules.
  for (const BoundGroup& g : kBoundGroups)
    if (p.*g.flag) read.push_back(g.member);
  return read;
}

std::string VolumeShareLiteral(const RunParameters& p) { return rt::FormatNumber(p.dblMaxVolPct / 100); }

std::string MoneyLiteral(const RunParameters& p, double dblAmount) {
  return rt::FormatNumber(dblAmount - p.dblCommission);
}

const Ranking& RankingFor(int16_t buyCriteria) {
  // "Nothing chosen" (-1) ranks as the first choice; an unknown choice adds no ORDER BY.
  if (buyCriteria == -1) buyCriteria = 0;
  if (buyCriteria < 0 || buyCriteria > 5) return kRankings[6];
  return kRankings[buyCriteria];
}

bool MarketRulesReject(const RunParameters& p, const IndexReadings& row) {
  if (p.blnCombineIndicators || !row.market) return false;
  const std::string& market = *row.market;
  // The Dow's ranges judge both NYSE and AMEX rows; the NASDAQ's only NASDAQ rows.
  if (market == "ny" || market == "am")
    return OutsideRange(p, Group("DJ_MA"), row.djMA) || OutsideRange(p, Group("DJ_RSI"), row.djRSI);
  if (market == "ns") return OutsideRange(p, Group("NS_MA"), row.nsMA) || OutsideRange(p, Group("NS_RSI"), row.nsRSI);
  return false;
}

}  // namespace simulation

// ----- the engine's members -----

namespace {

std::optional<double> NumberOrNull(double v) {
  if (simulation::IsNull(v)) return std::nullopt;
  return v;
}

simulation::IndexReadings Readings(const simulation::DayCandidates& day) {
  const simulation::ReplayRow& row = day.Row();
  simulation::IndexReadings r;
  if (const db::Value& market = day.Table().Value(row.market); !market.IsNull()) r.market = market.ToText();
  r.djMA = NumberOrNull(row.djMA);
  r.djRSI = NumberOrNull(row.djRSI);
  r.nsMA = NumberOrNull(row.nsMA);
  r.nsRSI = NumberOrNull(row.nsRSI);
  return r;
}

// A text column read where a value is required: Null fails as it would in an assignment.
std::string RequiredText(const db::Value& v) {
  if (v.IsNull()) rt::RaiseInvalidUseOfNull();
  return v.ToText();
}

// The candidate as the purchase step needs it: the values the ranking saw and
// the key of its row.
clsStock Candidate(const simulation::DayCandidates& day) {
  const simulation::ReplayRow& row = day.Row();
  const simulation::ReplayTable& table = day.Table();
  clsStock s;
  if (const db::Value& bought = table.Value(row.boughtDate); !bought.IsNull()) s.BoughtDate = bought.ToDate();
  s.PercentMA = rt::CInt(simulation::CellValue(row.percentMA).ToDouble());
  s.Volume = rt::CLng(simulation::VolumeOf(row));
  s.AcquireDate = day.AcquireDate().ToDate();
  s.Symbol = RequiredText(table.Value(row.symbol));
  s.Positioning = RequiredText(table.Value(row.positioning));
  return s;
}

}  // namespace

std::string clsResearch::BuildQuery(rt::Date datDay, double dblAmount, bool blnReplay, rt::Date datLastDay) {
  return simulation::BuildCandidateQuery(Parms(), datDay, dblAmount, datLastDay);
}

void clsResearch::MarketRules(int32_t lngLimit, simulation::DayCandidates& rsCandidates,
                              std::vector<clsStock>& objStocks) {
  const RunParameters& p = Parms();
  objStocks.assign(1, clsStock{});
  int32_t accepted = 0;
  try {
    // The rows after the limit change nothing: the walk ends there.
    for (; !rsCandidates.Eof() && accepted < lngLimit; rsCandidates.MoveNext()) {
      if (simulation::MarketRulesReject(p, Readings(rsCandidates))) continue;
      // Read whole before it joins the list, so a row that fails is not half kept.
      clsStock candidate = Candidate(rsCandidates);
      objStocks.resize(static_cast<size_t>(accepted) + 1);
      objStocks[static_cast<size_t>(accepted)] = std::move(candidate);
      rsCandidates.Keep();
      ++accepted;
    }
  } catch (const std::exception& e) {
    // The day goes on with the candidates accepted so far.
    NoteStageEnd(StageEnd::kFailed);
    user::MsgBox(e.what());
  }
}
