#include "runtime/mouse_pointer.h"

#include <iterator>

#include "runtime/control.h"
#include "runtime/form.h"

namespace vk {

namespace {

thread_local int currentPointer = pointer::Default;

// True when the window is a form or control of ours, or inside one.
bool IsOurs(HWND hwnd) {
  for (HWND w = hwnd; w; w = GetParent(w)) {
    if (Form::FromWindow(w) || Control::FromWindow(w)) return true;
  }
  return false;
}

}  // namespace

HCURSOR CursorFor(int value) {
  static const LPCWSTR kCursors[] = {
      nullptr,      IDC_ARROW,  IDC_CROSS,    IDC_IBEAM, IDC_ICON, IDC_SIZEALL,
      IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_WAIT,
      IDC_NO,       IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL};
  if (value < 1 || value >= static_cast<int>(std::size(kCursors))) return nullptr;
  return LoadCursorW(nullptr, kCursors[value]);
}

int MousePointer() { return currentPointer; }

void SetMousePointer(int value) {
  currentPointer = value;
  POINT at{};
  if (!GetCursorPos(&at)) return;
  HWND under = WindowFromPoint(at);
  if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId() || !IsOurs(under)) return;
  if (HCURSOR cursor = CursorFor(value)) SetCursor(cursor);
  else SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool ApplyMousePointer(HWND, LPARAM) {
  // Like the screen-wide pointer it stands for, it wins over borders and children alike.
  HCURSOR cursor = CursorFor(currentPointer);
  if (!cursor) return false;
  SetCursor(cursor);
  return true;
}

}  // namespace vk
