#pragma once
// Helpers for tests that talk to our COM servers: COM initialised per test program,
// the folder of the built binaries, and late-bound calls by member name.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "com/com_ptr.h"

namespace vk::test {

// Folder of the running test program (build/bin), without the trailing backslash.
std::wstring BinFolder();

// Runs a command line and returns its exit code (or -1 when it could not start).
DWORD RunAndWait(const std::wstring& commandLine);

// Result of a late-bound call: the HRESULT, the value and the exception's texts.
struct DispResult {
  HRESULT hr = S_OK;
  VARIANT value{};
  std::wstring source;
  std::wstring description;
  SCODE scode = 0;
  DispResult() { VariantInit(&value); }
  DispResult(const DispResult&) = delete;
  DispResult(DispResult&& other) noexcept;
  ~DispResult() { VariantClear(&value); }
};

// Calls a member by name: method (DISPATCH_METHOD|PROPERTYGET) or property put.
// Arguments are given in the caller's order.
DispResult CallByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {});
DispResult PutByName(IDispatch* object, const wchar_t* name, const VARIANT& value);

VARIANT Text(const wchar_t* text);  // a VT_BSTR the callee does not own: free with VariantClear
VARIANT Long(long value);

// Registry key existence under HKEY_CLASSES_ROOT, and a REG_SZ value there
// ("<missing>" when it cannot be read; name nullptr for the default value).
bool ClassesKeyExists(const std::wstring& path);
std::wstring ClassesValue(const std::wstring& path, const wchar_t* name = nullptr);

// "{xxxxxxxx-...}" as the registry writes a GUID.
std::wstring GuidText(const GUID& guid);

// Runs regsvr32 with the flags ("/s", "/s /u") on a DLL of the bin folder; its exit code.
DWORD Regsvr32(const std::wstring& dllName, const wchar_t* flags);

// Initialises COM (apartment) for the whole test program.
class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

}  // namespace vk::test
