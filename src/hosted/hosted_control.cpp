#include "hosted/hosted_control.h"

#include <cmath>

namespace vk::hosted {
namespace {

const wchar_t kClassName[] = L"VkHostedControl";

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

}  // namespace

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
double PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

HostedControl::~HostedControl() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void HostedControl::Create(HWND parent, double left, double top, double width, double height) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterOnce(instance, &HostedControl::WindowProc);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP | ExtraStyle(),
                            TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                            TwipsToPixels(height), parent, nullptr, instance, this);
  OnCreated();
  RECT client{};
  GetClientRect(window_, &client);
  OnResized(client.right, client.bottom);
}

HWND HostedControl::CreateInner(const wchar_t* className, DWORD style, const wchar_t* text, DWORD exStyle) {
  RECT client{};
  GetClientRect(window_, &client);
  inner_ = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, client.right,
                           client.bottom, window_, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr),
                           nullptr);
  SendMessageW(inner_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return inner_;
}

RECT HostedControl::PlaceInParent() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void HostedControl::SetPlace(int left, int top, int width, int height) {
  SetWindowPos(window_, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

double HostedControl::Left() const { return PixelsToTwips(PlaceInParent().left); }
double HostedControl::Top() const { return PixelsToTwips(PlaceInParent().top); }
double HostedControl::Width() const {
  RECT r = PlaceInParent();
  return PixelsToTwips(r.right - r.left);
}
double HostedControl::Height() const {
  RECT r = PlaceInParent();
  return PixelsToTwips(r.bottom - r.top);
}

void HostedControl::SetLeft(double twips) {
  RECT r = PlaceInParent();
  SetPlace(TwipsToPixels(twips), r.top, r.right - r.left, r.bottom - r.top);
}
void HostedControl::SetTop(double twips) {
  RECT r = PlaceInParent();
  SetPlace(r.left, TwipsToPixels(twips), r.right - r.left, r.bottom - r.top);
}
void HostedControl::SetWidth(double twips) {
  RECT r = PlaceInParent();
  SetPlace(r.left, r.top, TwipsToPixels(twips), r.bottom - r.top);
}
void HostedControl::SetHeight(double twips) {
  RECT r = PlaceInParent();
  SetPlace(r.left, r.top, r.right - r.left, TwipsToPixels(twips));
}
void HostedControl::Move(double left, double top, double width, double height) {
  SetPlace(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

bool HostedControl::Visible() const { return (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0; }
void HostedControl::SetVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE); }
bool HostedControl::Enabled() const { return IsWindowEnabled(window_) != FALSE; }
void HostedControl::SetEnabled(bool enabled) {
  EnableWindow(window_, enabled);
  if (inner_) EnableWindow(inner_, enabled);
}

void HostedControl::SetContainer(HWND container) {
  RECT r = PlaceInParent();
  SetParent(window_, container);
  SetPlace(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
HWND HostedControl::Container() const { return GetParent(window_); }

void HostedControl::OnResized(int width, int height) {
  if (inner_) MoveWindow(inner_, 0, 0, width, height, TRUE);
}

LRESULT HostedControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (OnMessage(msg, wp, lp, result)) return result;
  if (PaintsItself()) {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      Paint(dc);
      EndPaint(window_, &ps);
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
      if (lp) OnCommand(HIWORD(wp), LOWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_SIZE:
      OnResized(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_SETFOCUS:
      if (inner_) SetFocus(inner_);
      return 0;
    default:
      return DefWindowProcW(window_, msg, wp, lp);
  }
}

LRESULT CALLBACK HostedControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<HostedControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HostedControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self) self->window_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->Dispatch(msg, wp, lp);
  } catch (...) {
    // An event handler's failure ends at the window's edge; the message counts as handled.
    return 0;
  }
}

}  // namespace vk::hosted
