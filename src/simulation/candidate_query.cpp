#include "simulation/candidate_query.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "market_data/cls_research.h"
#include "platform/db/recordset.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/user/user_services.h"

namespace simulation {
namespace {

// One ranking range: the column it bounds, its switch and its two bounds.
struct BoundGroup {
  const char* column;
  bool RunParameters::*flag;
  std::string RunParameters::*lower;
  std::string RunParameters::*upper;
  bool marketIndex;  // one of the four index ranges
};

// In the order they are written into the statement.
constexpr std::array<BoundGroup, 10> kBoundGroups{{
    {"PercentMA", &RunParameters::blnPercentMA, &RunParameters::strPercentMAMin, &RunParameters::strPercentMAMax, false},
    {"PriceChange", &RunParameters::blnPriceChange, &RunParameters::strPriceChangeMin, &RunParameters::strPriceChangeMax, false},
    {"VolumeChange", &RunParameters::blnVolChange, &RunParameters::strVolChangeMin, &RunParameters::strVolChangeMax, false},
    {"MACD", &RunParameters::blnMACDRange, &RunParameters::strMACDMin, &RunParameters::strMACDMax, false},
    {"BBDistance", &RunParameters::blnBBDist, &RunParameters::strBBDistMin, &RunParameters::strBBDistMax, false},
    {"RSIChange", &RunParameters::blnRSIChange, &RunParameters::strRSIChangeMin, &RunParameters::strRSIChangeMax, false},
    {"DJ_MA", &RunParameters::blnDJMA, &RunParameters::strDJMAMin, &RunParameters::strDJMAMax, true},
    {"DJ_RSI", &RunParameters::blnDJRSI, &RunParameters::strDJRSIMin, &RunParameters::strDJRSIMax, true},
    {"NS_MA", &RunParameters::blnNSMA, &RunParameters::strNSMAMin, &RunParameters::strNSMAMax, true},
    {"NS_RSI", &RunParameters::blnNSRSI, &RunParameters::strNSRSIMin, &RunParameters::strNSRSIMax, true},
}};

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
  return "WHERE (AcquireDate >= " + dayBefore + ") AND (AcquireDate <= " + lastDay + ") " + "AND AcquirePrice <> -1 AND ";
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
          "From [" + db::SqlName(p.strSimTable) + "] ";
    sql += DayCondition(p, dayBefore, lastDay);
    sql += "((" + money + " / AcquirePrice) < (Volume * " + rt::FormatNumber(p.dblMaxVolPct / 100) + ")) ";
  }
  for (const BoundGroup& g : kBoundGroups) {
    if (!(p.*g.flag) || (g.marketIndex && !p.blnCombineIndicators)) continue;
    if (!(p.*g.lower).empty())
      sql += std::string(" AND (") + g.column + " >= " + rt::FormatNumber(BoundValue(p.*g.lower)) + ") ";
    if (!(p.*g.upper).empty())
      sql += std::string(" AND (") + g.column + " <= " + rt::FormatNumber(BoundValue(p.*g.upper)) + ") ";
  }
  if (p.blnSelectByPosition) sql += " AND ([Positioning] = '" + db::SqlText(p.strSelectPositioning) + "') ";
  if (p.blnSelectByMarket) sql += " AND ([Market] = '" + db::SqlText(p.strSelectMarket) + "') ";
  return sql;
}

std::string Ranking(int16_t buyCriteria) {
  switch (buyCriteria) {
    case -1:
    case 0: return "ORDER BY PercentMA";
    case 1: return "ORDER BY MACD DESC";
    case 2: return "ORDER BY PriceChange";
    case 3: return "ORDER BY VolumeChange DESC";
    case 4: return "ORDER BY PercentMA * VolumeChange DESC";
    case 5: return "ORDER BY PercentMA DESC";
    default: return "";
  }
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
  return CandidateSelection(p, datDay, dblAmount, datLastDay) + Ranking(p.intBuyCriteria);
}

