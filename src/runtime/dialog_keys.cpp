#include "runtime/dialog_keys.h"

#include <algorithm>
#include <vector>

#include "base/edge_report.h"
#include "runtime/form.h"

namespace vk {
namespace {

struct HookState {
  HHOOK hook = nullptr;
  int holders = 0;
};

HookState& ThreadHook() {
  thread_local HookState state;
  return state;
}

// The loaded form whose window is `window` or holds it.
Form* FormHolding(HWND window) {
  for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
    if (Form* form = Form::FromWindow(w)) return form->loaded() ? form : nullptr;
  }
  return nullptr;
}

UINT DialogCode(const MSG& msg) {
  return static_cast<UINT>(
      SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
}

bool IsPushButton(HWND window) {
  wchar_t cls[16] = {};
  if (!window || !GetClassNameW(window, cls, 16) || lstrcmpiW(cls, L"Button") != 0) return false;
  const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool Takes(Form& form, const MSG& msg) {
  switch (msg.wParam) {
    case VK_TAB:
      return true;
    case VK_RETURN:
      if (IsPushButton(msg.hwnd)) return true;
      if (DialogCode(msg) & DLGC_WANTMESSAGE) return false;  // the same bit as DLGC_WANTALLKEYS
      return form.modal() && form.defaultButton();
    case VK_ESCAPE: {
      if (!form.modal()) return false;
      // A rich text asks for every message (with Tab among them), yet Esc still leaves
      // the form; a cell editor or an open combo list keeps it.
      const UINT code = DialogCode(msg);
      return !(code & DLGC_WANTMESSAGE) || (code & DLGC_WANTTAB);
    }
    default:
      return false;
  }
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam) noexcept {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_TAB || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) &&
      GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    // A failure leaves the key to go on as the host sent it.
    GuardEdge(L"dialog keys' message hook", [&] {
      Form* form = FormHolding(msg->hwnd);
      if (form && Takes(*form, *msg)) {
        const WPARAM key = msg->wParam | (GetKeyState(VK_SHIFT) < 0 ? kDialogKeyShift : 0);
        msg->lParam = reinterpret_cast<LPARAM>(msg->hwnd);
        msg->hwnd = form->hwnd();
        msg->message = DialogKeyMessage();
        msg->wParam = key;
      }
    });
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

// The window inside a control that takes the focus: its own window or the first
// visible, enabled tab stop inside it that belongs to no other control of the form.
HWND FocusTarget(HWND window, const std::vector<HWND>& controlWindows) {
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return nullptr;
  if (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) return window;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (std::find(controlWindows.begin(), controlWindows.end(), child) != controlWindows.end()) continue;
    if (HWND target = FocusTarget(child, controlWindows)) return target;
  }
  return nullptr;
}

// Disabled when any container between it and the form is.
bool EnabledWithin(HWND window, HWND formWindow) {
  for (HWND w = window; w && w != formWindow; w = GetParent(w))
    if (!IsWindowEnabled(w)) return false;
  return true;
}

// The form's controls with a window, by TabIndex.
std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> order;
  for (Control* c : form.Controls())
    if (c->hwnd()) order.push_back(c);
  std::stable_sort(order.begin(), order.end(), [](Control* a, Control* b) { return a->tabIndex() < b->tabIndex(); });
  return order;
}

std::vector<HWND> WindowsOf(const std::vector<Control*>& order) {
  std::vector<HWND> windows;
  windows.reserve(order.size());
  for (Control* c : order) windows.push_back(c->hwnd());
  return windows;
}

HWND TargetOf(const Form& form, const Control& control, const std::vector<HWND>& windows) {
  HWND target = FocusTarget(control.hwnd(), windows);
  return target && EnabledWithin(target, form.hwnd()) ? target : nullptr;
}

void GiveFocus(HWND target) {
  SetFocus(target);
  if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
}

void MoveFocus(Form& form, HWND from, bool backwards) {
  const std::vector<Control*> order = TabOrder(form);
  const std::vector<HWND> windows = WindowsOf(order);
  const int n = static_cast<int>(order.size());
  if (n == 0) return;
  int current = -1;
  for (HWND w = from; w && w != form.hwnd() && current < 0; w = GetParent(w)) {
    auto it = std::find(windows.begin(), windows.end(), w);
    if (it != windows.end()) current = static_cast<int>(it - windows.begin());
  }
  const int step = backwards ? n - 1 : 1;
  int i = current >= 0 ? current : (backwards ? 0 : n - 1);
  for (int tried = 0; tried < n; ++tried) {
    i = (i + step) % n;
    if (HWND target = TargetOf(form, *order[static_cast<size_t>(i)], windows)) {
      GiveFocus(target);
      return;
    }
  }
}

// Clicks a push button the way the button itself reports a click to its parent.
void Click(HWND button) {
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// A hidden or disabled button is not pressed.
void Press(const Form& form, Control& button) {
  if (!button.hwnd()) return;
  const std::vector<HWND> windows = WindowsOf(TabOrder(form));
  HWND target = TargetOf(form, button, windows);
  if (IsPushButton(target)) Click(target);
}

}  // namespace

void HoldDialogKeys() {
  HookState& state = ThreadHook();
  if (state.holders++ == 0)
    state.hook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
}

void ReleaseDialogKeys() {
  HookState& state = ThreadHook();
  if (state.holders == 0 || --state.holders > 0) return;
  if (state.hook) UnhookWindowsHookEx(state.hook);
  state.hook = nullptr;
}

UINT DialogKeyMessage() {
  static const UINT message = RegisterWindowMessageW(L"VkDialogKey");
  return message;
}

void ActOnDialogKey(Form& form, WPARAM key, HWND target) {
  const bool shift = (key & kDialogKeyShift) != 0;
  switch (key & ~kDialogKeyShift) {
    case VK_TAB:
      MoveFocus(form, target, shift);
      break;
    case VK_RETURN:
      if (IsPushButton(target)) Click(target);
      else if (Control* button = form.defaultButton()) Press(form, *button);
      break;
    case VK_ESCAPE:
      if (Control* button = form.cancelButton()) Press(form, *button);
      else SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void FocusFirstControl(Form& form) {
  const std::vector<Control*> order = TabOrder(form);
  const std::vector<HWND> windows = WindowsOf(order);
  for (Control* c : order) {
    if (HWND target = TargetOf(form, *c, windows)) {
      GiveFocus(target);
      return;
    }
  }
}

}  // namespace vk
