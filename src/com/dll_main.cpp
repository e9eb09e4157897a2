// Entry points of MorvalZIVI01.dll: the classes a host creates by ProgID.
#include <windows.h>

#include "MorvalZIVI01.h"
#include "com/module.h"
#include "com/server.h"
#include "host/cobject.h"

namespace {

const vk::com::ClassEntry kClasses[] = {
    {&CLSID_CObject, L"MorvalZIVI01.CObject", L"MorvalZIVI01.CObject", L"Apartment",
     &vk::com::CreateInstance<vk::CObject>},
};

const vk::com::ServerInfo kServer{kClasses, &LIBID_MorvalZIVI01, 1, 0};

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
