#include "runtime/user_control.h"

#include <algorithm>
#include <utility>

#include "base/edge_report.h"
#include "base/vb_error.h"
#include "runtime/select_guard.h"
#include "runtime/window_class.h"

namespace vk {

namespace {

constexpr wchar_t kUserControlClass[] = L"VkUserControl";

int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int ButtonsOf(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

}  // namespace

UserControl::UserControl(Form& form, ControlArgs args) : Control(form, std::move(args)) {}

UserControl::~UserControl() {
  // Constituents go first, while the window they sit in still stands. Then the
  // window goes while this is still a UserControl: its last messages may call the
  // virtual handlers. CS_OWNDC: the window's DC goes with it.
  constituents_.clear();
  DestroyWindowNow();
  ReleaseSurface();
}

void UserControl::ReadProperties(const PropertyBag& bag) {
  designBag_ = bag;
  OnReadProperties(bag);
}

void UserControl::AdoptConstituent(std::unique_ptr<Control> control) {
  Control& c = *control;
  constituents_.push_back(std::move(control));
  if (window_) c.Realize();
}

HWND UserControl::CreateWindowIn(HWND parent, const RECT& r) {
  static const bool registered =
      RegisterRuntimeClass(kUserControlClass, &UserControl::StaticWindowProc, CS_DBLCLKS | CS_OWNDC, nullptr);
  (void)registered;
  HWND hwnd = CreateWindowExW(0, kUserControlClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                              RuntimeModule(), this);
  if (hwnd) {
    dc_ = GetDC(hwnd);
    for (const auto& c : constituents_) c->Realize();
  }
  return hwnd;
}

// Through window_, so that handlers called while the window is being made (its
// first WM_SIZE) see the real size.
int UserControl::clientWidth() const {
  RECT r{};
  if (window_) GetClientRect(window_, &r);
  return r.right;
}

int UserControl::clientHeight() const {
  RECT r{};
  if (window_) GetClientRect(window_, &r);
  return r.bottom;
}

void UserControl::Refresh() {
  if (!hwnd()) return;
  if (retained_) {
    Present();
    return;
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void UserControl::setRetained(bool retained) {
  if (retained_ == retained) return;
  retained_ = retained;
  if (retained) ResizeSurface();
  else ReleaseSurface();
}

void UserControl::Present() {
  if (!retained_ || !dc_ || !memoryDc_) return;
  BitBlt(dc_, 0, 0, clientWidth(), clientHeight(), memoryDc_.get(), 0, 0, SRCCOPY);
}

void UserControl::ResizeSurface() {
  if (!dc_) return;
  const int w = std::max(1, clientWidth()), h = std::max(1, clientHeight());
  if (!memoryDc_) memoryDc_.reset(CreateCompatibleDC(dc_));
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc_, w, h));
  if (!memoryDc_ || !bitmap) return;
  HGDIOBJ old = SelectObject(memoryDc_.get(), bitmap.get());
  if (!previousBitmap_) previousBitmap_ = old;
  if (surfaceBitmap_) {
    // Keep what was drawn, as far as it still fits.
    MemoryDc copy(CreateCompatibleDC(dc_));
    SelectGuard held(copy.get(), surfaceBitmap_.get());
    BitBlt(memoryDc_.get(), 0, 0, w, h, copy.get(), 0, 0, SRCCOPY);
  }
  surfaceBitmap_ = std::move(bitmap);
}

void UserControl::ReleaseSurface() {
  if (memoryDc_ && previousBitmap_) SelectObject(memoryDc_.get(), previousBitmap_);
  memoryDc_.reset();
  surfaceBitmap_.reset();
  previousBitmap_ = nullptr;
}

void UserControl::PaintNow(HDC target) {
  if (retained_ && memoryDc_) {
    BitBlt(target, 0, 0, clientWidth(), clientHeight(), memoryDc_.get(), 0, 0, SRCCOPY);
    return;
  }
  RECT client{0, 0, clientWidth(), clientHeight()};
  Paint(target, client);
}

LRESULT CALLBACK UserControl::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) noexcept {
  auto* self = WindowOwner<UserControl>(hwnd, message, lParam);
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = hwnd;
  if (message == WM_NCDESTROY) {
    self->window_ = nullptr;
    self->dc_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HandlerScope scope;
  return GuardEdge(
      L"user control", [&] { return DefWindowProcW(hwnd, message, wParam, lParam); },
      [&] { return self->WindowProc(message, wParam, lParam); });
}

LRESULT UserControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = window_;
  LRESULT reflected = 0;
  if (ReflectToControl(message, wParam, lParam, reflected)) return reflected;  // a constituent's
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Paint owns the background
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintNow(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintNow(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SIZE:
      if (retained_) ResizeSurface();
      OnResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && !shown_) {
        shown_ = true;
        OnShow();
      }
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
      if (!buttonsDown_) SetCapture(hwnd);
      buttonsDown_ |= button;
      if (button == 1) releaseEndsDoubleClick_ = false;
      OnMouseDown(button, ShiftState(), x, y);
      return 0;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      const int button = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
      const bool wasDown = (buttonsDown_ & button) != 0;
      buttonsDown_ &= ~button;
      if (!buttonsDown_ && GetCapture() == hwnd) ReleaseCapture();
      OnMouseUp(button, ShiftState(), x, y);
      // A click is a press and a release over the control.
      RECT client{0, 0, clientWidth(), clientHeight()};
      const bool endsDoubleClick = button == 1 && std::exchange(releaseEndsDoubleClick_, false);
      if (wasDown && button == 1 && !endsDoubleClick && PtInRect(&client, POINT{x, y})) OnClick();
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      buttonsDown_ |= 1;
      releaseEndsDoubleClick_ = true;
      if (GetCapture() != hwnd) SetCapture(hwnd);
      OnDblClick();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(ButtonsOf(wParam), ShiftState(), x, y);
      return 0;
    case WM_CAPTURECHANGED:
      buttonsDown_ = 0;
      return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
      OnKeyDown(static_cast<int>(wParam), ShiftState());
      break;
    case WM_KEYUP: case WM_SYSKEYUP:
      OnKeyUp(static_cast<int>(wParam), ShiftState());
      break;
    case WM_CHAR:
      OnKeyPress(static_cast<int>(wParam));
      return 0;
    case WM_KILLFOCUS:
      OnLostFocus();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace vk
