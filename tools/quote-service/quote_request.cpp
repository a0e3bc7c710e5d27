#include "quote_request.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace quote_service {
namespace {

std::optional<std::string> Value(const std::multimap<std::string, std::string>& params, const std::string& key) {
  auto found = params.find(key);
  if (found == params.end()) return std::nullopt;
  return found->second;
}

// A whole number written with minDigits to maxDigits characters, within [low, high].
std::optional<int> Number(const std::string& text, size_t minDigits, size_t maxDigits, int low, int high) {
  if (text.size() < minDigits || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

// The ISO date of a zero-based month, a day and a year, or the reason it is not one.
std::optional<std::string> IsoDate(const std::multimap<std::string, std::string>& params, const char* monthKey,
                                   const char* dayKey, const char* yearKey, std::string& problem) {
  std::optional<std::string> month = Value(params, monthKey), day = Value(params, dayKey),
                             year = Value(params, yearKey);
  if (!month || !day || !year) {
    problem = std::string("missing ") + monthKey + ", " + dayKey + " or " + yearKey;
    return std::nullopt;
  }
  std::optional<int> m = Number(*month, 1, 2, 0, 11);
  std::optional<int> d = Number(*day, 1, 2, 1, 31);
  std::optional<int> y = Number(*year, 4, 4, 1000, 9999);
  if (!m || !d || !y) {
    problem = std::string("bad date in ") + monthKey + ", " + dayKey + " or " + yearKey;
    return std::nullopt;
  }
  char iso[32];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", *y, *m + 1, *d);
  return std::string(iso);
}

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

}  // namespace

std::optional<QuoteRequest> ParseQuoteRequest(const std::multimap<std::string, std::string>& params,
                                              std::string& problem) {
  QuoteRequest request;
  std::optional<std::string> start = IsoDate(params, "a", "b", "c", problem);
  if (!start) return std::nullopt;
  std::optional<std::string> end = IsoDate(params, "d", "e", "f", problem);
  if (!end) return std::nullopt;
  if (Value(params, "g") != "d") {
    problem = "only daily rows (g=d) are served";
    return std::nullopt;
  }
  std::optional<std::string> symbol = Value(params, "s");
  if (!symbol || Trim(*symbol).empty()) {
    problem = "missing symbol (s)";
    return std::nullopt;
  }
  request.symbol = Trim(*symbol);
  request.startIso = *start;
  request.endIso = *end;
  return request;
}

}  // namespace quote_service
