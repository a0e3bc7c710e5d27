#pragma once
// The engine writes one row per INSERT statement with its values pasted in,
// so nearly every such text is new and SQLite would compile each one. Lifting
// the literals after VALUES out as parameters gives one statement per shape,
// prepared once and bound per row, with the same values stored.
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/value.h"

namespace db {

struct LiftedInsert {
  std::string shape;          // the statement with "?" for each lifted literal
  std::vector<Value> values;  // texts and whole numbers, in order
};

// Lifts the quoted texts and numbers that follow VALUES in an INSERT
// statement (SQLite text), so that the row stored is the one the literals
// give: a text, a whole number, or for a number with a point or an exponent
// its text inside "CAST(? AS REAL)", which SQLite converts as it reads the
// literal. A whole number too large for 64 bits stays in the text. False for
// any other statement, one without a literal to lift, or one that SQLite
// would read differently with "?" in it (parameters, comments, a NUL).
bool LiftInsertLiterals(std::string_view sqlite, LiftedInsert& lifted);

}  // namespace db
