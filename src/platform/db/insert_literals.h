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
  std::vector<Value> values;  // texts, whole numbers and Doubles, in order
};

// Lifts the quoted texts and numbers that follow VALUES in an INSERT
// statement (SQLite text), each as SQLite reads that literal: a text, a
// whole number, or a Double for a number with a point or an exponent (or
// too large for 64 bits). False for any other statement, or one without a
// literal to lift.
bool LiftInsertLiterals(std::string_view sqlite, LiftedInsert& lifted);

}  // namespace db
