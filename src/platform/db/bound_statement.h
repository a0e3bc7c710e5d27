#pragma once
// A statement whose values are bound to "?" placeholders instead of pasted
// into its text, so that a loop prepares it once and reuses it for every
// row. The values are made so that each row stores exactly what the same
// statement with its values pasted in stored.
#include <string>
#include <vector>

#include "platform/db/value.h"

namespace db {

struct BoundStatement {
  std::string sql;
  std::vector<Value> parameters;
};

// A number as pasted text carried it: its default text form (at most 15
// significant digits, 7 for a Single), bound as text. The column converts it
// as the database read the literal (a whole number as such, any other with
// the database's own reading of the decimal text, which is not always the C
// library's in the last bit). A value without a plain form (an infinity)
// fails as its text did, with the statement error.
Value PastedNumber(double value);
Value PastedSingle(float value);

}  // namespace db
