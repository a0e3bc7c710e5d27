#pragma once
// The one way values and names are pasted into SQL text.
//   "... WHERE Symbol = '" + db::SqlText(symbol) + "'"
//   "SELECT * FROM [" + db::SqlName(table) + "]"
#include <string>
#include <string_view>

namespace db {

// The value with every apostrophe doubled, ready to stand between quotes.
std::string SqlText(std::string_view value);

// True when the name can stand between square brackets: not empty, no "[",
// no "]" and no control character.
bool IsBracketSafe(std::string_view name);

// The name itself when it is bracket-safe; otherwise the statement error
// with a message that names it.
const std::string& SqlName(const std::string& name);

}  // namespace db
