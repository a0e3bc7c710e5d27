#include "platform/db/row_reader.h"

#include <sqlite3.h>

#include <string_view>

#include "platform/db/db_error.h"
#include "platform/runtime/number_text.h"

namespace db {
namespace {

// Stands for a row held as cells, which Field hands back as they are.
constexpr int kHeldCell = 0;

std::string_view TextOf(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return {text ? text : "", static_cast<size_t>(sqlite3_column_bytes(statement, column))};
}

}  // namespace

RowReader::RowReader(sqlite3_stmt* statement) : statement_(statement), columns_(sqlite3_column_count(statement)) {}

RowReader::RowReader(std::span<const Value> cells) : cells_(cells.data()), columns_(static_cast<int>(cells.size())) {}

int RowReader::Type(int column) const {
  if (column < 0 || column >= columns_)
    Raise(kErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
  return statement_ ? sqlite3_column_type(statement_, column) : kHeldCell;
}

bool RowReader::IsNull(int column) const {
  const int type = Type(column);
  return type == kHeldCell ? cells_[column].IsNull() : type == SQLITE_NULL;
}

double RowReader::Double(int column) const {
  switch (Type(column)) {
    case SQLITE_FLOAT: return sqlite3_column_double(statement_, column);
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_column_int64(statement_, column));
    default: return Field(column).ToDouble();
  }
}

int64_t RowReader::Integer(int column) const {
  if (Type(column) == SQLITE_INTEGER) return sqlite3_column_int64(statement_, column);
  return Field(column).ToInteger();
}

rt::Date RowReader::Date(int column) const {
  if (Type(column) == SQLITE_TEXT) {
    if (std::optional<rt::Date> stored = ParseStoredDate(TextOf(statement_, column))) return *stored;
  }
  return Field(column).ToDate();
}

std::string RowReader::Text(int column) const {
  if (Type(column) == SQLITE_FLOAT) return rt::FormatNumber(sqlite3_column_double(statement_, column));
  return Field(column).ToText();
}

std::optional<double> RowReader::StoredReal(int column) const {
  const int type = Type(column);
  if (type == kHeldCell && cells_[column].GetKind() == Value::Kind::Double) return cells_[column].ToDouble();
  if (type == SQLITE_FLOAT) return sqlite3_column_double(statement_, column);
  return std::nullopt;
}

std::optional<int64_t> RowReader::StoredInteger(int column) const {
  const int type = Type(column);
  if (type == kHeldCell && cells_[column].GetKind() == Value::Kind::Integer) return cells_[column].ToInteger();
  if (type == SQLITE_INTEGER) return sqlite3_column_int64(statement_, column);
  return std::nullopt;
}

Value RowReader::Field(int column) const {
  switch (Type(column)) {
    case kHeldCell: return cells_[column];
    case SQLITE_INTEGER: return Value(static_cast<int64_t>(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(statement_, column));
    case SQLITE_NULL: return Value();
    default: return ReadStoredText(std::string(TextOf(statement_, column)));
  }
}

}  // namespace db
