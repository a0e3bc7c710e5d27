#include "platform/inet/service_addresses.h"

#include <cstdlib>

namespace inet {

namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

std::string QuoteServiceAddress() {
  std::string address = kDefaultQuoteServiceAddress;
  if (const char* host = Variable(kQuoteHostVariable)) address = host;
  else if (const char* port = Variable(kQuotePortVariable)) address = std::string("http://127.0.0.1:") + port;
  // Callers append "/d?..." and "/test".
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

std::string TestPageAddress() { return QuoteServiceAddress() + kTestPagePath; }

}  // namespace inet
