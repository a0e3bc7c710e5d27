#include "simulation/portfolio_replay_candidates.h"

#include <limits>
#include <unordered_map>

#include "market_data/database_connection.h"
#include "platform/db/jet_sql.h"
#include "platform/db/recordset.h"
#include "platform/runtime/error.h"
#include "simulation/candidate_query.h"

namespace simulation {
namespace {

// A whole number against a Double, exactly: every 64-bit integer and every
// Double is exact in the x87 long double, which is how the database compares them.
static_assert(std::numeric_limits<long double>::digits >= 64);
int CompareExactly(long double a, long double b) { return a < b ? -1 : a > b ? 1 : 0; }

// Text equality under the database's NOCASE collation: ASCII letters fold.
bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The text a day's statement compares AcquireDate with: Jet's bound date in
// its stored form, SQL Server's default date text.
std::string BoundDayText(int16_t databaseType, rt::Date day) {
  return databaseType == 1 ? rt::FormatIso(day) : rt::FormatDate(day);
}
// The text the range check compares AcquireDate with: Jet's #date# literal as
// the database layer rewrites it, SQL Server's default date text.
std::string LiteralDayText(int16_t databaseType, rt::Date day) {
  if (databaseType != 1) return rt::FormatDate(day);
  const std::string quoted = db::TranslateJetSql("#" + rt::FormatDate(day) + "#");
  return quoted.substr(1, quoted.size() - 2);
}

}  // namespace

SqlNumber SqlNumber::Real(double value) {
  SqlNumber n;
  if (simulation::IsNull(value)) return n;
  n.kind_ = Kind::Real;
  n.real_ = value;
  return n;
}

SqlNumber SqlNumber::Literal(const std::string& text) {
  // The database's reading of a decimal text is its own (it need not round
  // as the C library does): each text is read by it once.
  static std::unordered_map<std::string, SqlNumber> known;
  if (auto found = known.find(text); found != known.end()) return found->second;
  const db::Value read = SharedConnection().OpenRecordset("SELECT " + text).Field(0);
  SqlNumber n;
  if (read.GetKind() == db::Value::Kind::Integer) {
    n.kind_ = Kind::Integer;
    n.integer_ = read.ToInteger();
  } else if (read.GetKind() == db::Value::Kind::Double) {
    n = Real(read.ToDouble());
  } else if (!read.IsNull()) {
    rt::RaiseTypeMismatch();
  }
  if (known.size() > 100000) known.clear();
  known.emplace(text, n);
  return n;
}

int SqlNumber::CompareTo(double value) const {
  if (kind_ == Kind::Integer) return CompareExactly(value, static_cast<long double>(integer_));
  return value < real_ ? -1 : value > real_ ? 1 : 0;
}

SqlNumber SqlNumber::Times(int64_t volume) const {
  if (kind_ == Kind::Integer) {
    SqlNumber n;
    // Whole numbers multiply as whole numbers until they overflow.
    if (!__builtin_mul_overflow(volume, integer_, &n.integer_)) {
      n.kind_ = Kind::Integer;
      return n;
    }
    return Real(static_cast<double>(volume) * static_cast<double>(integer_));
  }
  if (kind_ == Kind::Real) return Real(static_cast<double>(volume) * real_);
  return Null();
}

SqlNumber SqlNumber::Times(double volume) const { return IsNull() ? Null() : Real(volume * AsReal()); }

CandidateConditions::CandidateConditions(const RunParameters& p)
    : volumeShare_(SqlNumber::Literal(VolumeShareLiteral(p))) {
  for (const WrittenBound& b : WrittenBounds(p)) bounds_.push_back({b.member, b.lower, SqlNumber::Literal(b.literal)});
  if (p.blnSelectByPosition) positioning_ = p.strSelectPositioning;
  if (p.blnSelectByMarket) market_ = p.strSelectMarket;
}

bool CandidateConditions::Hold(const ReplayTable& table, const ReplayRow& row, const SqlNumber& money) const {
  // Every condition must hold, so the order of the tests is free: the side
  // and market first, which sweeps walk through and most rows fail. They
  // compare without regard to case.
  auto equal = [&table](uint32_t text, const std::string& filter) {
    return text != ReplayTable::kNullText && EqualNoCase(table.Text(text), filter);
  };
  if ((positioning_ && !equal(row.positioning, *positioning_)) || (market_ && !equal(row.market, *market_)))
    return false;
  // ((money / AcquirePrice) < (Volume * share)), "/" dividing in floating
  // point; any NULL fails the condition, and a NaN is a NULL.
  if (money.IsNull()) return false;
  const double shares = money.AsReal() * 1.0 / row.acquirePrice;
  const SqlNumber limit = IsNull(row.realVolume) ? volumeShare_.Times(row.volume) : volumeShare_.Times(row.realVolume);
  if (IsNull(shares) || limit.IsNull() || limit.CompareTo(shares) >= 0) return false;
  for (const Bound& b : bounds_) {
    const double value = row.*b.column;
    if (IsNull(value) || b.value.IsNull()) return false;
    const int sign = b.value.CompareTo(value);
    if (b.lower ? sign < 0 : sign > 0) return false;
  }
  return true;
}

DayCandidates::DayCandidates(const ReplayTable& table, const ReplayDay& day, const uint32_t* ordered,
                             const CandidateConditions& conditions, SqlNumber money)
    : table_(&table),
      acquireDate_(day.acquireDate),
      at_(ordered),
      last_(ordered + (day.last - day.first)),
      conditions_(&conditions),
      money_(money) {
  SkipRowsThatFail();
}

void DayCandidates::MoveNext() {
  ++at_;
  SkipRowsThatFail();
}

void DayCandidates::SkipRowsThatFail() {
  while (at_ != last_ && !conditions_->Hold(*table_, table_->Row(*at_), money_)) ++at_;
}

std::optional<TextRange> ReplayCandidates::RowsNeeded(const RunParameters& p, rt::Date firstDay, rt::Date lastDay) {
  if (p.intDatabaseType != 1) return std::nullopt;
  // The range check's literals and the days' bound dates.
  return TextRange{std::min(LiteralDayText(1, firstDay - 1), BoundDayText(1, firstDay - 1)),
                   std::max(LiteralDayText(1, lastDay), BoundDayText(1, lastDay - 1))};
}

ReplayCandidates::ReplayCandidates(ReplayTable& table, const RunParameters& parms,
                                   const std::optional<TextRange>& rowsRead)
    : table_(table), parms_(parms), conditions_(parms), order_(RankingFor(parms.intBuyCriteria).order) {
  table_.RequireNumbers(ColumnsRead(parms), rowsRead);
}

bool ReplayCandidates::AnyBetween(rt::Date firstDay, rt::Date lastDay) const {
  const SqlNumber money = SqlNumber::Literal(MoneyLiteral(parms_, 0));
  auto [first, last] = table_.DaysBetween(LiteralDayText(parms_.intDatabaseType, firstDay - 1),
                                          LiteralDayText(parms_.intDatabaseType, lastDay));
  for (const ReplayDay* day = first; day != last; ++day)
    for (uint32_t r = day->first; r < day->last; ++r)
      if (conditions_.Hold(table_, table_.Row(r), money)) return true;
  return false;
}

DayCandidates ReplayCandidates::Day(rt::Date day, double amount) {
  auto [first, last] =
      table_.DaysBetween(BoundDayText(parms_.intDatabaseType, day - 1), BoundDayText(parms_.intDatabaseType, day - 1));
  if (first == last) return DayCandidates();
  // Jet's statement has the money bound; SQL Server's has it written into its text.
  const SqlNumber money = parms_.intDatabaseType == 1 ? SqlNumber::Real(amount - parms_.dblCommission)
                                                      : SqlNumber::Literal(MoneyLiteral(parms_, amount));
  return DayCandidates(table_, *first, table_.Ordered(order_, *first), conditions_, money);
}

}  // namespace simulation
