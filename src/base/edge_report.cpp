#include "base/edge_report.h"

#include <windows.h>

#include <string>

#include "base/exception_error.h"

namespace vk {

void ReportFailureAtEdge(const wchar_t* where) noexcept {
  try {
    const VbError error = CurrentVbError();
    const std::wstring text = std::wstring(where) + L" failed: error " + std::to_wstring(error.number) +
                              L" in " + error.source + L": " + error.description + L"\n";
    OutputDebugStringW(text.c_str());
  } catch (...) {
    // Nothing more can be done here.
  }
}

}  // namespace vk
