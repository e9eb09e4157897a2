#pragma once
// Keys as a clerk types them, served by a host's plain message loop (GetMessage,
// TranslateMessage, DispatchMessage, no IsDialogMessage): the component must handle
// its dialog keys whatever loop its host runs.
#include <windows.h>

namespace vk::test {

inline void SetShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// Posts a key to the focused window, as the keyboard would.
inline void PostKey(WPARAM key, bool shift) {
  SetShift(shift);
  HWND target = GetFocus();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Runs the host's plain loop until everything posted before this call was served.
inline void HostLoop() {
  constexpr UINT kServed = WM_APP + 41;  // marks the end of what was posted
  PostThreadMessageW(GetCurrentThreadId(), kServed, 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!msg.hwnd && msg.message == kServed) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SetShift(false);
}

// A key typed and served.
inline void PressKey(WPARAM key, bool shift = false) {
  PostKey(key, shift);
  HostLoop();
}

}  // namespace vk::test
