#include "hosted/form_control.h"

#include <commctrl.h>

#include "base/edge_report.h"
#include "runtime/shared_font.h"
#include "runtime/window_class.h"

namespace vk::hosted {
namespace {

const wchar_t kClassName[] = L"VkFormControl";

void RegisterOnce(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, kClassName, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

HINSTANCE OwnModule() {
  // The module this code is linked into (the product DLL or a test program).
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}

}  // namespace

FormControl::~FormControl() {
  // The control base destroys the window after this part of the object is gone:
  // its messages must not reach it any more.
  if (outer_) SetWindowLongPtrW(outer_, GWLP_USERDATA, 0);
}

HWND FormControl::CreateWindowIn(HWND parent, const RECT& pixels) {
  HINSTANCE instance = OwnModule();
  RegisterOnce(instance, &FormControl::WindowProc);
  // The tab stop belongs to the inner control; the outer window only lets the dialog
  // keys look inside it.
  outer_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                           WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | ExtraStyle(), pixels.left,
                           pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent, nullptr,
                           instance, this);
  inner_ = nullptr;
  OnCreated();
  if (inner_ && !enabled()) EnableWindow(inner_, FALSE);
  RECT client{};
  GetClientRect(outer_, &client);
  OnResized(client.right, client.bottom);
  return outer_;
}

HWND FormControl::CreateInner(const wchar_t* className, DWORD style, const wchar_t* text, DWORD exStyle) {
  RECT client{};
  GetClientRect(outer_, &client);
  inner_ = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, client.right,
                           client.bottom, outer_, reinterpret_cast<HMENU>(1), OwnModule(), nullptr);
  SendMessageW(inner_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  return inner_;
}

HFONT FormControl::Font() const {
  FontDescription wanted = AmbientFont(form().ambient());
  wanted.bold = wanted.bold || fontBold_;
  return SharedFont(wanted);
}

void FormControl::SetFontBold(bool bold) {
  fontBold_ = bold;
  if (inner_) SendMessageW(inner_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  ApplyLook();
}

void FormControl::SetForeColor(OleColor color) {
  foreColor_ = color;
  ApplyLook();
}

void FormControl::SetBackColor(OleColor color) {
  backColor_ = color;
  backBrush_.reset(CreateSolidBrush(OleColorToRgb(color)));
  ApplyLook();
}

void FormControl::ApplyLook() {
  OnLookChanged();
  if (outer_) InvalidateRect(outer_, nullptr, TRUE);
  if (inner_) InvalidateRect(inner_, nullptr, TRUE);
}

// The inner control asks its parent (the outer window) for its colours before it
// paints; a control without colours of its own gets the system's answer.
bool FormControl::AnswerColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if ((msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) || !inner_ || reinterpret_cast<HWND>(lp) != inner_ ||
      (!foreColor_ && !backColor_))
    return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  result = DefWindowProcW(outer_, msg, wp, lp);
  if (foreColor_) SetTextColor(dc, OleColorToRgb(*foreColor_));
  if (backColor_) {
    SetBkColor(dc, OleColorToRgb(*backColor_));
    result = reinterpret_cast<LRESULT>(backBrush_.get());
  }
  return true;
}

void FormControl::OnEnabledChanged() {
  if (inner_) EnableWindow(inner_, enabled());
}

void FormControl::OnResized(int width, int height) {
  if (inner_) MoveWindow(inner_, 0, 0, width, height, TRUE);
}

bool FormControl::FromInner(UINT msg, WPARAM, LPARAM lp) const {
  if (!inner_) return false;
  switch (msg) {
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lp) == inner_ || (lp && GetParent(reinterpret_cast<HWND>(lp)) == inner_);
    case WM_NOTIFY: {
      HWND from = reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
      return from == inner_ || GetParent(from) == inner_ || GetWindow(from, GW_OWNER) == inner_;
    }
    default:
      return true;
  }
}

LRESULT FormControl::Dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (OnMessage(msg, wp, lp, result)) return result;
  if (AnswerColours(msg, wp, lp, result)) return result;
  if (PaintsItself()) {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    if (msg == WM_PRINTCLIENT) {
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
  }
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
      if (FromInner(msg, wp, lp) ||
          (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == TTN_GETDISPINFOW)) {
        if (msg == WM_NOTIFY) return OnNotify(reinterpret_cast<NMHDR*>(lp));
        if (lp) OnCommand(HIWORD(wp), LOWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
      }
      break;
    case WM_SIZE:
      OnResized(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_SETFOCUS:
      if (inner_) ::SetFocus(inner_);
      return 0;
    default:
      break;
  }
  // Notifications of controls placed inside this one go to those controls.
  if (ReflectToControl(msg, wp, lp, result)) return result;
  return DefWindowProcW(window, msg, wp, lp);
}

LRESULT CALLBACK FormControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto* self = WindowOwner<FormControl>(hwnd, msg, lp);
  if (self && msg == WM_NCCREATE) self->outer_ = hwnd;
  if (msg == WM_NCDESTROY) {
    if (self) self->inner_ = self->outer_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // An event handler's failure ends at the window's edge; the message counts as handled.
  return GuardEdge(L"hosted control", LRESULT{0}, [&] { return self->Dispatch(hwnd, msg, wp, lp); });
}

}  // namespace vk::hosted
