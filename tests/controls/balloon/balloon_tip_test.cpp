// The balloon over a real target window: the cursor is put on the target, the target
// gets WM_MOUSEMOVE, and the balloon's timer ticks are sent to it one by one.
#include "controls/balloon/balloon_tip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/vb_error.h"
#include "runtime/font.h"
#include "runtime/window_picture.h"
#include "support/com_test.h"
#include "support/error_of.h"
#include "support/painted_picture.h"
#include "support/resource_counts.h"

namespace vk::controls {
namespace {

class BalloonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"BalloonTarget";
    RegisterClassW(&wc);
    target = CreateWindowExW(WS_EX_TOPMOST, L"BalloonTarget", L"target", WS_POPUP | WS_VISIBLE,
                             300, 300, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    ASSERT_TRUE(target);
    Pump();
    PointAt(400, 350);
  }
  void TearDown() override {
    balloon.reset();
    DestroyWindow(target);
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER || msg.message == WM_MOUSEMOVE) continue;  // we drive these
      DispatchMessageW(&msg);
    }
  }
  void PointAt(int x, int y) {
    SetCursorPos(x, y);
    POINT p{x, y};
    ScreenToClient(target, &p);
    SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  }
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) SendMessageW(target, WM_TIMER, kBalloonTimerId, 0);
  }
  // The first tick that sees the cursor notes its place; the delay counts from there.
  void RestUntilShown() {
    Tick(1 + balloon->look.delayTime + 1);
  }
  // Arms the balloon on the target and rests the cursor there until it shows.
  HWND ShowBalloon(const std::wstring& title = L"Title", const std::wstring& text = L"Text",
                   long alpha = 100) {
    balloon->ShowToolTip(target, title, text, 0, alpha);
    PointAt(400, 350);
    RestUntilShown();
    return balloon->balloonWindow();
  }

  HWND target = nullptr;
  std::unique_ptr<BalloonTip> balloon = std::make_unique<BalloonTip>();
};

// The colour at a point of the balloon's picture.
COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

TEST_F(BalloonTest, ShownAfterTheDelayAndClosedAfterTheKillTime) {
  balloon->ShowToolTip(target, L"Title", L"Some help text", 0);
  EXPECT_TRUE(balloon->alive);
  PointAt(400, 350);
  EXPECT_TRUE(balloon->hovering());
  Tick(1 + balloon->look.delayTime);
  EXPECT_EQ(nullptr, balloon->balloonWindow()) << "shown one tick early";
  Tick();
  HWND window = balloon->balloonWindow();
  ASSERT_TRUE(window);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(window, GetForegroundWindow());
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  EXPECT_STREQ(L"QRW-EXTOOLTIP", caption);

  Tick(balloon->look.killTime);
  EXPECT_TRUE(IsWindow(window)) << "closed early";
  Tick();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(balloon->alive) << "a closed balloon stays away until armed again";
  // Spent: resting on does not bring it back.
  Tick(balloon->look.delayTime + 5);
  EXPECT_EQ(nullptr, balloon->balloonWindow());
}

TEST_F(BalloonTest, SitsAboveRightOfTheCursorWithItsStemPointingAtIt) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  RECT r{};
  GetWindowRect(window, &r);
  SIZE body = balloon->bodySize();
  EXPECT_EQ(400 + 1 - 17, r.left);
  EXPECT_EQ(350 - body.cy - 17, r.top);
  EXPECT_EQ(body.cx, r.right - r.left);
  EXPECT_EQ(body.cy + 17, r.bottom - r.top);
  // The window is shaped: the stem's tip is in, the corner beside it is out.
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(window, shape));
  EXPECT_TRUE(PtInRegion(shape, 18, body.cy + 16));
  EXPECT_FALSE(PtInRegion(shape, 0, body.cy + 16));
  EXPECT_TRUE(PtInRegion(shape, body.cx / 2, body.cy / 2));
  DeleteObject(shape);
}

