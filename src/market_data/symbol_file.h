#pragma once
// The symbol file the import reads: one "SYMBOL,market" entry per line.
#include <optional>
#include <string>
#include <vector>

struct SymbolEntry {
  std::string symbol;  // the text before the first comma, trimmed, case kept
  std::string market;  // the two characters after the comma, blanks removed
};

// The lines of a text file, CR LF or LF; a last line end adds no empty line.
std::vector<std::string> SplitFileLines(const std::string& text);

// The entry of one line, or nullopt for a skipped line (one holding "/", "^",
// "$", "~" or ".": index symbols, class shares, warrants). A line without a
// comma (an empty line too) raises an error naming the file and line.
std::optional<SymbolEntry> ParseSymbolLine(const std::string& line, const std::string& fileName, int lineNumber);
