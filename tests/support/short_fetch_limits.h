#pragma once
// Shortens the network limits for the life of the object, so that a test's
// faulty server costs a fraction of a second instead of the real limits.
#include "platform/inet/open_url.h"

namespace testsupport {

class ShortFetchLimits {
 public:
  ShortFetchLimits() : saved_(inet::CurrentFetchLimits()) {
    inet::FetchLimits limits;
    limits.connect = std::chrono::milliseconds(2000);
    limits.total = std::chrono::milliseconds(400);
    limits.maxReplyBytes = 256u << 10;
    limits.retries = std::chrono::milliseconds(1000);
    inet::SetFetchLimits(limits);
  }
  ~ShortFetchLimits() { inet::SetFetchLimits(saved_); }
  ShortFetchLimits(const ShortFetchLimits&) = delete;
  ShortFetchLimits& operator=(const ShortFetchLimits&) = delete;

 private:
  inet::FetchLimits saved_;
};

}  // namespace testsupport