TEST_F(BalloonTest, MovingBeforeTheDelayRestartsTheCount) {
  balloon->ShowToolTip(target, L"", L"Text", 0);
  PointAt(400, 350);
  Tick(balloon->look.delayTime);
  PointAt(410, 355);
  Tick(1);  // sees the move
  EXPECT_EQ(0, balloon->ticks());
  Tick(balloon->look.delayTime);
  EXPECT_EQ(nullptr, balloon->balloonWindow());
  Tick();
  EXPECT_TRUE(balloon->balloonWindow());
}

TEST_F(BalloonTest, LeavingTheTargetClosesTheBalloonAndStopsHovering) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  SetCursorPos(50, 50);
  Tick();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(balloon->hovering());
  EXPECT_FALSE(balloon->shown());
}

TEST_F(BalloonTest, ClickClosesAtOnceAndTheBalloonWaitsForALeave) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(balloon->alive);
  PointAt(400, 350);
  Tick(balloon->look.delayTime + 5);
  EXPECT_EQ(nullptr, balloon->balloonWindow()) << "came back without a leave";
  SetCursorPos(50, 50);
  Tick();
  PointAt(400, 350);
  RestUntilShown();
  EXPECT_TRUE(balloon->balloonWindow()) << "did not come back after a leave";
}

TEST_F(BalloonTest, ShowWhileOpenOnlyClosesTheSecondArmsAgain) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  balloon->ShowToolTip(target, L"Title", L"Text", 0);
  EXPECT_FALSE(IsWindow(window));
  PointAt(400, 350);
  RestUntilShown();
  EXPECT_EQ(nullptr, balloon->balloonWindow()) << "hooked while closing";
  EXPECT_TRUE(ShowBalloon());
}

TEST_F(BalloonTest, ReleasedWhileOpenDestroysTheWindowAndUnhooks) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  balloon.reset();
  EXPECT_FALSE(IsWindow(window));
  PointAt(400, 350);  // the target carries on alone
  Tick(3);
}

TEST_F(BalloonTest, TargetDestroyedWhileOpenTakesTheBalloonWithIt) {
  HWND window = ShowBalloon();
  ASSERT_TRUE(window);
  DestroyWindow(target);
  EXPECT_FALSE(IsWindow(window));
  balloon.reset();  // releasing after the target went is harmless
}

TEST_F(BalloonTest, AThousandBalloonsShownAndClosedLeaveNothingBehind) {
  balloon->look.delayTime = 0;
  auto cycles = [&](int n) {
    for (int i = 0; i < n; ++i) {
      ASSERT_TRUE(ShowBalloon()) << "cycle " << i;
      SetCursorPos(50, 50);
      Tick();  // the leave closes it
      ASSERT_EQ(nullptr, balloon->balloonWindow());
    }
  };
  cycles(20);  // the platform's own first-use allocations
  Pump();
  const size_t heap = test::HeapBytesInUse();
  const int gdi = test::GdiObjectCount(), windows = test::ThreadWindowCount();
  cycles(1000);
  Pump();
  EXPECT_EQ(windows, test::ThreadWindowCount());
  EXPECT_LE(test::GdiObjectCount(), gdi + 2);
  // A subclass block kept for each closed balloon alone would be 32 bytes a cycle.
  EXPECT_LT(static_cast<long long>(test::HeapBytesInUse()) - static_cast<long long>(heap), 8000);
}

TEST_F(BalloonTest, OpacityOutsideAByteChangesNothingAboveAHundredShowsNoBalloon) {
  HWND open = ShowBalloon();
  ASSERT_TRUE(open);
  for (long alpha : {-1L, 256L}) {
    EXPECT_EQ(err::Overflow, test::ErrorOf([&] { balloon->ShowToolTip(target, L"T", L"x", 0, alpha); }));
    EXPECT_TRUE(IsWindow(open)) << alpha << " closed the balloon";
  }
  SetCursorPos(50, 50);
  Tick();
  EXPECT_FALSE(IsWindow(open)) << "left open without its hooks";
  for (long alpha : {101L, 255L}) {
    EXPECT_EQ(nullptr, ShowBalloon(L"Title", L"Text", alpha)) << alpha << " has no mix, so no balloon";
    EXPECT_TRUE(balloon->alive) << alpha;
    EXPECT_TRUE(balloon->shown()) << alpha;
    SetCursorPos(50, 50);
    Tick();
    EXPECT_FALSE(balloon->hovering());
  }
}

