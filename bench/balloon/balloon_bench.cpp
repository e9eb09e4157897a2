// What a balloon costs: the opacity mix of its pixels with the screen, its outline,
// and showing one over a target. Each figure is printed next to its floor: for the
// mix, one pass that only copies the pixels; for the outline, one rectangle region;
// for showing, the screen capture and pixel reads the mix needs with no balloon.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/support/bench_timing.h"
#include "controls/balloon/balloon_shape.h"
#include "controls/balloon/balloon_tip.h"

namespace {

using vk::bench::Report;
using vk::bench::Seconds;
using namespace vk::controls;

constexpr int kW = 320, kH = 107;  // a two-line balloon with its stem

}  // namespace

int main() {
  std::vector<std::uint32_t> balloon(kW * kH, 0x00FFEEDD), background(kW * kH, 0x00102030),
      copy(kW * kH);
  const int mixes = 1000;
  double mix = Seconds([&] {
    for (int i = 0; i < mixes; ++i) BlendPixels(balloon, background, 50 + (i & 1));
  });
  double mixFloor = Seconds([&] {
    for (int i = 0; i < mixes; ++i) {
      std::memcpy(copy.data(), balloon.data(), copy.size() * 4);
      std::memcpy(balloon.data(), copy.data(), copy.size() * 4);
    }
  });
  Report("opacity mix of 320x107 pixels", mixes, mix, mixFloor);

  const int outlines = 2000;
  BalloonPlacement place{0, 0, 17, 17};
  double outline = Seconds([&] {
    for (int i = 0; i < outlines; ++i) DeleteObject(BuildBalloonRegion(kW, kH - 17, place, BalloonStyle::Balloon));
  });
  double outlineFloor = Seconds([&] {
    for (int i = 0; i < outlines; ++i) DeleteObject(CreateRectRgn(0, 0, kW, kH));
  });
  Report("balloon outline (stem, corners)", outlines, outline, outlineFloor);

  // Showing over a real target: ShowToolTip, a hover and the ticks up to the balloon.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchTarget";
  RegisterClassW(&wc);
  HWND target = CreateWindowExW(WS_EX_TOPMOST, L"BenchTarget", L"", WS_POPUP | WS_VISIBLE, 300, 300,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetCursorPos(400, 350);
  const int shows = 50;
  double show = Seconds([&] {
    for (int i = 0; i < shows; ++i) {
      BalloonTip tip;
      tip.look.delayTime = 0;
      tip.ShowToolTip(target, L"Palvexor - Ayuda On Line", L"Texto de ayuda\nen dos líneas", 2, 60);
      SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
      for (int t = 0; t < 3 && !tip.balloonWindow(); ++t)
        SendMessageW(target, WM_TIMER, kBalloonTimerId, 0);
      if (!tip.balloonWindow()) std::printf("no balloon shown\n");
    }
  });
  double showFloor = Seconds([&] {
    for (int i = 0; i < shows; ++i) {
      HDC screen = GetDC(nullptr);
      HDC memory = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, kW, kH);
      HGDIOBJ old = SelectObject(memory, bitmap);
      BitBlt(memory, 0, 0, kW, kH, screen, 100, 100, SRCCOPY);
      SelectObject(memory, old);
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, kH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      GetDIBits(memory, bitmap, 0, kH, copy.data(), &info, DIB_RGB_COLORS);
      DeleteObject(bitmap);
      DeleteDC(memory);
      ReleaseDC(nullptr, screen);
    }
  });
  Report("show a balloon at 60% opacity", shows, show, showFloor);
  DestroyWindow(target);
  return 0;
}
