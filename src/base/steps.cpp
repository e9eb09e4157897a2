#include "base/steps.h"

#include <new>
#include <string>

namespace vk {

VbError ToVbError(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) {
    return VbError{err::OutOfMemory, {}, StandardErrorText(err::OutOfMemory)};
  }
  std::string what = e.what();
  return VbError{err::InternalError, {}, std::wstring(what.begin(), what.end())};
}

bool IgnoreErrors(const std::function<void()>& step, VbError* error) {
  try {
    step();
    return true;
  } catch (const VbError& e) {
    if (error) *error = e;
  } catch (const std::exception& e) {
    if (error) *error = ToVbError(e);
  }
  return false;
}

int RunEachStep(std::initializer_list<std::function<void()>> steps) {
  int failed = 0;
  for (const auto& step : steps) {
    if (!IgnoreErrors(step)) ++failed;
  }
  return failed;
}

}  // namespace vk
