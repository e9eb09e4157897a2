#include "runtime/mouse_pointer.h"

#include "runtime/control.h"
#include "runtime/form.h"

namespace vk {

namespace {

thread_local int currentPointer = pointer::Default;

HCURSOR CursorFor(int value) {
  switch (value) {
    case pointer::Arrow: return LoadCursorW(nullptr, IDC_ARROW);
    case pointer::Hourglass: return LoadCursorW(nullptr, IDC_WAIT);
    case pointer::ArrowHourglass: return LoadCursorW(nullptr, IDC_APPSTARTING);
    default: return nullptr;
  }
}

// True when the window is a form or control of ours, or inside one.
bool IsOurs(HWND hwnd) {
  for (HWND w = hwnd; w; w = GetParent(w)) {
    if (Form::FromWindow(w) || Control::FromWindow(w)) return true;
  }
  return false;
}

}  // namespace

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
