#include "platform/db/sql_text.h"

#include "platform/db/db_error.h"

namespace db {

std::string SqlText(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

bool IsBracketSafe(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (c == '[' || c == ']' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

const std::string& SqlName(const std::string& name) {
  if (!IsBracketSafe(name)) {
    std::string shown;
    for (char c : name) shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    Raise(kErrStatementFailed, "The name '" + shown +
                                   "' cannot be used as a table or symbol name: a name must not be empty or "
                                   "contain '[', ']' or control characters.");
  }
  return name;
}

}  // namespace db
