#pragma once
// The one helper for code that "runs each step on its own and skips the ones that
// fail": layout routines, clear routines and unload paths call it instead of
// repeating try/catch. A failing step is a run-time error (VbError) or a C++
// exception from the library, which counts as one.
//
//   RunEachStep({
//       [&] { grid.setWidth(form.scaleWidth() - 240); },
//       [&] { grid.setHeight(form.scaleHeight() - bar.height()); },
//   });
#include <exception>
#include <functional>
#include <initializer_list>

#include "base/exception_error.h"
#include "base/vb_error.h"

namespace vk {

// Runs every step in order whatever the others do; returns how many failed.
int RunEachStep(std::initializer_list<std::function<void()>> steps);

// Runs one step; false (and the error, when asked for) when it failed.
bool IgnoreErrors(const std::function<void()>& step, VbError* error = nullptr);

// Runs a routine that answers true or false; a failure inside it (a run-time error or
// any C++ exception) answers false, as the loaders and writers that "return False" do.
template <class Routine>
bool FalseOnError(Routine&& routine) {
  bool answer = false;
  IgnoreErrors([&] { answer = routine(); });
  return answer;
}

}  // namespace vk
