#pragma once
// The day's candidates of the portfolio replay, found among the rows of the
// cached simulation table exactly as the candidate statement finds them in
// the database: the same conditions with the values compared and computed as
// the database does, the same ranking with ties in key order, and the day
// texts of the statement's dialect.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "market_data/run_parameters.h"
#include "platform/runtime/date.h"
#include "simulation/portfolio_replay_table.h"

namespace simulation {

// A number as the database holds it in a statement: a whole number, a Double or NULL.
class SqlNumber {
 public:
  static SqlNumber Null() { return SqlNumber(); }
  // A bound Double (a NaN binds as NULL).
  static SqlNumber Real(double value);
  // The number the database reads from a literal in a statement's text,
  // asked of the database once per text.
  static SqlNumber Literal(const std::string& text);

  bool IsNull() const { return kind_ == Kind::Null; }
  // The value in floating-point arithmetic.
  double AsReal() const { return kind_ == Kind::Integer ? static_cast<double>(integer_) : real_; }
  // The sign of (value - number), exact also between whole numbers and Doubles.
  int CompareTo(double value) const;
  // Volume * this number; NULL when this is.
  SqlNumber Times(int64_t volume) const;
  // A Volume held as a REAL times this number, in floating point; NULL when this is.
  SqlNumber Times(double volume) const;

 private:
  enum class Kind { Null, Integer, Real };
  Kind kind_ = Kind::Null;
  int64_t integer_ = 0;
  double real_ = 0;
};

// The candidate statement's conditions other than its day, on one row.
class CandidateConditions {
 public:
  explicit CandidateConditions(const RunParameters& parms);
  // money: the money per position less a commission, as the statement holds it.
  bool Hold(const ReplayTable& table, const ReplayRow& row, const SqlNumber& money) const;

 private:
  struct Bound {
    double ReplayRow::*column;
    bool lower;  // ">=" rather than "<="
    SqlNumber value;
  };
  std::vector<Bound> bounds_;
  SqlNumber volumeShare_;
  std::optional<std::string> positioning_, market_;
};

// One day's candidates in rank order, walked like the statement's rows. The
// rows accepted as the walk goes are kept for the purchases.
class DayCandidates {
 public:
  DayCandidates() = default;  // no rows
  DayCandidates(const ReplayTable& table, const ReplayDay& day, const uint32_t* ordered,
                const CandidateConditions& conditions, SqlNumber money);

  bool Eof() const { return at_ == last_; }
  void MoveNext();
  const ReplayRow& Row() const { return table_->Row(*at_); }
  const ReplayTable& Table() const { return *table_; }
  // The AcquireDate of every row of the day, as a query reads it.
  const db::Value& AcquireDate() const { return table_->Value(acquireDate_); }
  // Keeps the current row as bought; Kept() lists them in order.
  void Keep() { kept_.push_back(*at_); }
  const std::vector<uint32_t>& Kept() const { return kept_; }

 private:
  void SkipRowsThatFail();

  const ReplayTable* table_ = nullptr;
  uint32_t acquireDate_ = ReplayTable::kNullText;
  const uint32_t* at_ = nullptr;
  const uint32_t* last_ = nullptr;
  const CandidateConditions* conditions_ = nullptr;
  SqlNumber money_;
  std::vector<uint32_t> kept_;
};

// The candidates of one replay: the rows it needs, the range check and each
// day's candidates, in the dialect of the run parameters (1 or 2).
class ReplayCandidates {
 public:
  // The AcquireDate texts the replay from firstDay to lastDay reads; the
  // whole table (nullopt) where the dialect's texts do not follow the calendar.
  static std::optional<TextRange> RowsNeeded(const RunParameters& parms, rt::Date firstDay, rt::Date lastDay);

  // Raises the type mismatch when a column the replay reads holds a value
  // that is not a number in the rows it reads (rowsRead, as RowsNeeded gives
  // them; nullopt for every row the table holds).
  ReplayCandidates(ReplayTable& table, const RunParameters& parms, const std::optional<TextRange>& rowsRead);
  // Whether any row from the day before firstDay to lastDay is a candidate,
  // with no money to invest.
  bool AnyBetween(rt::Date firstDay, rt::Date lastDay) const;
  // The candidates of the day before `day`, with `amount` to invest in each.
  DayCandidates Day(rt::Date day, double amount);

 private:
  ReplayTable& table_;
  const RunParameters& parms_;
  CandidateConditions conditions_;
  RowOrder order_;
};

}  // namespace simulation
