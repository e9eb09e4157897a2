// The balloon's window: placement near the cursor, outline, painting off the screen,
// the opacity mix with what lies behind it, and showing it without taking the focus.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/rounding.h"
#include "controls/balloon/balloon_tip.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"
#include "runtime/window_class.h"

namespace vk::controls {

namespace {

constexpr wchar_t kPlainClass[] = L"VkBalloonTip";
constexpr wchar_t kShadowClass[] = L"VkBalloonTipShadow";


void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.get());
}

void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool horizontal) {
  const int n = horizontal ? rect.right : rect.bottom;
  auto channel = [&](int shift, int i) {
    int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    return static_cast<int>(RoundHalfEven(a + static_cast<double>(i) * (b - a) / std::max(n, 1)));
  };
  for (int i = 0; i <= n; ++i) {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(channel(0, i), channel(8, i), channel(16, i))));
    SelectGuard guard(dc, pen.get());
    if (horizontal) {
      MoveToEx(dc, rect.left + i, rect.top, nullptr);
      LineTo(dc, rect.left + i, rect.bottom);
    } else {
      MoveToEx(dc, rect.left, rect.top + i, nullptr);
      LineTo(dc, rect.right, rect.top + i);
    }
  }
}

void FillPattern(HDC dc, const RECT& rect, HBITMAP tile) {
  GdiObject<HBRUSH> brush(CreatePatternBrush(tile));
  SelectGuard guard(dc, brush.get());
  SetBrushOrgEx(dc, 0, 0, nullptr);
  PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATCOPY);
}

// The system icon for 1 (error), 2 (information) or 3 (warning) at the given size.
HICON SystemIcon(long which, long size) {
  wchar_t dir[MAX_PATH] = {};
  GetSystemDirectoryW(dir, MAX_PATH);
  std::wstring library = std::wstring(dir) + L"\\comctl32.dll";
  HICON large = nullptr, small = nullptr;
  ExtractIconExW(library.c_str(), static_cast<int>(which), &large, &small, 1);
  HICON chosen = size <= 24 ? small : large;
  const OwnedIcon other(size <= 24 ? large : small);
  if (chosen) return chosen;
  // The library carries no such icon here: the platform's own stock icons instead.
  static const LPCWSTR stock[] = {IDI_ERROR, IDI_INFORMATION, IDI_WARNING};
  return CopyIcon(LoadIconW(nullptr, stock[which - 1]));
}

// 32-bit bottom-up pixels of a bitmap.
std::vector<std::uint32_t> ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

}  // namespace

// Shows the picture painted when the balloon opened: nothing here can fail.
LRESULT CALLBACK BalloonTip::BalloonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = WindowOwner<BalloonTip>(hwnd, msg, lParam);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps{};
      HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
      if (self && self->surface_) {
        MemoryDc memory(CreateCompatibleDC(dc));
        SelectGuard guard(memory.get(), self->surface_.get());
        BITMAP bm{};
        GetObjectW(self->surface_.get(), sizeof bm, &bm);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
      }
      if (msg == WM_PAINT) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool BalloonTip::CreateBalloonWindow() {
  if (alpha_ > 100) return false;  // no mix for more than opaque: no balloon
  static bool registered = false;
  if (!registered) {
    RegisterRuntimeClass(kPlainClass, BalloonProc, 0, nullptr);
    RegisterRuntimeClass(kShadowClass, BalloonProc, CS_DROPSHADOW, nullptr);
    registered = true;
  }
  placement_ = PlaceBalloon(cursor_, width_, height_, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), look.style);
  const RECT place = placement_.WindowRect(width_, height_);
  const int w = place.right - place.left, h = place.bottom - place.top;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                look.shadow ? kShadowClass : kPlainClass, L"QRW-EXTOOLTIP",
                                WS_POPUP, place.left, place.top, w, h, nullptr, nullptr,
                                RuntimeModule(), this);
  if (!window) return false;

  GdiObject<HRGN> outline(BuildBalloonRegion(width_, height_, placement_, look.style));
  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen, w, h));
  {
    MemoryDc memory(CreateCompatibleDC(screen));
    SelectGuard guard(memory.get(), picture.get());
    PaintBalloon(memory.get(), w, h, outline.get());
    BlendWithScreen(memory.get(), place);
  }
  ReleaseDC(nullptr, screen);
  surface_ = std::move(picture);

  if (look.style == BalloonStyle::Balloon)
    SetWindowRgn(window, outline.release(), FALSE);  // the window owns the region from here
  balloon_ = window;
  balloonHeld_ = true;
  hooks_.Start(window);
  hooks_.AddMsg(window, WM_DESTROY, When::After);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return true;
}

