#include "simulation/portfolio_replay_table.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "market_data/database_connection.h"
#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace simulation {
namespace {

constexpr double kNull = std::numeric_limits<double>::quiet_NaN();

// Rows are read a page at a time, so that a large table is never held twice
// over as generic cells.
constexpr int kPageRows = 4096;

// The texts come back with a "~" before them, so that the database layer
// hands over the stored text itself and never a Date read from it: the day
// conditions and the side and market filters compare stored texts. A page
// starts after the key of the last row read.
std::string PageStatement(const std::string& table, bool ranged) {
  return "SELECT '~' || AcquireDate, '~' || BoughtDate, '~' || Symbol, '~' || Market, '~' || Positioning, "
         "'~' || Bought, '~' || ReleaseDate, AcquirePrice, RSI, RSIChange, MACD, PercentMA, TargetPrice, "
         "ReleasePrice, GainLoss, VolumeChange, PriceChange, BBDistance, DJ_RSI, DJ_MA, NS_RSI, NS_MA, Volume "
         "FROM [" +
         db::SqlName(table) + "] " +
         // Any other row fails the money condition of every day: its price
         // is -1 (not traded) or 0 (the division gives NULL), or it has no volume.
         "WHERE AcquirePrice <> -1 AND AcquirePrice <> 0 AND Volume IS NOT NULL "
         "AND (AcquireDate, Symbol, Positioning) > (?, ?, ?)" +
         (ranged ? " AND AcquireDate >= ? AND AcquireDate <= ?" : "") +
         " ORDER BY AcquireDate, Symbol, Positioning LIMIT " + std::to_string(kPageRows);
}

// The number columns in the order the page statement reads them.
struct NumberColumn {
  const char* name;
  double ReplayRow::*member;
};
constexpr NumberColumn kNumberColumns[] = {{"AcquirePrice", &ReplayRow::acquirePrice},
                                           {"RSI", &ReplayRow::rsi},
                                           {"RSIChange", &ReplayRow::rsiChange},
                                           {"MACD", &ReplayRow::macd},
                                           {"PercentMA", &ReplayRow::percentMA},
                                           {"TargetPrice", &ReplayRow::targetPrice},
                                           {"ReleasePrice", &ReplayRow::releasePrice},
                                           {"GainLoss", &ReplayRow::gainLoss},
                                           {"VolumeChange", &ReplayRow::volumeChange},
                                           {"PriceChange", &ReplayRow::priceChange},
                                           {"BBDistance", &ReplayRow::bbDistance},
                                           {"DJ_RSI", &ReplayRow::djRSI},
                                           {"DJ_MA", &ReplayRow::djMA},
                                           {"NS_RSI", &ReplayRow::nsRSI},
                                           {"NS_MA", &ReplayRow::nsMA}};
constexpr int kTexts = 7;
constexpr int kNumbers = static_cast<int>(std::size(kNumberColumns));
constexpr uint32_t kVolumeBit = 1u << kNumbers;
static_assert(kNumbers < 32, "one bit per number column and one for Volume");

bool IsNumber(const db::Value& v) {
  return v.GetKind() == db::Value::Kind::Double || v.GetKind() == db::Value::Kind::Integer;
}

[[noreturn]] void RefuseColumn(const char* column) {
  throw rt::Error(rt::kErrTypeMismatch, "Type mismatch: the simulation table holds a value in the column " +
                                            std::string(column) + " that is not a number.");
}

// Orders the rows of each day by the key, keeping key order among equals.
void Order(const RowOrder& order, const std::vector<ReplayRow>& rows, const std::vector<ReplayDay>& days,
           std::vector<uint32_t>& ordered) {
  ordered.resize(rows.size());
  for (uint32_t i = 0; i < ordered.size(); ++i) ordered[i] = i;
  if (!order.key) return;
  auto before = [&](uint32_t a, uint32_t b) {
    const double x = order.key(rows[a]), y = order.key(rows[b]);
    if (IsNull(x) || IsNull(y)) return order.descending ? !IsNull(x) && IsNull(y) : IsNull(x) && !IsNull(y);
    return order.descending ? x > y : x < y;
  };
  // Stable: rows of equal keys keep the table's key order (AcquireDate,
  // Symbol, Positioning), the order in which SQLite hands back the ties of the
  // candidate statement (it reads the day's rows by the primary key and its
  // sort keeps their order). The statement orders by the ranking alone, as the
  // design writes it, so this is the only tie order that picks its rows; an
  // unstable sort picks others on days with many ties.
  for (const ReplayDay& day : days) std::stable_sort(ordered.begin() + day.first, ordered.begin() + day.last, before);
}

}  // namespace

DatabaseStamp CurrentDatabaseStamp() {
  db::Recordset rs =
      SharedConnection().OpenRecordset("SELECT total_changes(), (SELECT data_version FROM pragma_data_version), "
                                       "(SELECT schema_version FROM pragma_schema_version)");
  return {rs.Field(1).ToInteger(), rs.Field(2).ToInteger(), rs.Field(0).ToInteger()};
}

int64_t OwnChanges() { return SharedConnection().TotalChanges(); }

