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

std::string SqlLikeText(std::string_view value) {
  std::string escaped;
  for (char c : value) {
    if (c == '%' || c == '_' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return SqlText(escaped);
}

namespace {

bool IsControl(char c) {
  auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

}  // namespace

std::string BracketProblem(std::string_view name) {
  if (name.empty()) return "it is empty";
  for (char c : name)
    if (c == '[' || c == ']') return "it contains \"[\" or \"]\"";
  for (char c : name)
    if (IsControl(c)) return "it contains a control character";
  return "";
}

bool IsBracketSafe(std::string_view name) { return BracketProblem(name).empty(); }

std::string ShownName(std::string_view name) {
  std::string shown;
  for (char c : name) shown += IsControl(c) ? '?' : c;
  return shown;
}

const std::string& SqlName(const std::string& name) {
  if (!IsBracketSafe(name)) {
    Raise(kErrStatementFailed, "The name '" + ShownName(name) +
                                   "' cannot be used as a table or symbol name: a name must not be empty or "
                                   "contain '[', ']' or control characters.");
  }
  return name;
}

}  // namespace db
