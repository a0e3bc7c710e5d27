#pragma once
// Where the quote-history service and the connectivity test page live.
#include <string>

namespace inet {

// The built-in address of the quote-history service.
inline constexpr const char* kDefaultQuoteServiceAddress = "http://127.0.0.1:8841";
// Names another address (tests point it at their own service), "http://host:port".
inline constexpr const char* kQuoteHostVariable = "KESTROVANE_QUOTE_HOST";
// Moves the local service to another port of 127.0.0.1 (scripts/run.sh starts
// it there); the host variable wins when both are set.
inline constexpr const char* kQuotePortVariable = "KESTROVANE_QUOTE_PORT";
// The connectivity test page's path on the same service.
inline constexpr const char* kTestPagePath = "/test";

// The quote service's base address, without a trailing "/".
std::string QuoteServiceAddress();
// The connectivity test page.
std::string TestPageAddress();

}  // namespace inet
