#pragma once
// The answer to one history request, as the server sends it: the page of the
// symbol's rows, or 400 with the reason for a request it cannot read.
#include <map>
#include <string>

#include "csv_store.h"

namespace quote_service {

struct HistoryAnswer {
  int status = 200;
  std::string body;
  std::string contentType;
};

// `params` are the request's query values, already percent-decoded.
HistoryAnswer AnswerHistoryRequest(CsvStore& store, const std::multimap<std::string, std::string>& params);

}  // namespace quote_service
