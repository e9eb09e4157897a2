#pragma once
// Real windows for control tests: a top-level test form and the input a user gives,
// sent as real messages.
#include <windows.h>

namespace vk::test {

class TestForm {
 public:
  TestForm(int width = 640, int height = 480);
  ~TestForm();
  TestForm(const TestForm&) = delete;
  TestForm& operator=(const TestForm&) = delete;
  HWND hwnd() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Runs the messages waiting in this thread's queue.
void Pump();
// A left click (button down and up) at a point of window's client area.
void Click(HWND window, int x, int y, WPARAM keys = 0);
// A click in the middle of a rectangle of window's client area.
void ClickIn(HWND window, const RECT& rect);
// A key press (down and up) sent to window.
void Key(HWND window, UINT virtualKey);
// Characters typed into window, one WM_CHAR each.
void Type(HWND window, const wchar_t* text);

}  // namespace vk::test
