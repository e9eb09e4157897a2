#include "host/host_seams.h"

#include "com/late_bound.h"
#include "runtime/steps.h"

namespace vk {
namespace {

std::wstring RealLogonName() {
  // The name must fit 25 characters with its NUL; a longer one counts as unreadable.
  wchar_t buffer[25] = {};
  DWORD size = 25;
  if (!GetUserNameW(buffer, &size)) return {};
  return buffer;
}

std::wstring RealComputerName() {
  wchar_t buffer[255] = {};
  DWORD size = 255;
  if (!GetComputerNameW(buffer, &size)) return {};
  return buffer;
}

ComPtr<IDispatch> RealDataAccess() {
  ComPtr<IDispatch> object;
  IgnoreErrors([&] { object = com::CreateObject(L"QdPoolConnection.QdProcedure"); });
  return object;
}

}  // namespace

HostSeams HostSeams::Real() { return {RealLogonName, RealComputerName, RealDataAccess}; }

HostSeams& HostSeams::Current() {
  static thread_local HostSeams seams = Real();
  return seams;
}

}  // namespace vk
