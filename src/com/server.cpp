#include "com/server.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "com/com_object.h"
#include "com/com_ptr.h"
#include "com/module.h"

namespace vk::com {
namespace {

class ClassFactory : public ComObject<ClassFactory, IClassFactory> {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return entry_.create(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ModuleAddRef() : ModuleRelease();
    return S_OK;
  }

 private:
  const ClassEntry& entry_;
};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(guid, text, 64);
  return text;
}

bool SetValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool RegisterClass(const ClassEntry& entry, const ServerInfo& server, const std::wstring& dllPath) {
  const std::wstring clsid = GuidText(*entry.clsid);
  const std::wstring classKey = L"CLSID\\" + clsid;
  const std::wstring progId = entry.progId;
  bool ok = SetValue(HKEY_CLASSES_ROOT, progId, nullptr, entry.description) &&
            SetValue(HKEY_CLASSES_ROOT, progId + L"\\Clsid", nullptr, clsid) &&
            SetValue(HKEY_CLASSES_ROOT, classKey, nullptr, progId) &&
            SetValue(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, progId) &&
            SetValue(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, dllPath) &&
            SetValue(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel",
                     entry.threadingModel) &&
            SetValue(HKEY_CLASSES_ROOT, classKey + L"\\Programmable", nullptr, L"");
  if (ok && server.typeLib) {
    ok = SetValue(HKEY_CLASSES_ROOT, classKey + L"\\TypeLib", nullptr, GuidText(*server.typeLib)) &&
         SetValue(HKEY_CLASSES_ROOT, classKey + L"\\VERSION", nullptr,
                  std::to_wstring(server.typeLibMajor) + L"." + std::to_wstring(server.typeLibMinor));
  }
  return ok;
}

void UnregisterClass(const ClassEntry& entry) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(*entry.clsid)).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, entry.progId);
}

}  // namespace

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const ClassEntry& entry : server.classes) {
    if (*entry.clsid == clsid) {
      ClassFactory* factory = ClassFactory::Create(entry);
      HRESULT hr = factory->QueryInterface(iid, out);
      factory->Release();
      return hr;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }

HRESULT RegisterServer(const ServerInfo& server) {
  const std::wstring dllPath = ModulePath();
  for (const ClassEntry& entry : server.classes) {
    if (!RegisterClass(entry, server, dllPath)) {
      UnregisterServer(server);
      return SELFREG_E_CLASS;
    }
  }
  if (server.typeLib) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(dllPath.c_str(), REGKIND_NONE, library.put());
    if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.get(), const_cast<LPOLESTR>(dllPath.c_str()), nullptr);
    if (FAILED(hr)) {
      UnregisterServer(server);
      return SELFREG_E_TYPELIB;
    }
  }
  return S_OK;
}

HRESULT UnregisterServer(const ServerInfo& server) {
  for (const ClassEntry& entry : server.classes) UnregisterClass(entry);
  if (server.typeLib) UnRegisterTypeLib(*server.typeLib, server.typeLibMajor, server.typeLibMinor, 0, SYS_WIN32);
  return S_OK;
}

}  // namespace vk::com
