#pragma once
// The history request: /d?a=..&b=..&c=..&d=..&e=..&f=..&g=d&s=SYMBOL, start
// month (zero-based), day and four-digit year in a, b, c, the end date in d,
// e, f, g=d for daily rows and the symbol in s.
#include <map>
#include <optional>
#include <string>

namespace quote_service {

struct QuoteRequest {
  std::string symbol;    // as sent, blanks trimmed
  std::string startIso;  // "2004-03-05"
  std::string endIso;
};

// The request the query names (its values already percent-decoded), or
// nullopt with the reason in `problem` when a key is missing or out of range.
std::optional<QuoteRequest> ParseQuoteRequest(const std::multimap<std::string, std::string>& params,
                                              std::string& problem);

}  // namespace quote_service
