#include "market_data/symbol_file.h"

#include "platform/runtime/error.h"

std::vector<std::string> SplitFileLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

std::optional<SymbolEntry> ParseSymbolLine(const std::string& line, const std::string& fileName, int lineNumber) {
  if (line.find_first_of("/^$~.") != std::string::npos) return std::nullopt;
  size_t comma = line.find(',');
  if (comma == std::string::npos)
    throw rt::Error(rt::kErrInvalidProcedureCall, "Line " + std::to_string(lineNumber) + " of " + fileName +
                                                      " is not of the form SYMBOL,market: \"" + line + "\"");
  SymbolEntry entry;
  entry.symbol = Trim(line.substr(0, comma));
  for (char c : line.substr(comma + 1, 2))
    if (c != ' ') entry.market += c;
  return entry;
}
