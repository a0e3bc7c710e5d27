#include "platform/db/insert_literals.h"

#include <strings.h>

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

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

// The whole number of a literal without a point or an exponent, when it fits
// 64 bits; SQLite reads a larger one (or its negation) by rules of its own, so
// such a literal stays in the text.
std::optional<int64_t> WholeNumber(std::string_view text) {
  if (text.find_first_of(".eE") != std::string_view::npos) return std::nullopt;
  int64_t whole = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return whole;
}

// Marks that SQLite reads as parameters ("?", ":a", "@a", "#a", "$a"): the
// lifted "?" would be numbered after them and bound to the wrong place.
bool IsParameterMark(std::string_view s, size_t at) {
  char c = s[at];
  if (c == '?') return true;
  // (A "$" inside a name never gets here: the name is passed over whole.)
  return (c == ':' || c == '@' || c == '#' || c == '$') && at + 1 < s.size() && IsWordChar(s[at + 1]);
}

// Where the minus before s[at] stands, blanks between allowed; `at` when none
// stands there (or it lies in text already lifted).
size_t MinusBefore(std::string_view s, size_t at, size_t from) {
  size_t k = at;
  while (k > from && std::isspace(static_cast<unsigned char>(s[k - 1]))) --k;
  return k > from && s[k - 1] == '-' ? k - 1 : at;
}

bool IsCommentStart(std::string_view s, size_t at) {
  return s.compare(at, 2, "--") == 0 || s.compare(at, 2, "/*") == 0;
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
  // SQLite's statement ends at a NUL; a bound text would run past it.
  if (s.find('\0') != std::string_view::npos) return false;
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
        // Digits right after the text would make "?7", a numbered parameter;
        // SQLite refuses the statement as written, so it runs as written.
        if (end < s.size() && IsDigit(s[end])) return false;
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
      std::string_view literal = s.substr(i, end - i);
      if (std::optional<int64_t> whole = WholeNumber(literal)) {
        lifted.shape.append(s.substr(copied, i - copied)).append("?");
        lifted.values.emplace_back(*whole);
        copied = end;
      } else if (literal.find_first_of(".eE") != std::string_view::npos) {
        // A real goes in as its text for SQLite's own conversion to read, so
        // the stored double is the very one the literal gives. A minus before
        // it goes along: SQLite negates a real literal itself (-0.0 stays
        // negative), but any other operand by subtracting it from 0. Where
        // that minus subtracts instead, the shape does not parse and the
        // statement runs as written.
        size_t start = MinusBefore(s, i, copied);
        std::string text = start < i ? "-" + std::string(literal) : std::string(literal);
        lifted.shape.append(s.substr(copied, start - copied)).append("CAST(? AS REAL)");
        lifted.values.emplace_back(std::move(text));
        copied = end;
      }
      i = end;
    } else if (IsParameterMark(s, i) || IsCommentStart(s, i)) {
      return false;
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
