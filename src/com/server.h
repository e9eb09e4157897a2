#pragma once
// The in-process server, table-driven: one table of classes serves the class
// factory, registration and unregistration of a DLL.
#include <windows.h>

#include <span>

#include "com/module.h"

namespace vk::com {

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* progId;        // "Library.Class"
  const wchar_t* description;
  const wchar_t* threadingModel;  // "Apartment"
  // Creates an object and hands out the interface asked for.
  HRESULT (*create)(REFIID iid, void** out);
};

struct ServerInfo {
  std::span<const ClassEntry> classes;
  const GUID* typeLib = nullptr;  // registered from resource 1 when set
  WORD typeLibMajor = 1;
  WORD typeLibMinor = 0;
};

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out);
HRESULT CanUnloadNow();
HRESULT RegisterServer(const ServerInfo& server);
HRESULT UnregisterServer(const ServerInfo& server);

// create() for a ComObject class that needs no arguments.
template <class T>
HRESULT CreateInstance(REFIID iid, void** out) {
  T* object = nullptr;
  try {
    object = T::Create();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace vk::com

// The entry points of an in-process server DLL: DllMain records the module, the four
// exports serve `server` (a vk::com::ServerInfo with static storage).
#define VK_COM_SERVER_ENTRY_POINTS(server)                                                  \
  extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {               \
    if (reason == DLL_PROCESS_ATTACH) {                                                    \
      vk::com::SetModuleInstance(instance);                                                \
      DisableThreadLibraryCalls(instance);                                                 \
    }                                                                                      \
    return TRUE;                                                                           \
  }                                                                                        \
  extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {    \
    return vk::com::GetClassObject(server, clsid, iid, out);                               \
  }                                                                                        \
  extern "C" HRESULT WINAPI DllCanUnloadNow() { return vk::com::CanUnloadNow(); }          \
  extern "C" HRESULT WINAPI DllRegisterServer() { return vk::com::RegisterServer(server); } \
  extern "C" HRESULT WINAPI DllUnregisterServer() { return vk::com::UnregisterServer(server); }
