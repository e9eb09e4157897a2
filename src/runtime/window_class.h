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

// The C++ object a window of ours belongs to: attached at WM_NCCREATE from the create
// parameters, detached at WM_NCDESTROY (still answered for that message, so the
// object can forget its window); nullptr before and after.
template <class T>
T* WindowOwner(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* owner = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return owner;
}

}  // namespace vk
