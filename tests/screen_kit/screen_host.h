#pragma once
// The host window a document screen is docked into in the screen tests: a frameless
// window with the design client area (765 x 562 pixels) that can be sized at will. A
// posted WM_APP runs `onPosted`, as a host command (a Kill) that arrives while the
// screen is at work.
#include <windows.h>

#include <functional>

namespace vk::test {

struct ScreenHost {
  HWND hwnd = nullptr;
  std::function<void()> onPosted;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ScreenHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_APP && self && self->onPosted) self->onPosted();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  ScreenHost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VkScreenTestHost";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(L"VkScreenTestHost", L"Host", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20, 765, 562,
                         nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ScreenHost() { DestroyWindow(hwnd); }
  ScreenHost(const ScreenHost&) = delete;
  ScreenHost& operator=(const ScreenHost&) = delete;
  // The handle as the host protocol's HWndContainer takes it.
  long handle() const { return static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd)); }
  void SetClientSize(int width, int height) const {
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  }
  // A host command that waits in the queue behind what is there now.
  void Post(std::function<void()> command) {
    onPosted = std::move(command);
    PostMessageW(hwnd, WM_APP, 0, 0);
  }
};

}  // namespace vk::test