TEST_F(BalloonTest, TileIsTheHostsCurrentPictureWhenPainted) {
  // Red and blue columns two pixels wide; the host replaces it by a green one (and
  // lets the first go) after ShowToolTip.
  auto stripes = test::PaintedPicture(4, 4, [](int x, int) { return x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
  auto green = test::PaintedPicture(4, 4, [](int, int) { return RGB(0, 160, 0); });
  balloon->look.style = BalloonStyle::Standard;
  balloon->look.backStyle = 4;
  balloon->look.picture = stripes.as<IDispatch>();
  ASSERT_TRUE(ShowBalloon(L"", L"x"));
  const SIZE body = balloon->bodySize();
  for (int x = 2; x < 10; ++x)
    EXPECT_EQ(x % 4 < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255), PixelOf(balloon->surface(), x, body.cy - 3)) << x;

  balloon->ShowToolTip(target, L"", L"x", 0);  // closes it; the next one arms again
  balloon->ShowToolTip(target, L"", L"x", 0);
  balloon->look.picture = green.as<IDispatch>();
  stripes.reset();
  green.reset();
  PointAt(400, 350);
  RestUntilShown();
  ASSERT_TRUE(balloon->surface());
  EXPECT_EQ(RGB(0, 160, 0), PixelOf(balloon->surface(), 5, body.cy - 3));
}

TEST_F(BalloonTest, BlankTitleTakesOneLineButNoGap) {
  SIZE withTitle{}, blank{}, spaces{};
  balloon->ShowToolTip(target, L"Title", L"Text", 0);
  withTitle = balloon->bodySize();
  balloon->ShowToolTip(target, L"", L"Text", 0);
  blank = balloon->bodySize();
  balloon->ShowToolTip(target, L"   ", L"Text", 0);
  spaces = balloon->bodySize();
  EXPECT_EQ(withTitle.cy - 13, blank.cy);
  EXPECT_EQ(blank.cy, spaces.cy);
  balloon->ShowToolTip(target, L"Title", L"Text", 2);
  EXPECT_EQ(withTitle.cy + 16, balloon->bodySize().cy);
  EXPECT_EQ(withTitle.cx + 25 + 16, balloon->bodySize().cx);
}

struct ColourCase {
  const char* name;
  long backStyle;
  OleColor back, start, end, text;
  COLORREF expectedInside, expectedBorder;
};

class BalloonColourTest : public BalloonTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(BalloonColourTest, PaintsFromOleColours) {
  const ColourCase& c = GetParam();
  balloon->look.style = BalloonStyle::Standard;
  balloon->look.backStyle = c.backStyle;
  balloon->look.backColor = c.back;
  balloon->look.gradientStart = c.start;
  balloon->look.gradientEnd = c.end;
  balloon->look.textColor = c.text;
  ShowBalloon(L"", L"x");
  ASSERT_TRUE(balloon->surface());
  SIZE body = balloon->bodySize();
  COLORREF inside = c.expectedInside;
  if (c.backStyle == 3) {  // top to bottom from start to end, over the client's height
    int v = static_cast<int>(std::nearbyint(255.0 * (body.cy - 3) / body.cy));
    inside = RGB(v, v, v);
  }
  EXPECT_EQ(inside, PixelOf(balloon->surface(), body.cx - 3, body.cy - 3));
  EXPECT_EQ(c.expectedBorder, PixelOf(balloon->surface(), 0, body.cy / 2));
}

INSTANTIATE_TEST_SUITE_P(
    Balloon, BalloonColourTest,
    ::testing::Values(
        ColourCase{"SolidRgb", 1, 0x00336699, 0, 0, 0x00000080, 0x00336699, 0x00000080},
        ColourCase{"SolidSystemColour", 1, 0x80000018, 0, 0, 0x80000012,
                   GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_BTNTEXT)},
        ColourCase{"EqualGradientIsSolid", 2, 0, 0x0000C000, 0x0000C000, 0x00FF0000, 0x0000C000,
                   0x00FF0000},
        ColourCase{"VerticalGradient", 3, 0, 0x00000000, 0x00FFFFFF, 0x00FF0000, 0, 0x00FF0000}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BalloonTest, HalfOpacityMixesWithWhatLiesBehind) {
  balloon->look.style = BalloonStyle::Standard;
  balloon->look.backColor = 0x00000000;  // black over the white target
  balloon->ShowToolTip(target, L"", L"x", 0, 50);
  PointAt(330, 390);  // low on the target: the balloon lies over the target
  RestUntilShown();
  ASSERT_TRUE(balloon->surface());
  SIZE body = balloon->bodySize();
  EXPECT_EQ(RGB(128, 128, 128), PixelOf(balloon->surface(), body.cx - 3, body.cy - 3));
}

TEST_F(BalloonTest, PictureForReviewHasItsGradientIconTitleAndText) {
  balloon->look.backStyle = 2;  // left to right
  balloon->look.gradientStart = 0x00FFFFFF;
  balloon->look.gradientEnd = 0x00F0D0A0;
  balloon->look.iconSize = 32;
  balloon->look.textColor = 0x00800000;
  balloon->ShowToolTip(target, L"Palvexor - Ayuda On Line", L"Texto de ayuda del campo.", 2);
  PointAt(400, 350);  // room above: the body from row 0, its stem below it
  RestUntilShown();
  HBITMAP picture = balloon->surface();
  ASSERT_TRUE(picture);
  const SIZE body = balloon->bodySize();
  ASSERT_EQ(-17, balloon->placement().stemY);
  auto gradient = [&](int x) {
    auto channel = [&](int from, int to) {
      return static_cast<int>(std::nearbyint(from + double(x) * (to - from) / body.cx));
    };
    return RGB(channel(0xFF, 0xA0), channel(0xFF, 0xD0), channel(0xFF, 0xF0));
  };
  for (int x : {2, int(body.cx) / 2, int(body.cx) - 3}) EXPECT_EQ(gradient(x), PixelOf(picture, x, 3)) << x;

  // Pixels of a colour in a box of the picture.
  auto count = [&](int left, int top, int right, int bottom, auto&& wanted) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += wanted(x, PixelOf(picture, x, y)) ? 1 : 0;
    return n;
  };
  const int iconPixels = count(12, 8, 44, 40, [&](int x, COLORREF c) { return c != gradient(x); });
  EXPECT_GT(iconPixels, 200) << "no information icon at (12, 8)";
  TEXTMETRICW metrics{};
  HDC screen = GetDC(nullptr);
  FontDescription bold;
  bold.bold = true;
  HFONT font = CreateGdiFont(bold);
  HGDIOBJ old = SelectObject(screen, font);
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  const int line = metrics.tmHeight;
  auto ink = [](int, COLORREF c) { return c == RGB(0, 0, 0x80); };
  EXPECT_GT(count(52, 17, body.cx - 5, 17 + line, ink), 20) << "no title right of the icon";
  const int textTop = 32 + line + 5;
  EXPECT_GT(count(10, textTop, body.cx - 5, textTop + line, ink), 20) << "no text under the title";
  EXPECT_EQ(0, count(10, 44, 50, textTop, ink)) << "ink between the icon and the text";
  EXPECT_TRUE(SaveBitmapPicture(picture, vk::test::BinFolder() + L"\\balloon_review.bmp"));
}

}  // namespace
}  // namespace vk::controls
