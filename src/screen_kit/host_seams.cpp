#include "screen_kit/host_seams.h"

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

com::ComPtr<IDispatch> RealDataAccess() {
  // Every action-log entry makes an object of its own: the class is looked up once a
  // thread, and again only while its name is not registered.
  static thread_local CLSID clsid{};
  com::ComPtr<IDispatch> object;
  if (clsid == CLSID{} && FAILED(CLSIDFromProgID(L"QdPoolConnection.QdProcedure", &clsid))) {
    clsid = CLSID{};
    return object;
  }
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch, object.put_void());
  return object;
}

}  // namespace

template <>
HostSeams Seam<HostSeams>::Real() {
  return {RealLogonName, RealComputerName, RealDataAccess};
}

}  // namespace vk
