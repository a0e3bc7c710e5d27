#pragma once
// The first few of a list by name and a count of the rest, as the run's
// messages name rows, days and symbols: "a, b, c and 22 more".
#include <functional>
#include <string>
#include <vector>

namespace rt {

// Symbols a run's message names one by one before it counts the rest: a
// longer list would not fit on the screen.
inline constexpr size_t kListedSymbols = 20;

// The names joined with ", ", then " and N more" for the list's other
// `total - named.size()` members.
inline std::string NamedAndMore(const std::vector<std::string>& named, size_t total) {
  std::string text;
  for (const std::string& name : named) text += (text.empty() ? "" : ", ") + name;
  if (total > named.size()) text += " and " + std::to_string(total - named.size()) + " more";
  return text;
}

// The first `listed` items, each as `name` writes it, then a count of the rest.
template <typename Item, typename Name = std::identity>
std::string FirstNamedAndMore(const std::vector<Item>& items, size_t listed, Name name = {}) {
  std::vector<std::string> named;
  for (size_t k = 0; k < items.size() && k < listed; ++k) named.emplace_back(name(items[k]));
  return NamedAndMore(named, items.size());
}

// A line for each of the first symbols of a symbol-keyed map ("\r\nIBM" +
// `separator` + what `line` makes of its entry), then a count of the others.
template <typename Entries, typename Line>
std::string SymbolLines(const Entries& entries, const std::string& separator, Line line) {
  std::string lines;
  size_t k = 0;
  for (const auto& [symbol, entry] : entries) {
    if (k++ == kListedSymbols) {
      lines += "\r\n... and " + std::to_string(entries.size() - kListedSymbols) + " more symbols";
      break;
    }
    lines += "\r\n" + symbol + separator + line(entry);
  }
  return lines;
}

}  // namespace rt
