#pragma once
// Every procedure of the status bar hands its errors on under its own name: the
// number and text stay, the source becomes "VkStatxpSar." and the procedure.
#include <string>
#include <utility>

#include "base/vb_error.h"

namespace vk::controls {

inline constexpr wchar_t kStatusBarSource[] = L"VkStatxpSar.";

template <class F>
auto Rethrown(const wchar_t* procedure, F&& body) -> decltype(body()) {
  try {
    return body();
  } catch (VbError& error) {
    error.source = std::wstring(kStatusBarSource) + procedure;
    throw;
  }
}

// Raises error `number` with the procedure's source.
[[noreturn]] inline void RaiseFrom(long number, const wchar_t* procedure) {
  throw VbError{number, std::wstring(kStatusBarSource) + procedure, StandardErrorText(number)};
}

}  // namespace vk::controls
