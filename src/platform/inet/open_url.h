#pragma once
// The program's one HTTP client: fetches the body of an address.
#include <string>

namespace inet {

// The body of the reply to a GET of the address, following redirects; "" when
// nothing was read: no connection, a timeout, an HTTP error status, a bad
// address. Never throws. Connect and low-speed timeouts keep a dead or stalled
// server from holding the caller for long.
std::string OpenURL(const std::string& address);

}  // namespace inet
