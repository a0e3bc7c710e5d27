#include "platform/db/bound_statement.h"

#include <cmath>

#include "platform/db/db_error.h"
#include "platform/runtime/number_text.h"

namespace db {
namespace {

Value Pasted(double value, std::string text) {
  if (std::isinf(value)) Raise(kErrStatementFailed, "Syntax error in number in query expression '" + text + "'.");
  return Value(std::move(text));
}

}  // namespace

Value PastedNumber(double value) { return Pasted(value, rt::FormatNumber(value)); }
Value PastedSingle(float value) { return Pasted(value, rt::FormatSingle(value)); }

}  // namespace db
