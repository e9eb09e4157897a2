#pragma once
// The error number a call raises, for table-driven checks of failures: 0 when the call
// returns; any other exception goes on to the test.
#include <functional>

#include "runtime/vb_error.h"

namespace vk::test {

inline long ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& error) {
    return error.number;
  }
  return 0;
}

}  // namespace vk::test
