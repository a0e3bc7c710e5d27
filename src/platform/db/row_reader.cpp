#include "platform/db/row_reader.h"

#include <sqlite3.h>

#include <string_view>

#include "platform/db/db_error.h"
#include "platform/runtime/number_text.h"

namespace db {
namespace {

std::string_view TextOf(sqlite3_value* field) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(field));
  return {text ? text : "", static_cast<size_t>(sqlite3_value_bytes(field))};
}

// A statement's field as a Recordset holds it: a stored date text as a Date.
Value ValueOf(sqlite3_value* field) {
  switch (sqlite3_value_type(field)) {
    case SQLITE_INTEGER: return Value(static_cast<int64_t>(sqlite3_value_int64(field)));
    case SQLITE_FLOAT: return Value(sqlite3_value_double(field));
    case SQLITE_NULL: return Value();
    default: return ReadStoredText(std::string(TextOf(field)));
  }
}

}  // namespace

RowReader::RowReader(sqlite3_stmt* statement) : statement_(statement), columns_(sqlite3_column_count(statement)) {}

RowReader::RowReader(std::span<const Value> cells) : cells_(cells.data()), columns_(static_cast<int>(cells.size())) {}

sqlite3_value* RowReader::StatementField(int column) const {
  if (column < 0 || column >= columns_)
    Raise(kErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
  // One call into SQLite per field read: the value's own accessors are
  // cheap, and safe here because the connection is never shared between
  // threads.
  return statement_ ? sqlite3_column_value(statement_, column) : nullptr;
}

bool RowReader::IsNull(int column) const {
  sqlite3_value* field = StatementField(column);
  return field ? sqlite3_value_type(field) == SQLITE_NULL : cells_[column].IsNull();
}

double RowReader::Double(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) return cells_[column].ToDouble();
  switch (sqlite3_value_type(field)) {
    case SQLITE_FLOAT: return sqlite3_value_double(field);
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_value_int64(field));
    default: return ValueOf(field).ToDouble();
  }
}

int64_t RowReader::Integer(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) return cells_[column].ToInteger();
  if (sqlite3_value_type(field) == SQLITE_INTEGER) return sqlite3_value_int64(field);
  return ValueOf(field).ToInteger();
}

rt::Date RowReader::Date(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) return cells_[column].ToDate();
  if (sqlite3_value_type(field) == SQLITE_TEXT) {
    if (std::optional<rt::Date> stored = ParseStoredDate(TextOf(field))) return *stored;
  }
  return ValueOf(field).ToDate();
}

std::string RowReader::Text(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) return cells_[column].ToText();
  if (sqlite3_value_type(field) == SQLITE_FLOAT) return rt::FormatNumber(sqlite3_value_double(field));
  return ValueOf(field).ToText();
}

std::optional<double> RowReader::StoredReal(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) {
    if (cells_[column].GetKind() == Value::Kind::Double) return cells_[column].ToDouble();
  } else if (sqlite3_value_type(field) == SQLITE_FLOAT) {
    return sqlite3_value_double(field);
  }
  return std::nullopt;
}

std::optional<int64_t> RowReader::StoredInteger(int column) const {
  sqlite3_value* field = StatementField(column);
  if (!field) {
    if (cells_[column].GetKind() == Value::Kind::Integer) return cells_[column].ToInteger();
  } else if (sqlite3_value_type(field) == SQLITE_INTEGER) {
    return sqlite3_value_int64(field);
  }
  return std::nullopt;
}

Value RowReader::Field(int column) const {
  sqlite3_value* field = StatementField(column);
  return field ? ValueOf(field) : cells_[column];
}

}  // namespace db
