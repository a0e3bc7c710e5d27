#pragma once
// The first few of a list by name and a count of the rest, as the run's
// messages name rows, days and symbols: "a, b, c and 22 more".
#include <string>
#include <vector>

namespace rt {

// The names joined with ", ", then " and N more" for the list's other
// `total - named.size()` members.
inline std::string NamedAndMore(const std::vector<std::string>& named, size_t total) {
  std::string text;
  for (const std::string& name : named) text += (text.empty() ? "" : ", ") + name;
  if (total > named.size()) text += " and " + std::to_string(total - named.size()) + " more";
  return text;
}

}  // namespace rt
