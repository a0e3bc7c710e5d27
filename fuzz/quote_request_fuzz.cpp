// The quote service's history requests as any client may send them: the
// query text is decoded as the server decodes it and answered from the
// shipped data; answering ends without a fault, and every page it serves
// reads back in the program's quote parser with one row per day, none left out.
#include <httplib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "history_answer.h"
#include "market_data/quote_page_parser.h"
#include "quote_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quote_service::CsvStore store(KESTROVANE_DATA_DIR);
  httplib::Params params;
  httplib::detail::parse_query_text(std::string(reinterpret_cast<const char*>(data), size), params);
  quote_service::HistoryAnswer answer = quote_service::AnswerHistoryRequest(store, params);
  if (answer.status != 200) return 0;
  QuotePageResult page = ParseQuotePageRows(answer.body);
  size_t served = 0;
  for (size_t at = answer.body.find("<b>"); at != std::string::npos; at = answer.body.find("<b>", at + 1)) ++served;
  if (!page.problem.empty() || page.rows.size() != served || page.rowsLeftOut != 0) std::abort();
  return 0;
}
