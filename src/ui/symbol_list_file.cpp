#include "ui/symbol_list_file.h"

namespace ui {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool EndsField(char c) { return c == ',' || c == '\r' || c == '\n'; }

}  // namespace

std::vector<std::string> SymbolListFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && IsBlank(text[i])) ++i;
    std::string field;
    if (i < n && text[i] == '"') {
      size_t close = text.find('"', i + 1);
      if (close == std::string::npos) close = n;
      field = text.substr(i + 1, close - i - 1);
      i = close + 1;
      while (i < n && !EndsField(text[i])) ++i;  // anything after the closing quote is dropped
    } else {
      size_t start = i;
      while (i < n && !EndsField(text[i])) ++i;
      size_t end = i;
      while (end > start && IsBlank(text[end - 1])) --end;
      field = text.substr(start, end - start);
    }
    fields.push_back(field);
    if (i < n && text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    ++i;  // past the delimiter
  }
  return fields;
}

}  // namespace ui
