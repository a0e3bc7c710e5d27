#pragma once
// Names compared as the database and the registry compare them: letter case
// aside (ASCII letters only, as both fold them).
#include <algorithm>
#include <cctype>
#include <string_view>

namespace rt {

inline bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace rt
