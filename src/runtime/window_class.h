#pragma once
// The runtime's own window classes: registered once per load of the module that
// holds the code (the DLL or a test program).
#include <windows.h>

namespace vk {

// The module this code is linked into.
HINSTANCE RuntimeModule();

// Registers a class of that module. A class left behind by an earlier load of the
// same DLL (classes outlive FreeLibrary) would still point at the old window
// procedure, so it is replaced.
bool RegisterRuntimeClass(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background);

}  // namespace vk
