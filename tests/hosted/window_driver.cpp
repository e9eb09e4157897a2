#include "hosted/window_driver.h"

namespace vk::test {
namespace {

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

}  // namespace

TestForm::TestForm(int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FormProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"VkTestForm";
  RegisterClassW(&wc);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"VkTestForm", L"Test form", WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                            WS_CLIPCHILDREN, 20, 20, width, height, nullptr, nullptr, wc.hInstance, nullptr);
  Pump();
}

TestForm::~TestForm() {
  DestroyWindow(window_);
  Pump();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Click(HWND window, int x, int y, WPARAM keys) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
  Pump();
}

void ClickIn(HWND window, const RECT& rect) {
  Click(window, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void Key(HWND window, UINT virtualKey) {
  SendMessageW(window, WM_KEYDOWN, virtualKey, 1);
  SendMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
  Pump();
}

void Type(HWND window, const wchar_t* text) {
  for (; *text; ++text) SendMessageW(window, WM_CHAR, *text, 1);
  Pump();
}

}  // namespace vk::test
