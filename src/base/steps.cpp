#include "base/steps.h"

namespace vk {

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
