#include "platform/db/insert_literals.h"

#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/runtime/conversions.h"

namespace db {
namespace {

bool IsWordChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The end of a quoted run starting at `from` (a doubled quote stays inside).
size_t QuotedEnd(std::string_view s, size_t from, char close) {
  size_t j = from + 1;
  while (j < s.size()) {
    if (s[j] == close) {
      if (close != ']' && j + 1 < s.size() && s[j + 1] == close) {
        j += 2;
        continue;
      }
      return j + 1;
    }
    ++j;
  }
  return s.size();
}

bool WordAt(std::string_view s, size_t at, const char* word) {
  size_t n = std::char_traits<char>::length(word);
  if (at + n > s.size() || strncasecmp(s.data() + at, word, n) != 0) return false;
  bool startOk = at == 0 || !IsWordChar(s[at - 1]);
  bool endOk = at + n == s.size() || !IsWordChar(s[at + n]);
  return startOk && endOk;
}

// A numeric literal at `at`: digits, a point and digits, an exponent.
size_t NumberEnd(std::string_view s, size_t at) {
  size_t j = at;
  while (j < s.size() && IsDigit(s[j])) ++j;
  if (j < s.size() && s[j] == '.') {
    ++j;
    while (j < s.size() && IsDigit(s[j])) ++j;
  }
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k < s.size() && IsDigit(s[k])) {
      while (k < s.size() && IsDigit(s[k])) ++k;
      j = k;
    }
  }
  return j;
}

Value NumberValue(std::string_view text) {
  std::string digits(text);
  if (digits.find_first_of(".eE") == std::string::npos) {
    errno = 0;
    long long whole = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno != ERANGE) return Value(static_cast<int64_t>(whole));
  }
  return Value(rt::ParseDecimal(digits));
}

std::string Unquoted(std::string_view quoted) {
  std::string text;
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    text += quoted[i];
    if (quoted[i] == '\'') ++i;  // a doubled quote stands for one
  }
  return text;
}

}  // namespace

bool LiftInsertLiterals(std::string_view s, LiftedInsert& lifted) {
  size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  if (!WordAt(s, i, "INSERT")) return false;
  lifted.shape.clear();
  lifted.values.clear();
  bool inValues = false;
  size_t copied = 0;  // s[copied, i) is still to be copied into the shape
  while (i < s.size()) {
    char c = s[i];
    if (c == '[' || c == '"' || c == '`') {
      i = QuotedEnd(s, i, c == '[' ? ']' : c);
    } else if (c == '\'') {
      size_t end = QuotedEnd(s, i, '\'');
      bool blob = i > 0 && (s[i - 1] == 'x' || s[i - 1] == 'X') && (i < 2 || !IsWordChar(s[i - 2]));
      if (inValues && !blob && end > i + 1 && s[end - 1] == '\'') {
        lifted.shape.append(s.substr(copied, i - copied)).append("?");
        lifted.values.emplace_back(Unquoted(s.substr(i, end - i)));
        copied = end;
      }
      i = end;
    } else if (inValues && (IsDigit(c) || (c == '.' && i + 1 < s.size() && IsDigit(s[i + 1]))) &&
               (i == 0 || !IsWordChar(s[i - 1]))) {
      size_t end = NumberEnd(s, i);
      if (end < s.size() && IsWordChar(s[end])) {  // 0x1F, 12abc: not a plain number
        while (end < s.size() && IsWordChar(s[end])) ++end;
        i = end;
        continue;
      }
      lifted.shape.append(s.substr(copied, i - copied)).append("?");
      lifted.values.push_back(NumberValue(s.substr(i, end - i)));
      copied = i = end;
    } else if (IsWordChar(c)) {
      size_t end = i;
      while (end < s.size() && IsWordChar(s[end])) ++end;
      if (!inValues && WordAt(s, i, "VALUES")) inValues = true;
      if (inValues && (WordAt(s, i, "SELECT") || WordAt(s, i, "ON") || WordAt(s, i, "RETURNING"))) return false;
      i = end;
    } else {
      ++i;
    }
  }
  if (lifted.values.empty()) return false;
  lifted.shape.append(s.substr(copied));
  return true;
}

}  // namespace db
