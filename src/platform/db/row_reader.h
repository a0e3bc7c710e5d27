#pragma once
// The current row of a query, read straight from the statement: for the loops
// that turn thousands of stored rows into records of their own, with no cell
// built per field and nothing kept after the row. Each reader converts its
// field exactly as the field's Value would (Field(c).ToDouble() and so on),
// so a loop reads the same values here as through a Recordset; a column that
// does not exist raises 3265 as a Recordset does.
//
// A row held as cells (made elsewhere than by a query) is read through the
// same getters, so the code that turns rows into records serves both.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/db/value.h"
#include "platform/runtime/date.h"

struct sqlite3_stmt;
struct sqlite3_value;

namespace db {

class RowReader {
 public:
  explicit RowReader(sqlite3_stmt* statement);
  explicit RowReader(std::span<const Value> cells);

  int FieldCount() const { return columns_; }
  bool IsNull(int column) const;
  double Double(int column) const;
  int64_t Integer(int column) const;
  rt::Date Date(int column) const;
  std::string Text(int column) const;
  // The field as a Recordset holds it: a stored date text as a Date.
  Value Field(int column) const;
  // The floating-point number, or the whole number, the field stores as
  // such; nullopt for any other field (nothing is converted).
  std::optional<double> StoredReal(int column) const;
  std::optional<int64_t> StoredInteger(int column) const;

 private:
  // The statement's field; nullptr for a row held as cells.
  sqlite3_value* StatementField(int column) const;

  sqlite3_stmt* statement_ = nullptr;
  const Value* cells_ = nullptr;
  int columns_ = 0;
};

}  // namespace db
