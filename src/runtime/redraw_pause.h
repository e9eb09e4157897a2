#pragma once
// Keeps a visible window from painting while its children move, show or load, then
// paints it and them once when the pause ends: one paint instead of one per change.
//
//   { RedrawPause pause(frame);  ...move the controls... }
#include <windows.h>

namespace vk {

class RedrawPause {
 public:
  explicit RedrawPause(HWND window) : window_(window && IsWindowVisible(window) ? window : nullptr) {
    if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    if (!window_) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
};

}  // namespace vk
