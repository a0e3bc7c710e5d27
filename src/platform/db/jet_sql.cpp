#include "platform/db/jet_sql.h"

#include <strings.h>

#include <cctype>
#include <vector>

#include "platform/db/db_error.h"
#include "platform/runtime/date.h"

namespace db {
namespace {

enum class Tok { Space, Word, Name, String, DateLiteral, Punct };

struct Token {
  Tok kind;
  std::string text;  // raw text; the inner text for Name and DateLiteral
};

bool IsWordChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The end of a "--" comment (its line end stays) or a "/* */" comment (an
// unclosed one runs to the end, as SQLite reads it) that starts at `at`; 0
// when none starts there.
size_t CommentEnd(std::string_view s, size_t at) {
  if (s.compare(at, 2, "--") == 0) {
    size_t lineEnd = s.find('\n', at);
    return lineEnd == std::string_view::npos ? s.size() : lineEnd;
  }
  if (s.compare(at, 2, "/*") == 0) {
    size_t close = s.find("*/", at + 2);
    return close == std::string_view::npos ? s.size() : close + 2;
  }
  return 0;
}

// Splits the text so that quoted strings, bracketed names and #date# literals
// are single tokens: only the text outside them is ever rewritten.
std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> out;
  size_t i = 0, n = s.size();
  while (i < n) {
    char c = s[i];
    size_t j = i + 1;
    if (IsSpace(c)) {
      while (j < n && IsSpace(s[j])) ++j;
      out.push_back({Tok::Space, std::string(s.substr(i, j - i))});
    } else if (size_t end = CommentEnd(s, i)) {
      // SQLite reads a comment as a blank; kept as text, its "/" or "#" would be rewritten.
      out.push_back({Tok::Space, " "});
      j = end;
    } else if (c == '[') {
      size_t close = s.find(']', j);
      if (close == std::string_view::npos) {
        out.push_back({Tok::Punct, std::string(s.substr(i))});  // left for SQLite to refuse
        break;
      }
      out.push_back({Tok::Name, std::string(s.substr(j, close - j))});
      j = close + 1;
    } else if (c == '\'' || c == '"') {
      while (j < n) {
        if (s[j] == c) {
          if (j + 1 < n && s[j + 1] == c) {
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        ++j;
      }
      out.push_back({Tok::String, std::string(s.substr(i, j - i))});
    } else if (c == '#') {
      size_t close = s.find('#', j);
      if (close == std::string_view::npos)
        Raise(kErrStatementFailed, "Syntax error in date in query expression '" + std::string(s.substr(i)) + "'.");
      out.push_back({Tok::DateLiteral, std::string(s.substr(j, close - j))});
      j = close + 1;
    } else if (IsWordChar(c)) {
      while (j < n && IsWordChar(s[j])) ++j;
      out.push_back({Tok::Word, std::string(s.substr(i, j - i))});
    } else {
      out.push_back({Tok::Punct, std::string(1, c)});
    }
    i = j;
  }
  return out;
}

bool IsWord(const Token& t, const char* word) { return t.kind == Tok::Word && strcasecmp(t.text.c_str(), word) == 0; }

bool IsPunct(const Token& t, char c) { return t.kind == Tok::Punct && t.text.size() == 1 && t.text[0] == c; }

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string Bracket(const std::string& name) { return "[" + name + "]"; }

std::string DateLiteralText(const std::string& inner) {
  std::optional<rt::Date> d = rt::ParseDate(inner);
  if (!d) Raise(kErrStatementFailed, "Syntax error in date in query expression '#" + inner + "#'.");
  return "'" + rt::FormatIso(*d) + "'";
}

// ---- CREATE TABLE ----------------------------------------------------------

[[noreturn]] void RaiseFieldDefinition(const std::string& detail) {
  Raise(kErrStatementFailed, "Syntax error in field definition. (" + detail + ")");
}

class TableDefinition {
 public:
  explicit TableDefinition(std::vector<Token> tokens) : t_(std::move(tokens)) {}

  std::string Translate() {
    Expect("CREATE");
    // A TEMP table belongs to the connection and goes with it.
    const bool temp = AtWord("TEMP");
    if (temp) ++p_;
    Expect("TABLE");
    std::string table = TakeName("table name");
    ExpectPunct('(');
    std::vector<std::string> parts;
    for (;;) {
      if (AtWord("CONSTRAINT") || AtWord("PRIMARY") || AtWord("UNIQUE")) parts.push_back(TableConstraint());
      else parts.push_back(Column());
      if (AtPunct(',')) {
        ++p_;
        continue;
      }
      ExpectPunct(')');
      break;
    }
    while (AtPunct(';')) ++p_;
    if (p_ < t_.size()) RaiseFieldDefinition("unexpected text after the column list");

    std::string out = std::string(temp ? "CREATE TEMP TABLE " : "CREATE TABLE ") + Bracket(table) + " (";
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? ", " : "") + parts[i];
    out += ") STRICT";
    if (hasPrimaryKey_) out += ", WITHOUT ROWID";
    return out;
  }

 private:
  bool AtWord(const char* w) const { return p_ < t_.size() && IsWord(t_[p_], w); }
  bool AtPunct(char c) const { return p_ < t_.size() && IsPunct(t_[p_], c); }
  std::string Seen() const { return p_ < t_.size() ? "near '" + t_[p_].text + "'" : "at the end"; }

  void Expect(const char* w) {
    if (!AtWord(w)) RaiseFieldDefinition(std::string("expected ") + w + " " + Seen());
    ++p_;
  }
  void ExpectPunct(char c) {
    if (!AtPunct(c)) RaiseFieldDefinition(std::string("expected '") + c + "' " + Seen());
    ++p_;
  }
  std::string TakeName(const char* what) {
    if (p_ >= t_.size() || (t_[p_].kind != Tok::Word && t_[p_].kind != Tok::Name))
      RaiseFieldDefinition(std::string("expected a ") + what + " " + Seen());
    return t_[p_++].text;
  }

  std::string KeyClause() {
    if (AtWord("PRIMARY")) {
      ++p_;
      Expect("KEY");
      if (hasPrimaryKey_) RaiseFieldDefinition("more than one primary key");
      hasPrimaryKey_ = true;
      return "PRIMARY KEY";
    }
    Expect("UNIQUE");
    return "UNIQUE";
  }

  std::string TableConstraint() {
    std::string out;
    if (AtWord("CONSTRAINT")) {
      ++p_;
      out = "CONSTRAINT " + Bracket(TakeName("constraint name")) + " ";
    }
    out += KeyClause() + " (";
    ExpectPunct('(');
    for (bool first = true;; first = false) {
      out += (first ? "" : ", ") + Bracket(TakeName("column name"));
      if (AtPunct(',')) {
        ++p_;
        continue;
      }
      ExpectPunct(')');
      break;
    }
    return out + ")";
  }

  std::string Column() {
    std::string name = TakeName("column name");
    if (p_ >= t_.size() || t_[p_].kind != Tok::Word) RaiseFieldDefinition("no Jet type " + Seen());
    const std::string type = t_[p_++].text;
    std::string out = Bracket(name) + " ";
    if (strcasecmp(type.c_str(), "TEXT") == 0) {
      out += "TEXT COLLATE NOCASE";
      if (AtPunct('(')) {  // TEXT(n): the size is not enforced
        ++p_;
        if (p_ >= t_.size() || !AllDigits(t_[p_].text)) RaiseFieldDefinition("bad text size " + Seen());
        ++p_;
        ExpectPunct(')');
      }
    } else if (strcasecmp(type.c_str(), "MONEY") == 0 || strcasecmp(type.c_str(), "DOUBLE") == 0) {
      out += "REAL";
    } else if (strcasecmp(type.c_str(), "INTEGER") == 0) {
      out += "INTEGER";
    } else if (strcasecmp(type.c_str(), "DATETIME") == 0) {
      // A date column holds a stored date or Null, so a text that is not a
      // date fails like a conversion instead of being kept.
      std::string c = Bracket(name);
      // ("+0 days" makes SQLite normalise, so 30 February is refused too.)
      out += "TEXT CONSTRAINT " + Bracket(name + " holds a date") + " CHECK (" + c + " IS NULL OR (length(" + c +
             ") = 10 AND date(" + c + ", '+0 days') IS " + c + ") OR (length(" + c + ") = 19 AND datetime(" + c +
             ", '+0 days') IS " + c + "))";
    } else {
      RaiseFieldDefinition("unknown type '" + type + "'");
    }
    while (p_ < t_.size() && !AtPunct(',') && !AtPunct(')')) {
      if (AtWord("NOT")) {
        ++p_;
        Expect("NULL");
        out += " NOT NULL";
      } else if (AtWord("NULL")) {
        ++p_;
      } else if (AtWord("CONSTRAINT")) {
        ++p_;
        out += " CONSTRAINT " + Bracket(TakeName("constraint name")) + " " + KeyClause();
      } else if (AtWord("PRIMARY") || AtWord("UNIQUE")) {
        out += " " + KeyClause();
      } else {
        RaiseFieldDefinition("unexpected " + Seen());
      }
    }
    return out;
  }

  std::vector<Token> t_;
  size_t p_ = 0;
  bool hasPrimaryKey_ = false;
};

// ---- other statements --------------------------------------------------------

std::string Emit(const Token& t) {
  switch (t.kind) {
    case Tok::Name: return Bracket(t.text);
    case Tok::DateLiteral: return DateLiteralText(t.text);
    // Jet's "/" divides in floating point even between whole numbers.
    case Tok::Punct: return t.text == "/" ? "* 1.0 /" : t.text;
    default: return t.text;
  }
}

// "SELECT MIN(c), MAX(c) FROM ... [WHERE ...]": SQLite reads every row in
// range for the pair, but finds a single MIN or MAX through the index. So
// the two are asked apart, each as a subquery, under the names SQLite gives
// the pair; "" for any other statement (one with grouping, ordering, a limit
// or a subquery of its own is left alone too).
std::string MinAndMaxApart(const std::vector<Token>& tokens, const std::vector<size_t>& sig) {
  auto at = [&](size_t k) -> const Token& { return tokens[sig[k]]; };
  auto isColumn = [&](size_t k) { return at(k).kind == Tok::Word || at(k).kind == Tok::Name; };
  if (sig.size() < 12 || !IsWord(at(0), "SELECT") || !IsWord(at(1), "MIN") || !IsPunct(at(2), '(') || !isColumn(3) ||
      !IsPunct(at(4), ')') || !IsPunct(at(5), ',') || !IsWord(at(6), "MAX") || !IsPunct(at(7), '(') ||
      at(8).kind != at(3).kind || strcasecmp(at(8).text.c_str(), at(3).text.c_str()) != 0 || !IsPunct(at(9), ')') ||
      !IsWord(at(10), "FROM"))
    return "";
  for (size_t k = 11; k < sig.size(); ++k) {
    for (const char* word : {"SELECT", "GROUP", "HAVING", "ORDER", "LIMIT", "UNION", "INTERSECT", "EXCEPT", "WINDOW"})
      if (IsWord(at(k), word)) return "";
    if (IsPunct(at(k), ';')) return "";
  }
  auto emit = [&](size_t from, size_t to) {  // the tokens from sig[from] to before sig[to] (or the end)
    std::string text;
    for (size_t i = sig[from]; i < (to < sig.size() ? sig[to] : tokens.size()); ++i) text += Emit(tokens[i]);
    while (!text.empty() && IsSpace(text.back())) text.pop_back();
    return text;
  };
  auto name = [](const std::string& expression) {  // as SQLite names the column: the expression's text
    std::string quoted = "\"";
    for (char c : expression) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
  };
  const std::string min = emit(1, 5), max = emit(6, 10), source = " " + emit(10, sig.size());
  return "SELECT (SELECT " + min + source + ") AS " + name(min) + ", (SELECT " + max + source + ") AS " + name(max);
}

}  // namespace

std::string TranslateJetSql(std::string_view jet) {
  std::vector<Token> tokens = Tokenize(jet);
  std::vector<size_t> sig;  // indexes of the tokens that are not blanks
  for (size_t i = 0; i < tokens.size(); ++i)
    if (tokens[i].kind != Tok::Space) sig.push_back(i);

  const bool temp = sig.size() >= 3 && IsWord(tokens[sig[1]], "TEMP");
  if (sig.size() >= 2 && IsWord(tokens[sig[0]], "CREATE") && IsWord(tokens[sig[temp ? 2 : 1]], "TABLE")) {
    std::vector<Token> significant;
    for (size_t i : sig) significant.push_back(tokens[i]);
    return TableDefinition(std::move(significant)).Translate();
  }

  if (std::string apart = MinAndMaxApart(tokens, sig); !apart.empty()) return apart;

  // SELECT [DISTINCT] TOP n: drop "TOP n" and its blanks, limit at the end.
  std::string limit;
  size_t dropFrom = 0, dropTo = 0;
  if (!sig.empty() && IsWord(tokens[sig[0]], "SELECT")) {
    size_t k = 1;
    if (k < sig.size() && IsWord(tokens[sig[k]], "DISTINCT")) ++k;
    if (k + 1 < sig.size() && IsWord(tokens[sig[k]], "TOP") && AllDigits(tokens[sig[k + 1]].text)) {
      limit = tokens[sig[k + 1]].text;
      dropFrom = sig[k];
      dropTo = k + 2 < sig.size() ? sig[k + 2] : tokens.size();
    }
  }

  size_t end = tokens.size();  // trailing blanks and semicolons stay after the LIMIT
  while (end > 0 && (tokens[end - 1].kind == Tok::Space || IsPunct(tokens[end - 1], ';'))) --end;

  std::string out;
  out.reserve(jet.size() + 16);
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i == end && !limit.empty()) out += " LIMIT " + limit;
    if (i >= dropFrom && i < dropTo) continue;
    out += Emit(tokens[i]);
  }
  if (end == tokens.size() && !limit.empty()) out += " LIMIT " + limit;
  return out;
}

}  // namespace db
