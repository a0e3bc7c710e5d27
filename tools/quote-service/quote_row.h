#pragma once
// One day of a symbol's history as the service holds it.
#include <string>

namespace quote_service {

struct QuoteRow {
  std::string isoDate;  // "2004-03-05": sorts and compares as text
  double open = 0;
  double high = 0;
  double low = 0;
  double close = 0;
  double adjClose = 0;
  long long volume = 0;
};

}  // namespace quote_service
