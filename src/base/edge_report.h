#pragma once
// The edge of a window procedure, hook or callback, which no failure may cross: what
// failed there goes to the debugger's output, as no caller above can be told.
namespace vk {

// Call inside a catch block; `where` names the edge ("status bar editor").
void ReportFailureAtEdge(const wchar_t* where) noexcept;

}  // namespace vk
