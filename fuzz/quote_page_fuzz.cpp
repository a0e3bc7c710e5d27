// A quote-history page as the network may deliver it: whatever the bytes,
// the parser ends without a fault.
#include <cstdint>
#include <string>

#include "market_data/quote_page_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ParseQuotePageRows(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