std::unique_ptr<ReplayTable> ReplayTable::Read(const std::string& table, const std::optional<TextRange>& range,
                                               const DatabaseStamp& stamp) {
  std::unique_ptr<ReplayTable> t(new ReplayTable());
  t->table_ = table;
  t->range_ = range;
  t->stamp_ = stamp;
  t->texts_.emplace_back();
  t->values_.emplace_back();
  const std::string sql = PageStatement(table, range.has_value());
  // No stored key is empty: the first page starts before every row.
  std::vector<db::Value> parameters(3, db::Value(std::string()));
  if (range) parameters.insert(parameters.end(), {db::Value(range->from), db::Value(range->to)});
  db::Connection& cn = SharedConnection();
  // The pages read one state of the table.
  cn.BeginTrans();
  try {
    for (bool full = true; full;) {
      db::Recordset page = cn.OpenRecordset(sql, parameters);
      full = page.RecordCount() == kPageRows;
      for (; !page.Eof(); page.MoveNext()) t->AddRow(page);
      // A table of millions of rows takes seconds to read: the window is
      // served between its pages.
      user::DoEvents();
      if (full) {
        const ReplayRow& last = t->rows_.back();
        parameters[0] = db::Value(t->Text(t->days_.back().acquireDate));
        parameters[1] = db::Value(t->Text(last.symbol));
        parameters[2] = db::Value(t->Text(last.positioning));
      }
    }
    cn.CommitTrans();
  } catch (...) {
    cn.RollbackTrans();
    throw;
  }
  t->known_.clear();
  return t;
}

void ReplayTable::AddRow(const db::Recordset& page) {
  uint32_t texts[kTexts];
  for (int c = 0; c < kTexts; ++c) texts[c] = AddText(page.Field(c));
  ReplayRow row{};
  // Only a replay that reads the column in this row's day refuses its table
  // for a value that is not a number.
  uint32_t nonNumbers = 0;
  for (int c = 0; c < kNumbers; ++c) {
    const db::Value& v = page.Field(kTexts + c);
    row.*kNumberColumns[c].member = IsNumber(v) ? v.ToDouble() : kNull;
    if (!IsNumber(v) && !v.IsNull()) nonNumbers |= 1u << c;
  }
  const db::Value& volume = page.Field(kTexts + kNumbers);
  row.volume = volume.GetKind() == db::Value::Kind::Integer ? volume.ToInteger() : 0;
  row.realVolume = volume.GetKind() == db::Value::Kind::Double ? volume.ToDouble() : kNull;
  if (!IsNumber(volume)) nonNumbers |= kVolumeBit;
  row.boughtDate = texts[1];
  row.symbol = texts[2];
  row.market = texts[3];
  row.positioning = texts[4];
  row.bought = texts[5];
  row.releaseDate = texts[6];
  const auto index = static_cast<uint32_t>(rows_.size());
  rows_.push_back(row);
  if (days_.empty() || days_.back().acquireDate != texts[0]) days_.push_back({texts[0], index, index, 0});
  days_.back().last = index + 1;
  days_.back().nonNumbers |= nonNumbers;
}

void ReplayTable::RequireNumbers(const std::vector<double ReplayRow::*>& columns,
                                 const std::optional<TextRange>& rows) const {
  const auto [first, last] =
      rows ? DaysBetween(rows->from, rows->to) : std::pair{days_.data(), days_.data() + days_.size()};
  uint32_t nonNumbers = 0;
  for (const ReplayDay* day = first; day != last; ++day) nonNumbers |= day->nonNumbers;
  if ((nonNumbers & kVolumeBit) != 0) RefuseColumn("Volume");
  for (int c = 0; c < kNumbers; ++c)
    if ((nonNumbers >> c & 1u) != 0 &&
        std::find(columns.begin(), columns.end(), kNumberColumns[c].member) != columns.end())
      RefuseColumn(kNumberColumns[c].name);
}

uint32_t ReplayTable::AddText(const db::Value& marked) {
  const std::string* text = marked.TextIf();
  if (!text) return kNullText;
  auto [at, added] = known_.try_emplace(text->substr(1), static_cast<uint32_t>(texts_.size()));
  if (added) {
    texts_.push_back(at->first);
    values_.push_back(db::ReadStoredText(at->first));
  }
  return at->second;
}

bool ReplayTable::Holds(const std::string& table, const std::optional<TextRange>& range,
                        const DatabaseStamp& now) const {
  return table == table_ && now == stamp_ && (!range_ || (range && range_->Covers(*range)));
}

std::pair<const ReplayDay*, const ReplayDay*> ReplayTable::DaysBetween(const std::string& from,
                                                                       const std::string& to) const {
  auto textBefore = [this](const ReplayDay& d, const std::string& t) { return Text(d.acquireDate) < t; };
  auto textAfter = [this](const std::string& t, const ReplayDay& d) { return t < Text(d.acquireDate); };
  const ReplayDay* end = days_.data() + days_.size();
  const ReplayDay* first = std::lower_bound(days_.data(), end, from, textBefore);
  return {first, std::upper_bound(first, end, to, textAfter)};
}

const uint32_t* ReplayTable::Ordered(const RowOrder& order, const ReplayDay& day) {
  std::vector<uint32_t>& ordered = ordered_[static_cast<size_t>(order.index)];
  if (ordered.size() != rows_.size()) Order(order, rows_, days_, ordered);
  return ordered.data() + day.first;
}

ChangesElsewhere::ChangesElsewhere(ReplayTable* table) : table_(table) {
  try {
    if (table_) before_ = OwnChanges();
  } catch (const std::exception&) {
    table_ = nullptr;  // nothing to count with: the store's own handling takes over
  }
}

ChangesElsewhere::~ChangesElsewhere() {
  try {
    if (table_) table_->PassOwnChanges(OwnChanges() - before_);
  } catch (const std::exception&) {
    // Left stale: the next replay reads the table again.
  }
}

}  // namespace simulation
