#include "support/com_test.h"

namespace vk::test {

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

DWORD RunAndWait(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

DispResult::DispResult(DispResult&& other) noexcept
    : hr(other.hr), value(other.value), source(std::move(other.source)),
      description(std::move(other.description)), scode(other.scode) {
  VariantInit(&other.value);
}

namespace {

DispResult Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT>& args) {
  DispResult result;
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  result.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result.hr)) return result;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  DISPID put = DISPID_PROPERTYPUT;
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argError = 0;
  result.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                             (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result.value, &exception, &argError);
  if (result.hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    if (exception.bstrSource) result.source = exception.bstrSource;
    if (exception.bstrDescription) result.description = exception.bstrDescription;
    result.scode = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  for (VARIANT& v : args) VariantClear(&v);
  return result;
}

}  // namespace

DispResult CallByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args) {
  return Invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

DispResult PutByName(IDispatch* object, const wchar_t* name, const VARIANT& value) {
  std::vector<VARIANT> args{value};
  return Invoke(object, name, DISPATCH_PROPERTYPUT, args);
}

VARIANT Text(const wchar_t* text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(text);
  return v;
}

VARIANT Long(long value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

std::wstring ClassesValue(const std::wstring& path, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(guid, text, 64);
  return text;
}

DWORD Regsvr32(const std::wstring& dllName, const wchar_t* flags) {
  return RunAndWait(L"regsvr32.exe " + std::wstring(flags) + L" \"" + BinFolder() + L"\\" + dllName + L"\"");
}

bool ClassesKeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace vk::test
