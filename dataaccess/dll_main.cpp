// Entry points of QdPoolConnection.dll, the data-access component over SQLite.
#include <windows.h>

#include "com/module.h"
#include "com/server.h"
#include "dataaccess/qd_procedure.h"

namespace {

const vk::com::ClassEntry kClasses[] = {
    {&vk::data::CLSID_QdProcedure, L"QdPoolConnection.QdProcedure", L"QdPoolConnection.QdProcedure",
     L"Apartment", &vk::com::CreateInstance<vk::data::QdProcedure>},
};

const vk::com::ServerInfo kServer{kClasses};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    vk::com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return vk::com::GetClassObject(kServer, clsid, iid, out);
}
extern "C" HRESULT WINAPI DllCanUnloadNow() { return vk::com::CanUnloadNow(); }
extern "C" HRESULT WINAPI DllRegisterServer() { return vk::com::RegisterServer(kServer); }
extern "C" HRESULT WINAPI DllUnregisterServer() { return vk::com::UnregisterServer(kServer); }
