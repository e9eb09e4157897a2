#include "runtime/test_controls.h"

namespace vk::test {

HWND TestButton::CreateWindowIn(HWND parent, const RECT& r) {
  return CreateWindowExW(0, L"BUTTON", caption_.c_str(), WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON,
                         r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

bool TestButton::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  Click.Raise();
  result = 0;
  return true;
}

void TestButton::ClickWithMouse() {
  RECT r{};
  GetClientRect(hwnd(), &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  SendMessageW(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd(), WM_LBUTTONUP, 0, at);
}

HWND TestEdit::CreateWindowIn(HWND parent, const RECT& r) {
  return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND TestFrame::CreateWindowIn(HWND parent, const RECT& r) {
  return CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, r.left,
                         r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void PumpPending() {
  MSG msg;
  for (int round = 0; round < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++round) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vk::test
