#include "runtime/window_class.h"

namespace vk {

HINSTANCE RuntimeModule() {
  static HINSTANCE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&RuntimeModule), &m);
    return m;
  }();
  return module;
}

bool RegisterRuntimeClass(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = RuntimeModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (RegisterClassExW(&wc)) return true;
  if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(wc.hInstance, name, &existing) && existing.lpfnWndProc == procedure) return true;
  // Left by an earlier load: replace it (fails, harmlessly, while windows of it live).
  if (UnregisterClassW(name, wc.hInstance)) return RegisterClassExW(&wc) != 0;
  return false;
}

}  // namespace vk
