#pragma once
// What the host services take from outside, each behind one replaceable function:
// the logon and computer names and the data-access component (the clock is the
// runtime's, the message box's answer has its own handler). The defaults are the real thing; tests swap them through
// ScopedHostSeams and product code never asks whether it is under test.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>

#include "base/seam.h"
#include "com/com_ptr.h"

namespace vk {

struct HostSeams {
  std::function<std::wstring()> logonName;
  std::function<std::wstring()> computerName;
  // A new data-access object; a null pointer when it cannot be created.
  std::function<com::ComPtr<IDispatch>()> createDataAccess;
};

template <>
HostSeams Seam<HostSeams>::Real();
using ScopedHostSeams = Seam<HostSeams>::Scope;

}  // namespace vk