std::string CandidateSelection(const RunParameters& p, rt::Date datDay, double dblAmount, rt::Date datLastDay) {
  return Selection(p, DateLiteral(p.intDatabaseType, datDay - 1),
                   datLastDay.IsZero() ? "" : DateLiteral(p.intDatabaseType, datLastDay),
                   rt::FormatNumber(dblAmount - p.dblCommission));
}

BoundQuery BoundCandidateQuery(const RunParameters& p, rt::Date datDay, double dblAmount) {
  return {Selection(p, "?", "", "?") + Ranking(p.intBuyCriteria),
          {db::Value(datDay - 1), db::Value(dblAmount - p.dblCommission)}};
}

bool MarketRulesReject(const RunParameters& p, const IndexReadings& row) {
  if (p.blnCombineIndicators || !row.market) return false;
  const std::string& market = *row.market;
  // The Dow's ranges judge both NYSE and AMEX rows; the NASDAQ's only NASDAQ rows.
  if (market == "ny" || market == "am")
    return OutsideRange(p, Group("DJ_MA"), row.djMA) || OutsideRange(p, Group("DJ_RSI"), row.djRSI);
  if (market == "ns")
    return OutsideRange(p, Group("NS_MA"), row.nsMA) || OutsideRange(p, Group("NS_RSI"), row.nsRSI);
  return false;
}

}  // namespace simulation

// ----- the engine's members -----

namespace {

std::optional<double> NumberOrNull(const db::Value& v) {
  if (v.IsNull()) return std::nullopt;
  return v.ToDouble();
}

simulation::IndexReadings Readings(const db::Recordset& rs) {
  simulation::IndexReadings r;
  if (const db::Value& market = rs.Field("Market"); !market.IsNull()) r.market = market.ToText();
  r.djMA = NumberOrNull(rs.Field("DJ_MA"));
  r.djRSI = NumberOrNull(rs.Field("DJ_RSI"));
  r.nsMA = NumberOrNull(rs.Field("NS_MA"));
  r.nsRSI = NumberOrNull(rs.Field("NS_RSI"));
  return r;
}

// A text column read where a value is required: Null fails as it would in an assignment.
std::string RequiredText(const db::Value& v) {
  if (v.IsNull()) rt::RaiseInvalidUseOfNull();
  return v.ToText();
}

// The candidate as the purchase step needs it: the values the ranking saw and
// the key that finds its row again.
clsStock Candidate(const db::Recordset& rs) {
  clsStock s;
  if (const db::Value& bought = rs.Field("BoughtDate"); !bought.IsNull()) s.BoughtDate = bought.ToDate();
  s.PercentMA = rt::CInt(rs.Field("PercentMA").ToDouble());
  s.Volume = rt::CLng(rs.Field("Volume").ToDouble());
  s.AcquireDate = rs.Field("AcquireDate").ToDate();
  s.Symbol = RequiredText(rs.Field("Symbol"));
  s.Positioning = RequiredText(rs.Field("Positioning"));
  return s;
}

}  // namespace

std::string clsResearch::BuildQuery(rt::Date datDay, double dblAmount, bool blnReplay, rt::Date datLastDay) {
  return simulation::BuildCandidateQuery(Parms(), datDay, dblAmount, datLastDay);
}

void clsResearch::MarketRules(int32_t lngLimit, db::Recordset& rsCandidates, std::vector<clsStock>& objStocks) {
  const RunParameters& p = Parms();
  objStocks.assign(1, clsStock{});
  int32_t accepted = 0;
  try {
    for (; !rsCandidates.Eof(); rsCandidates.MoveNext()) {
      const bool reject = simulation::MarketRulesReject(p, Readings(rsCandidates));
      if (accepted < lngLimit && !reject) {
        // Read whole before it joins the list, so a row that fails is not half kept.
        clsStock candidate = Candidate(rsCandidates);
        objStocks.resize(static_cast<size_t>(accepted) + 1);
        objStocks[static_cast<size_t>(accepted)] = std::move(candidate);
        ++accepted;
      }
    }
  } catch (const std::exception& e) {
    // The day goes on with the candidates accepted so far.
    NoteStageEnd(StageEnd::kFailed);
    user::MsgBox(e.what());
  }
}
