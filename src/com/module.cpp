#include "com/module.h"

#include <atomic>

namespace vk::com {
namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_locks{0};
}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() {
  if (!g_instance) {
    // Linked into a program rather than a DLL (tests): find the module holding this code.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), reinterpret_cast<HMODULE*>(&g_instance));
  }
  return g_instance;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) { path.resize(n); return path; }
    path.resize(path.size() * 2);
  }
}

std::wstring ModuleFolder() {
  std::wstring path = ModulePath();
  auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void ModuleAddRef() { ++g_locks; }
void ModuleRelease() { --g_locks; }
long ModuleLockCount() { return g_locks.load(); }

}  // namespace vk::com
