#pragma once
// The error number a call raises, for table-driven checks of failures: 0 when the call
// returns; any other exception goes on to the test.
#include <functional>

#include "base/vb_error.h"

namespace vk::test {

// The whole error a call raises (number, source, text); an empty one when it returns.
inline VbError RaisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& error) {
    return error;
  }
  return {};
}

inline long ErrorOf(const std::function<void()>& call) { return RaisedBy(call).number; }

}  // namespace vk::test
