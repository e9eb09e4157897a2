#pragma once
// The DLL's own handle and its one lock count. Live objects, LockServer and
// loaded screens hold the count; DllCanUnloadNow answers from it.
#include <windows.h>
#include <string>

namespace vk::com {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
std::wstring ModulePath();    // full path of this DLL
std::wstring ModuleFolder();  // its folder, without the trailing backslash

void ModuleAddRef();
void ModuleRelease();
long ModuleLockCount();

// Holds the module for as long as it lives (a screen, a pending timer...).
class ModuleLock {
 public:
  ModuleLock() { ModuleAddRef(); }
  ModuleLock(const ModuleLock&) : ModuleLock() {}
  ModuleLock& operator=(const ModuleLock&) = default;
  ~ModuleLock() { ModuleRelease(); }
};

}  // namespace vk::com
