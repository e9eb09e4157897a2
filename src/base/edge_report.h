#pragma once
// The edge of a window procedure, hook, timer or callback, which no failure may cross:
// what failed there goes to the debugger's output, as no caller above can be told.
//
//   return GuardEdge(L"grid window", LRESULT{0}, [&] { return self->Handle(message, wp, lp); });
//   GuardEdge(L"timer", [&] { timer->Tick.Raise(); });
#include <type_traits>

namespace vk {

// Call inside a catch block; `where` names the edge ("status bar editor").
void ReportFailureAtEdge(const wchar_t* where) noexcept;

// Runs an edge's body; whatever it throws ends here and is reported. The edge then
// answers `onFailure`: a value, or a routine that gives one (called only on failure,
// after the exception is gone: the default window procedure, say).
template <class Fallback, class Body>
auto GuardEdge(const wchar_t* where, Fallback&& onFailure, Body&& body) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (...) {
    ReportFailureAtEdge(where);
  }
  if constexpr (std::is_invocable_v<Fallback>)
    return onFailure();
  else
    return onFailure;
}

// The same for an edge that answers nothing.
template <class Body>
void GuardEdge(const wchar_t* where, Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    ReportFailureAtEdge(where);
  }
}

}  // namespace vk
