#pragma once
// The error number an action raises, 0 when it raises none.
#include <cstdint>
#include <functional>

#include "platform/runtime/error.h"

namespace testsupport {

inline int32_t ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace testsupport
