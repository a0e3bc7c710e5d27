#pragma once
// A clock test for work a hot loop need not do on every step (yielding to
// the event loop, redrawing progress): Due() answers true on its first call
// and then at most once per interval of wall time.
//
// It reads the system's coarse monotonic clock: a few milliseconds of
// resolution, for a fraction of the precise clock's cost, which a loop that
// asks on every simulated day would otherwise pay hundreds of times a
// variation; the intervals it paces are tens of milliseconds.
#include <time.h>

#include <chrono>

namespace ui {

class Pace {
 public:
  explicit Pace(std::chrono::milliseconds interval) : interval_(interval) {}

  bool Due() {
    timespec coarse{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &coarse);
    const auto now = std::chrono::steady_clock::time_point(std::chrono::seconds(coarse.tv_sec) +
                                                           std::chrono::nanoseconds(coarse.tv_nsec));
    if (started_ && now - last_ < interval_) return false;
    started_ = true;
    last_ = now;
    return true;
  }

 private:
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  bool started_ = false;
};

// How often the window shows the progress of a hot loop, and lets the event loop run.
inline constexpr std::chrono::milliseconds kDisplayInterval{20};

}  // namespace ui
