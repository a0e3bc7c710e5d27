#pragma once
// The program's one HTTP client: fetches the body of an address.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace inet {

// Why a fetch brought no body.
enum class FetchFailure {
  kNone,          // a reply came (it may still be empty)
  kNoConnection,  // the host could not be reached
  kTimedOut,      // no whole reply within the time limit (silent or trickling server)
  kTooLarge,      // the reply outgrew the size limit
  kBrokenOff,     // the connection closed before the reply was complete
  kErrorStatus,   // the server answered with an HTTP error
  kRedirectLoop,  // the redirects did not end within the limit
  kEncoded,       // the body came compressed or otherwise encoded, which was not asked for
  kCancelled,     // the caller's cancel check asked to stop
  kBadAddress,    // not an http(s) address the client can use
};

// How long and how large one fetch may be. The defaults suit the quote
// service; tests shorten them.
struct FetchLimits {
  std::chrono::milliseconds connect{5'000};
  std::chrono::milliseconds total{30'000};
  std::size_t maxReplyBytes = 16u << 20;  // a page of 200 rows is some 40 KB
  // A caller that fetches again after empty replies gives up after this long.
  std::chrono::milliseconds retries{60'000};
};
const FetchLimits& CurrentFetchLimits();
void SetFetchLimits(const FetchLimits& limits);

// A short text for the user: "the quote service did not answer in time".
std::string DescribeFailure(FetchFailure failure);

// The body of the reply to a GET of the address, following redirects; "" when
// nothing was read, and then `failure` (when given) says why. Never throws.
// `cancelled`, when given, is asked about once a second or more often while
// the fetch waits or reads; true ends the fetch (kCancelled).
std::string OpenURL(const std::string& address, FetchFailure* failure = nullptr,
                    const std::function<bool()>& cancelled = {});

}  // namespace inet
