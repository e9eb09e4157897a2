#pragma once
// How errors leave a COM method: as Visual Basic hosts expect them. A platform error
// number n becomes HRESULT 0x800A0000 + n (an HRESULT passes through unchanged) and
// IErrorInfo carries the source and the description.
#include <windows.h>
#include <oaidl.h>

#include "base/exception_error.h"
#include "base/vb_error.h"

namespace vk::com {

HRESULT HresultOf(long number);

// Sets the thread's error information and returns the HRESULT for the error.
HRESULT ReportError(const VbError& error, REFIID iid);

// Runs a COM method's body; no exception leaves it. A VbError becomes the host's
// error, anything else an internal error that keeps its reason in the description.
template <class Body>
HRESULT ComMethod(REFIID iid, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportError(CurrentVbError(), iid);
  }
}

// ISupportErrorInfo for the listed interfaces.
template <class... Interfaces>
class SupportsErrorInfo : public ISupportErrorInfo {
 public:
  using interface_type = ISupportErrorInfo;
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return ((iid == __uuidof(Interfaces)) || ...) ? S_OK : S_FALSE;
  }
};

}  // namespace vk::com
