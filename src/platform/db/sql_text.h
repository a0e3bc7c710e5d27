#pragma once
// The one way values and names are pasted into SQL text.
//   "... WHERE Symbol = '" + db::SqlText(symbol) + "'"
//   "SELECT * FROM [" + db::SqlName(table) + "]"
#include <string>
#include <string_view>

namespace db {

// The value with every apostrophe doubled, ready to stand between quotes.
std::string SqlText(std::string_view value);

// The value as a LIKE pattern that matches it literally ("%", "_" and "\"
// escaped by "\", the apostrophes doubled), for a statement that ends its
// pattern with ESCAPE '\'.
std::string SqlLikeText(std::string_view value);

// True when the name can stand between square brackets: not empty, no "[",
// no "]" and no control character.
bool IsBracketSafe(std::string_view name);

// Why the name cannot stand between square brackets ("it is empty", "it
// contains \"[\" or \"]\"", "it contains a control character"); "" when it can.
std::string BracketProblem(std::string_view name);

// A name or a value as a message may show it: control characters as "?".
std::string ShownName(std::string_view name);

// The name itself when it is bracket-safe; otherwise the statement error
// with a message that names it.
const std::string& SqlName(const std::string& name);

}  // namespace db
