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
// significant digits), which the database reads as it read the literal.
// A value without a plain form (an infinity) fails as its text did, with the
// statement error.
Value NumberParameter(double value);
// A Single in its default text form (at most 7 significant digits).
Value SingleParameter(float value);

}  // namespace db