void BalloonTip::PaintBalloon(HDC dc, int width, int fullHeight, HRGN outline) {
  const RECT client{0, 0, width, fullHeight};
  switch (static_cast<BalloonFill>(look.backStyle)) {
    case BalloonFill::Solid: FillSolid(dc, client, OleColorToRgb(look.backColor)); break;
    case BalloonFill::Picture:
      if (HBITMAP tile = TileBitmap()) FillPattern(dc, client, tile);
      break;
    default:
      FillGradient(dc, client, OleColorToRgb(look.gradientStart), OleColorToRgb(look.gradientEnd),
                   look.backStyle == static_cast<long>(BalloonFill::GradientH));
      break;
  }
  GdiObject<HBRUSH> border(CreateSolidBrush(OleColorToRgb(look.textColor)));
  FrameRgn(dc, outline, border.get(), 1, 1);
  SetBkMode(dc, TRANSPARENT);

  if (icon_ != 0) {
    const int y = 8 + std::max(placement_.stemY, 0);
    const bool system = icon_ >= 1 && icon_ <= 3;
    const OwnedIcon made(system ? SystemIcon(icon_, look.iconSize) : nullptr);  // the caller's stays theirs
    HICON icon = system ? made.get() : reinterpret_cast<HICON>(static_cast<INT_PTR>(icon_));
    DrawIconEx(dc, 12, y, icon, look.iconSize, look.iconSize, 0, nullptr, DI_NORMAL);
  }
  DrawCaption(dc, title_, true);
  DrawCaption(dc, text_, false);
}

void BalloonTip::DrawCaption(HDC dc, const std::wstring& s, bool isTitle) {
  HFONT font = CaptionFont(isTitle);
  {
    SelectGuard guard(dc, font);
    RECT r{};
    DrawTextW(dc, s.c_str(), -1, &r, DT_CALCRECT);
    const int p = std::max(placement_.stemY, 0);
    const int textHeight = r.bottom - r.top;
    int left = 10, top = 0;
    if (isTitle) {
      if (icon_ != 0) {
        left = look.iconSize + 20 + p;
        top = p + static_cast<int>(RoundHalfEven(look.iconSize / 2.0)) + 1;
      } else {
        top = p + 6;
      }
    } else if (!BlankTitle(title_)) {
      // Below the title line (and the icon): the title's own height, not the text's,
      // so several lines of text still start under the title.
      HFONT bold = CaptionFont(true);
      RECT t{};
      {
        SelectGuard boldGuard(dc, bold);
        DrawTextW(dc, title_.c_str(), -1, &t, DT_CALCRECT);
      }
      top = p + (icon_ != 0 ? look.iconSize : 3) + (t.bottom - t.top) + 5;
    } else {
      top = p + static_cast<int>(RoundHalfEven(textHeight / 2.0)) + (icon_ != 0 ? look.iconSize : 0);
    }
    OffsetRect(&r, left, top);
    SetTextColor(dc, OleColorToRgb(look.textColor));
    DrawTextW(dc, s.c_str(), -1, &r, DT_NOCLIP);
  }
}

void BalloonTip::BlendWithScreen(HDC dc, const RECT& windowRect) {
  if (alpha_ >= 100) return;  // opaque: the balloon's own pixels
  const int w = windowRect.right - windowRect.left, h = windowRect.bottom - windowRect.top;
  HDC screen = GetDC(nullptr);
  MemoryDc capture(CreateCompatibleDC(screen));
  GdiObject<HBITMAP> behind(CreateCompatibleBitmap(screen, w, h));
  {
    SelectGuard guard(capture.get(), behind.get());
    BitBlt(capture.get(), 0, 0, w, h, screen, windowRect.left, windowRect.top, SRCCOPY);
  }
  HBITMAP drawn = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  GdiObject<HBITMAP> spare(CreateCompatibleBitmap(screen, 1, 1));
  // GetDIBits wants a bitmap that is not selected into a DC.
  SelectObject(dc, spare.get());
  auto pixels = ReadPixels(dc, drawn, w, h);
  auto background = ReadPixels(capture.get(), behind.get(), w, h);
  SelectObject(dc, drawn);
  BlendPixels(pixels, background, alpha_);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
}

}  // namespace vk::controls
