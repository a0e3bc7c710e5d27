#pragma once
// The simulation table as the portfolio replay reads it: every row that can
// ever be a day's candidate, read once and kept for as long as the database
// has not changed, grouped by signal day in key order. A sweep's thousands of
// replays then find each day's candidates in memory instead of asking the
// database once per simulated day.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/db/value.h"

namespace db {
class Recordset;
}

namespace simulation {

// A number column's value; NaN stands for NULL, which is how the database
// stores a NaN anyway.
inline bool IsNull(double value) { return value != value; }
// The value as a query hands it back.
inline db::Value CellValue(double value) { return IsNull(value) ? db::Value() : db::Value(value); }

// One row, its texts as indexes into the table's texts.
struct ReplayRow {
  double acquirePrice, rsi, rsiChange, macd, percentMA, targetPrice, releasePrice, gainLoss, volumeChange, priceChange,
      bbDistance, djRSI, djMA, nsRSI, nsMA;
  int64_t volume;     // never NULL: such a row is never a candidate
  double realVolume;  // a Volume held as a REAL (a table made outside the program); NaN for a whole number
  uint32_t boughtDate, symbol, market, positioning, bought, releaseDate;
};

// The Volume as the statement reads it, in floating point.
inline double VolumeOf(const ReplayRow& row) {
  return IsNull(row.realVolume) ? static_cast<double>(row.volume) : row.realVolume;
}

// The rows of one AcquireDate, [first, last) in key order.
struct ReplayDay {
  uint32_t acquireDate;  // a text index
  uint32_t first, last;
  uint32_t nonNumbers;  // bit c: a row holds a value that is not a number in number column c (the last bit: Volume)
};

// An order of a day's rows: by a key (NULL the smallest), rows with equal
// keys in key order, as the database's sort leaves them; without a key, key
// order itself.
struct RowOrder {
  int index;  // 0 .. ReplayTable::kOrders - 1, each order computed once
  double (*key)(const ReplayRow&);
  bool descending;
};

// The database's state as far as a cached table cares: commits by other
// connections, schema changes and the rows this connection has changed.
struct DatabaseStamp {
  int64_t otherCommits = -1, schema = -1, ownChanges = -1;
  bool operator==(const DatabaseStamp&) const = default;
};
DatabaseStamp CurrentDatabaseStamp();
// The rows this connection has inserted, changed or deleted since it opened.
int64_t OwnChanges();

// AcquireDate texts from `from` to `to` as the database compares them; no
// range stands for the whole table.
struct TextRange {
  std::string from, to;
  bool Covers(const TextRange& other) const { return from <= other.from && other.to <= to; }
};

class ReplayTable {
 public:
  static constexpr int kOrders = 7;

  // Reads the rows of `table` that can be candidates, whose AcquireDate lies
  // in the range. A table this program did not make may hold values of other
  // types in its columns: a number of either type is read as one, as the
  // statement reads it; any other value is kept back, by its day, for
  // RequireNumbers.
  static std::unique_ptr<ReplayTable> Read(const std::string& table, const std::optional<TextRange>& range,
                                           const DatabaseStamp& stamp);

  // True when it holds every row of the range as the table has them now.
  bool Holds(const std::string& table, const std::optional<TextRange>& range, const DatabaseStamp& now) const;
  // Raises the type mismatch that names the first of the columns that holds
  // a value that is not a number in a row of the range (no range: of every
  // row held): a replay refuses the table only for a column it reads, in the
  // rows it reads, whatever a wider read held besides. Volume is read by
  // every replay.
  void RequireNumbers(const std::vector<double ReplayRow::*>& columns, const std::optional<TextRange>& rows) const;
  // Changes this connection has made elsewhere (the pause row) leave it current.
  void PassOwnChanges(int64_t changes) { stamp_.ownChanges += changes; }

  // The days whose AcquireDate text lies between the two, both included.
  std::pair<const ReplayDay*, const ReplayDay*> DaysBetween(const std::string& from, const std::string& to) const;
  const ReplayRow& Row(uint32_t index) const { return rows_[index]; }
  const std::string& Text(uint32_t index) const { return texts_[index]; }
  // The text as a query reads it back (a stored date becomes a Date).
  const db::Value& Value(uint32_t index) const { return values_[index]; }
  static constexpr uint32_t kNullText = 0;

  // The indexes of the day's rows in the order, first to last.
  const uint32_t* Ordered(const RowOrder& order, const ReplayDay& day);

 private:
  ReplayTable() = default;
  void AddRow(const db::Recordset& page);
  // The index of a text read with a "~" before it.
  uint32_t AddText(const db::Value& marked);

  std::string table_;
  std::optional<TextRange> range_;
  DatabaseStamp stamp_;
  std::vector<ReplayRow> rows_;
  std::vector<ReplayDay> days_;
  std::vector<std::string> texts_;
  std::vector<db::Value> values_;
  std::unordered_map<std::string, uint32_t> known_;  // the texts' indexes while reading
  std::array<std::vector<uint32_t>, kOrders> ordered_;
};

// Keeps a held table current across the changes this connection makes to
// other tables during the scope (the pause row a sweep stores before every
// replay); when they cannot be counted the table goes stale.
class ChangesElsewhere {
 public:
  explicit ChangesElsewhere(ReplayTable* table);
  ~ChangesElsewhere();
  ChangesElsewhere(const ChangesElsewhere&) = delete;
  ChangesElsewhere& operator=(const ChangesElsewhere&) = delete;

 private:
  ReplayTable* table_;
  int64_t before_ = 0;
};

}  // namespace simulation
