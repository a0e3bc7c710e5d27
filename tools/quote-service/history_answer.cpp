#include "history_answer.h"

#include <memory>
#include <optional>
#include <vector>

#include "quote_page.h"
#include "quote_request.h"

namespace quote_service {

HistoryAnswer AnswerHistoryRequest(CsvStore& store, const std::multimap<std::string, std::string>& params) {
  std::string problem;
  std::optional<QuoteRequest> query = ParseQuoteRequest(params, problem);
  if (!query) return {400, problem + "\n", "text/plain"};
  if (!IsPlainSymbol(query->symbol)) return {400, "not a symbol\n", "text/plain"};
  std::vector<QuoteRow> rows;
  if (std::shared_ptr<const History> history = store.Find(query->symbol))
    rows = SelectPage(*history, query->startIso, query->endIso);
  return {200, BuildQuotePage(query->symbol, rows), "text/html"};
}

}  // namespace quote_service
