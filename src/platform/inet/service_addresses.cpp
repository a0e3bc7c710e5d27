#include "platform/inet/service_addresses.h"

#include <cstdlib>

namespace inet {

std::string QuoteServiceAddress() {
  const char* configured = std::getenv(kQuoteHostVariable);
  std::string address = configured && *configured ? configured : kDefaultQuoteServiceAddress;
  // Callers append "/d?..." and "/test".
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

std::string TestPageAddress() { return QuoteServiceAddress() + kTestPagePath; }

}  // namespace inet
