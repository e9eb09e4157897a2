#include "base/edge_report.h"

#include <windows.h>

#include <exception>
#include <string>

#include "base/steps.h"
#include "base/vb_error.h"

namespace vk {

void ReportFailureAtEdge(const wchar_t* where) noexcept {
  try {
    VbError error{err::InternalError, {}, L"unknown failure"};
    try {
      throw;
    } catch (const VbError& e) {
      error = e;
    } catch (const std::exception& e) {
      error = ToVbError(e);
    } catch (...) {
    }
    const std::wstring text = std::wstring(where) + L" failed: error " + std::to_wstring(error.number) +
                              L" in " + error.source + L": " + error.description + L"\n";
    OutputDebugStringW(text.c_str());
  } catch (...) {
    // Nothing more can be done here.
  }
}

}  // namespace vk
