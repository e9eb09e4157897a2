// The status bar in a real window: panel layout, painted pixels under each scheme,
// hit testing and events from real mouse messages, in-place editing with real keys,
// the grip's size drag and size cursor, enter/leave. Writes status_bar_<scheme>.bmp
// (a bar with panels and an icon in each scheme) beside the test for review.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "controls/status_bar/status_bar_fixture.h"
#include "runtime/window_picture.h"
#include "support/debug_output.h"
#include "support/memory_dc.h"
#include "support/painted_picture.h"

namespace vk::controls {
namespace {

using Layout = StatusBarTest;
using Painting = StatusBarTest;
using Input = StatusBarTest;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A 16x16 bitmap picture: blue with a magenta (transparent) border of 2 pixels.
com::ComPtr<IPicture> IconPicture(long key) {
  return test::PaintedPicture(16, 16, [key](int x, int y) {
    const bool border = x < 2 || y < 2 || x > 13 || y > 13;
    return border ? COLORREF(key) : RGB(0, 0, 255);
  });
}

TEST_F(Layout, BarIsDockedAtTheBottomWithTheFixedHeightAndGripSquare) {
  EXPECT_EQ(bar_->clientWidth(), 300);
  EXPECT_EQ(bar_->clientHeight(), 24);
  EXPECT_EQ(bar_->align(), Align::Bottom);
  EXPECT_TRUE((bar_->GripSquare() == RECT{285, 9, 300, 24}));
  bar_->setHeight(900);  // the bar keeps its own height
  EXPECT_EQ(bar_->clientHeight(), 24);
}

TEST_F(Layout, PanelRectanglesUnderThemedAndClassicSchemes) {
  struct Case { long theme; RECT first; };
  const Case cases[] = {{2, {4, 5, 96, 19}}, {1, {5, 5, 95, 19}}};
  for (const Case& c : cases) {
    bar_->put_Theme(c.theme);
    if (bar_->PanelCount() == 0) bar_->AddPanel(L"text", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
    EXPECT_TRUE(bar_->PanelRect(1) == c.first) << "theme " << c.theme;
  }
}

TEST_F(Layout, AutoSizeOverflowAndIcons) {
  com::ComPtr<IPicture> icon = IconPicture(kGrey);
  bar_->AddPanel(L"", 0, true);                                                   // empty auto-size: 8 wide
  bar_->AddPanel(L"", 0, false, false, icon.get(), 0, false, 0, 0, nullptr, L"", 30);  // starts 20 further
  bar_->AddPanel(L"", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 400);    // overflows to 282
  bar_->AddPanel(L"late", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 10);
  EXPECT_TRUE((bar_->PanelRect(1) == RECT{4, 5, 4, 19}));   // (0..8) less 4 each side
  EXPECT_TRUE((bar_->PanelRect(2) == RECT{42, 5, 64, 19}));  // (20..68): shrunk, then past the icon
  EXPECT_TRUE((bar_->PanelRect(3) == RECT{72, 5, 278, 19}));
  EXPECT_TRUE((bar_->PanelRect(4) == RECT{286, 5, 278, 19}));
}

TEST_F(Painting, ThemedBackgroundRowsSeparatorsAndDottedGrip) {
  struct Case { long theme; long edge; };
  const Case cases[] = {{2, Rgb(127, 142, 156)}, {3, Rgb(133, 144, 117)}, {4, Rgb(126, 126, 138)}};
  for (const Case& c : cases) {
    Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", c.theme}});
    bar_->AddPanel(L"", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
    EXPECT_EQ(Pixel(150, 0), kWhite);
    EXPECT_EQ(Pixel(150, 1), c.edge) << c.theme;
    EXPECT_EQ(Pixel(150, 2), Rgb(154, 154, 155));
    EXPECT_EQ(Pixel(150, 3), Rgb(182, 182, 183));
    EXPECT_EQ(Pixel(150, 10), BlendColors(kWhite, Rgb(191, 191, 191), 20));
    EXPECT_EQ(Pixel(150, 19), Rgb(191, 191, 191));
    EXPECT_EQ(Pixel(150, 23), Rgb(159, 159, 160));
    EXPECT_EQ(Pixel(100, 10), Rgb(168, 168, 168)) << "separator";
    EXPECT_EQ(Pixel(101, 10), kWhite);
    EXPECT_EQ(Pixel(100, 19), Rgb(191, 191, 191)) << "the separator ends before the bottom";
    // Dot 3: highlight square at (297, 20), shadow at (296, 19).
    EXPECT_EQ(Pixel(298, 21), kWhite);
    EXPECT_EQ(Pixel(297, 21), kWhite);
    EXPECT_EQ(Pixel(296, 19), Rgb(168, 168, 168));
    EXPECT_EQ(Pixel(297, 20), Rgb(168, 168, 168));
  }
}

TEST_F(Painting, ClassicFlatBackgroundSunkenFrameAndDiagonalGrip) {
  Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 1L}});
  bar_->AddPanel(L"", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
  EXPECT_EQ(Pixel(150, 0), kGrey);
  EXPECT_EQ(Pixel(150, 12), kGrey);
  EXPECT_EQ(Pixel(50, 2), long(GetSysColor(COLOR_BTNSHADOW))) << "sunken edge on (0, 2, 100, 22)";
  EXPECT_EQ(Pixel(50, 21), long(GetSysColor(COLOR_BTNHIGHLIGHT)));
  // The last shadow line runs from (288, 22) to just before (299, 11).
  EXPECT_EQ(Pixel(298, 12), Rgb(168, 168, 168));
  EXPECT_EQ(Pixel(299, 11), kGrey);
  EXPECT_EQ(Pixel(298, 11), kWhite) << "highlight (3,13)-(14,2) from (285, 8)";
}

TEST_F(Painting, NoGripAndIconsOverTheGradient) {
  bar_->put_GripShape(0);
  EXPECT_EQ(Pixel(298, 21), Rgb(175, 175, 176));  // row 21: only the background
  com::ComPtr<IPicture> icon = IconPicture(kGrey);
  bar_->AddPanel(L"", 0, false, false, icon.get(), 0, false, 0, 0, nullptr, L"", 30);
  bar_->AddPanel(L"", 0, false, false, icon.get(), 1, false, 0, 0, nullptr, L"", 30);
  // First icon at x 4 - 2 = 2, top 24 / 2 - 8 = 4; the second at 48 + 4 = 52, greyed.
  EXPECT_EQ(Pixel(2 + 8, 4 + 8), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(2 + 0, 4 + 8), BlendColors(kWhite, Rgb(191, 191, 191), 24)) << "key shows the gradient";
  const long grey = Pixel(52 + 8, 4 + 8);
  EXPECT_EQ(grey & 0xFF, grey >> 16 & 0xFF);
  EXPECT_NE(grey, Rgb(0, 0, 255));
}

TEST_F(Painting, PanelTextIsDrawnInThePanelsColour) {
  bar_->AddPanel(L"WWWWWWWW", 0, false, false, nullptr, 0, false, 0, Rgb(255, 0, 0), nullptr, L"", 120);
  int red = 0;
  for (int y = 5; y < 19; ++y)
    for (int x = 4; x < 116; ++x) red += Pixel(x, y) == Rgb(255, 0, 0);
  EXPECT_GT(red, 10);
}

TEST_F(Painting, PanelTextIsAlignedInItsRectangleAndCutWithAnEllipsis) {
  const long red = Rgb(255, 0, 0);
  // Text pixels: those that differ from their row's background (column 275 holds no panel).
  auto inked = [&](int x, int y) { return Pixel(x, y) != Pixel(275, y); };
  auto ink = [&](int from, int to) {  // the columns with text pixels
    std::vector<int> columns;
    for (int x = from; x < to; ++x)
      for (int y = 5; y < 19; ++y)
        if (inked(x, y)) {
          columns.push_back(x);
          break;
        }
    return columns;
  };
  bar_->AddPanel(L"ab", 0, false, false, nullptr, 0, false, 0, red, nullptr, L"", 90);  // content 4..86
  bar_->AddPanel(L"ab", 1, false, false, nullptr, 0, false, 0, red, nullptr, L"", 90);  // 94..176
  bar_->AddPanel(L"ab", 2, false, false, nullptr, 0, false, 0, red, nullptr, L"", 90);  // 184..266
  const auto left = ink(2, 88), centre = ink(92, 178), right = ink(182, 268);
  ASSERT_FALSE(left.empty());
  ASSERT_FALSE(centre.empty());
  ASSERT_FALSE(right.empty());
  EXPECT_GE(left.front(), 4);
  EXPECT_LE(left.front(), 6);
  EXPECT_NEAR((centre.front() + centre.back()) / 2, (94 + 176) / 2, 2);
  EXPECT_GE(right.back(), 263);
  EXPECT_LE(right.back(), 266);

  // A text too long for its panel ends in dots within the panel, not in a cut letter.
  Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 2L}});
  bar_->AddPanel(L"WWWWWWWWWWWWWWWW", 0, false, false, nullptr, 0, false, 0, red, nullptr, L"", 60);  // 4..56
  const auto cut = ink(2, 58);
  ASSERT_GE(cut.size(), 4u);
  EXPECT_LT(cut.back(), 56);
  int top = 19, bottom = 0;
  for (int y = 5; y < 19; ++y)
    for (int x : cut)
      if (inked(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
  for (int x = cut.back() - 1; x <= cut.back(); ++x)
    for (int y = top; y < bottom - 2; ++y) EXPECT_FALSE(inked(x, y)) << "not a dot at " << x << "," << y;
}

TEST_F(Painting, PictureOfTheBarInEachScheme) {
  const wchar_t* names[] = {L"classic", L"blue", L"olive", L"silver"};
  for (long theme = 1; theme <= 4; ++theme) {
    Make(PropertyBag{{L"backcolor", long(0x8000000F)}, {L"font", Variant()}, {L"theme", theme}});
    com::ComPtr<IPicture> icon = IconPicture(long(GetSysColor(COLOR_BTNFACE)));
    bar_->AddPanel(L"Listo", 0, true, false, icon.get());
    bar_->AddPanel(L"Centro", 1, false, true, nullptr, 0, false, 0, 0, nullptr, L"", 90);
    bar_->AddPanel(L"12/07/2026", 2, false, false, icon.get(), 1, false, 0, Rgb(0, 0, 128), nullptr, L"", 80);
    test::MemoryDc copy(300, 24);
    BitBlt(copy.dc(), 0, 0, 300, 24, bar_->surface(), 0, 0, SRCCOPY);
    EXPECT_TRUE(copy.Save(test::BinFolder() + L"\\status_bar_" + names[theme - 1] + L".bmp"));
  }
}

// --- input ----------------------------------------------------------------------------

struct Recorder {
  std::vector<std::wstring> events;
  void Attach(VkStatusBar& bar) {
    bar.Click.Connect([this] { events.push_back(L"Click"); });
    bar.DblClick.Connect([this] { events.push_back(L"DblClick"); });
    bar.MouseDown.Connect([this](int& b, int&, float&, float&) { events.push_back(L"MouseDown " + std::to_wstring(b)); });
    bar.MouseUp.Connect([this](int& b, int&, float&, float&) { events.push_back(L"MouseUp " + std::to_wstring(b)); });
    bar.MouseMove.Connect([this](int&, int&, float&, float&) { events.push_back(L"MouseMove"); });
    bar.PanelClick.Connect([this](long& i) { events.push_back(L"PanelClick " + std::to_wstring(i)); });
    bar.PanelDblClick.Connect([this](long& i) { events.push_back(L"PanelDblClick " + std::to_wstring(i)); });
    bar.PanelMouseDown.Connect([this](long& i, int&, int&, float&, float&) { events.push_back(L"PanelMouseDown " + std::to_wstring(i)); });
    bar.PanelMouseUp.Connect([this](long& i, int&, int&, float&, float&) { events.push_back(L"PanelMouseUp " + std::to_wstring(i)); });
    bar.PanelMouseMove.Connect([this](long& i, int&, int&, float&, float&) { events.push_back(L"PanelMouseMove " + std::to_wstring(i)); });
    bar.MouseEnter.Connect([this] { events.push_back(L"MouseEnter"); });
    bar.MouseLeave.Connect([this] { events.push_back(L"MouseLeave"); });
    bar.KeyDown.Connect([this](int& k, int&) { events.push_back(L"KeyDown " + std::to_wstring(k)); });
    bar.KeyPress.Connect([this](int& k) { events.push_back(L"KeyPress " + std::to_wstring(k)); });
    bar.KeyUp.Connect([this](int& k, int&) { events.push_back(L"KeyUp " + std::to_wstring(k)); });
  }
};

TEST_F(Input, ClicksRaiseMouseAndPanelEventsWithThePanelUnderThePointer) {
  bar_->AddPanel(L"a", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);  // content 4..96
  bar_->AddPanel(L"b", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 50);   // content 104..146
  struct Case { int x, y; long panel; };
  const Case cases[] = {{50, 12, 1}, {96, 19, 1},  {97, 12, 0}, {104, 12, 2},
                        {146, 5, 2}, {120, 4, 0},  {250, 12, 0}, {4, 19, 1}};
  for (const Case& c : cases) {
    PointerAt(c.x, c.y);
    Recorder r;
    r.Attach(*bar_);
    SendMessageW(bar_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    SendMessageW(bar_->hwnd(), WM_LBUTTONUP, 0, At(c.x, c.y));
    const std::wstring p = std::to_wstring(c.panel);
    EXPECT_EQ(r.events, (std::vector<std::wstring>{L"MouseDown 1", L"PanelMouseDown " + p, L"MouseUp 1",
                                                   L"PanelMouseUp " + p, L"Click", L"PanelClick " + p}))
        << c.x << "," << c.y;
    form_->Unload();
    Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 2L}});
    bar_->AddPanel(L"a", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
    bar_->AddPanel(L"b", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 50);
  }
}

TEST_F(Input, HitAreasOfIconPanelsAndGaps) {
  com::ComPtr<IPicture> icon = IconPicture(kGrey);
  // Panel 1: empty auto-size, content (4,5,4,19); panel 2 starts 20 pixels after it.
  bar_->AddPanel(L"", 0, true);
  bar_->AddPanel(L"", 0, false, false, icon.get(), 0, false, 0, 0, nullptr, L"", 30);  // Rect (42,5,64,19)
  bar_->AddPanel(L"", 2, false, false, icon.get(), 0, false, 0, 0, nullptr, L"", 30);  // Rect (90,5,112,19)
  // Panel 2: left-aligned icon: 16 left -> (26..48); previous right 4 + 10 < 26: 8 left, 6 wider
  // on each side -> (12..46). Panel 3: right-aligned: 2 wider -> (88..114); 64 + 10 < 88:
  // -> (74..112). Only ever wider, never taller: rows 5..19.
  struct Case { int x, y; long panel; };
  const Case cases[] = {{4, 12, 1},  {11, 12, 0}, {12, 12, 2}, {46, 19, 2},  {46, 20, 0}, {47, 12, 0},
                        {74, 12, 3}, {73, 12, 0}, {112, 5, 3}, {112, 4, 0}, {113, 12, 0}};
  for (const Case& c : cases) {
    PointerAt(c.x, c.y);
    long got = -1;
    const int token = bar_->PanelClick.Connect([&](long& i) { got = i; });
    SendMessageW(bar_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    SendMessageW(bar_->hwnd(), WM_LBUTTONUP, 0, At(c.x, c.y));
    bar_->PanelClick.Disconnect(token);
    EXPECT_EQ(got, c.panel) << c.x << "," << c.y;
  }
}

TEST_F(Input, KeysPassThroughUnchanged) {
  Recorder r;
  r.Attach(*bar_);
  SendMessageW(bar_->hwnd(), WM_KEYDOWN, 'A', 0);
  SendMessageW(bar_->hwnd(), WM_CHAR, 'a', 0);
  SendMessageW(bar_->hwnd(), WM_KEYUP, 'A', 0);
  EXPECT_EQ(r.events, (std::vector<std::wstring>{L"KeyDown 65", L"KeyPress 97", L"KeyUp 65"}));
}

// The form's window answers a size drag by recording it instead of running the
// system's modal sizing loop.
struct DragRecorder {
  DragRecorder(HWND form, std::vector<std::wstring>& log) : form_(form), log_(log) { SetWindowSubclass(form, &Proc, 7, reinterpret_cast<DWORD_PTR>(this)); }
  ~DragRecorder() { RemoveWindowSubclass(form_, &Proc, 7); }
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    if (m == WM_NCLBUTTONDOWN) {
      auto* self = reinterpret_cast<DragRecorder*>(data);
      self->hits.push_back(int(w));
      self->log_.push_back(L"Drag");
      return 0;
    }
    return DefSubclassProc(h, m, w, l);
  }
  HWND form_;
  std::vector<std::wstring>& log_;
  std::vector<int> hits;
};

TEST_F(Input, PressOnTheGripStartsTheFormsSizeDragOnlyWhenSizable) {
  struct Case { bool sizable; int x, y, button; size_t drags; };
  const Case cases[] = {{true, 292, 16, 1, 1}, {true, 285, 9, 2, 1}, {true, 300, 24, 1, 1},
                        {true, 284, 16, 1, 0}, {false, 292, 16, 1, 0}};
  for (const Case& c : cases) {
    bar_->put_Sizable(c.sizable);
    Recorder r;
    r.Attach(*bar_);
    DragRecorder drag(form_->hwnd(), r.events);
    SendMessageW(bar_->hwnd(), WM_MOUSEMOVE, 0, At(c.x, c.y));
    EXPECT_EQ(bar_->mousePointer(), c.x >= 285 ? 8 : 0) << "size cursor, whatever Sizable says";
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.x >= 285 ? IDC_SIZENWSE : IDC_ARROW))
        << "the cursor changes on the move that enters or leaves the grip";
    const UINT down = c.button == 1 ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    SendMessageW(bar_->hwnd(), down, c.button == 1 ? MK_LBUTTON : MK_RBUTTON, At(c.x, c.y));
    ASSERT_EQ(drag.hits.size(), c.drags) << c.x << "," << c.y;
    if (c.drags) {
      EXPECT_EQ(drag.hits[0], HTBOTTOMRIGHT);
    }
    const auto pressed = std::find(r.events.begin(), r.events.end(), L"MouseDown " + std::to_wstring(c.button));
    ASSERT_NE(pressed, r.events.end());
    EXPECT_EQ(std::find(pressed, r.events.end(), std::wstring(L"Drag")), r.events.end())
        << "mouse events come after the drag";
    SendMessageW(bar_->hwnd(), c.button == 1 ? WM_LBUTTONUP : WM_RBUTTONUP, 0, At(c.x, c.y));
  }
}

TEST_F(Input, EnterOnceLeaveOnceAndEnterAgain) {
  ASSERT_TRUE(bar_->subclassed());
  SendMessageW(bar_->hwnd(), WM_MOUSELEAVE, 0, 0);  // whatever the real pointer did
  Recorder r;
  r.Attach(*bar_);
  for (int i = 0; i < 3; ++i) SendMessageW(bar_->hwnd(), WM_MOUSEMOVE, 0, At(10 + i, 10));
  SendMessageW(bar_->hwnd(), WM_MOUSELEAVE, 0, 0);
  SendMessageW(bar_->hwnd(), WM_MOUSEMOVE, 0, At(20, 10));
  const std::vector<std::wstring> expected{
      L"MouseMove", L"PanelMouseMove 0", L"MouseEnter", L"MouseMove", L"PanelMouseMove 0", L"MouseMove",
      L"PanelMouseMove 0", L"MouseLeave", L"MouseMove", L"PanelMouseMove 0", L"MouseEnter"};
  EXPECT_EQ(r.events, expected);
}

TEST_F(Input, TheRealPointerEntersOnceAndLeaves) {
  auto pumpUntil = [](const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      Sleep(10);
      DoEvents();
    }
  };
  Recorder r;
  r.Attach(*bar_);
  auto count = [&](const wchar_t* e) { return std::count(r.events.begin(), r.events.end(), std::wstring(e)); };
  SetCursorPos(1270, 1010);  // off the form
  pumpUntil([&] { return count(L"MouseLeave") > 0; });
  r.events.clear();
  PointerAt(150, 12);
  PointerAt(160, 12);
  EXPECT_EQ(1, count(L"MouseEnter"));
  SetCursorPos(1270, 1010);
  pumpUntil([&] { return count(L"MouseLeave") > 0; });
  EXPECT_EQ(1, count(L"MouseLeave")) << "no leave notice from the system";
  EXPECT_EQ(1, count(L"MouseEnter"));
}

TEST_F(Input, ThemeAndColourMessagesRepaintWithTheSchemeOfTheMoment) {
  const UINT messages[] = {WM_THEMECHANGED, WM_SYSCOLORCHANGE, WM_NCPAINT};
  for (UINT message : messages) {
    Make(PropertyBag{{L"backcolor", kGrey}});  // automatic theme: classic without a visual style
    ASSERT_EQ(bar_->scheme(), kClassic);
    EXPECT_EQ(Pixel(150, 0), kGrey);
    VisualStyleSource xp = NoVisualStyle();
    xp.version = [](OSVERSIONINFOA& info) {
      info.dwPlatformId = 2, info.dwMajorVersion = 5, info.dwMinorVersion = 1, info.dwBuildNumber = 2600;
      return TRUE;
    };
    xp.currentThemeName = [](wchar_t* b, int) { wcscpy(b, L"Metallic"); return S_OK; };
    VisualStyleScope style(xp);
    SendMessageW(bar_->hwnd(), message, 0, 0);
    EXPECT_EQ(bar_->scheme(), kSilver) << message;
    EXPECT_EQ(bar_->GripShape(), 1);
    EXPECT_EQ(Pixel(150, 0), kWhite) << message;
    EXPECT_EQ(Pixel(150, 1), Rgb(126, 126, 138)) << message;
  }
}

TEST_F(Input, DesignModeBarIsNotSubclassedAndPaintsOnRequest) {
  Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 2L}}, false);
  EXPECT_FALSE(bar_->subclassed());
  EXPECT_FALSE(bar_->retained());
  test::MemoryDc target(300, 24);
  SendMessageW(bar_->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT);
  EXPECT_EQ(target.Pixel(150, 0), kWhite);
  EXPECT_EQ(target.Pixel(150, 2), Rgb(154, 154, 155));
}

// --- editing ---------------------------------------------------------------------------

class Editing : public StatusBarTest {
 protected:
  void SetUp() override {
    StatusBarTest::SetUp();
    bar_->AddPanel(L"fixed", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);   // 4..96
    bar_->AddPanel(L"editable", 0, false, true, nullptr, 0, false, 0, 0, nullptr, L"", 80);  // 104..176
  }
  void DoubleClick(int x, int y) {
    PointerAt(x, y);
    SendMessageW(bar_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(bar_->hwnd(), WM_LBUTTONUP, 0, At(x, y));
    SendMessageW(bar_->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(x, y));
    SendMessageW(bar_->hwnd(), WM_LBUTTONUP, 0, At(x, y));
  }
  void Type(const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(bar_->editor(), WM_CHAR, ch, 1);
  }
  void Key(UINT key) {
    SendMessageW(bar_->editor(), WM_KEYDOWN, key, 1);
    SendMessageW(bar_->editor(), WM_KEYUP, key, 0xC0000001);
  }
  RECT EditorPlace() const {
    RECT r;
    GetWindowRect(bar_->editor(), &r);
    MapWindowPoints(nullptr, bar_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST_F(Editing, DoubleClickOpensTheEditorOnlyOverEditablePanels) {
  Recorder r;
  r.Attach(*bar_);
  DoubleClick(50, 12);
  EXPECT_FALSE(bar_->editorVisible());
  EXPECT_EQ(bar_->EditIndex(), 1);
  DoubleClick(250, 12);
  EXPECT_EQ(bar_->EditIndex(), 0);
  DoubleClick(150, 12);
  ASSERT_TRUE(bar_->editorVisible());
  EXPECT_EQ(bar_->EditIndex(), 2);
  EXPECT_EQ(GetFocus(), bar_->editor());
  EXPECT_TRUE((EditorPlace() == RECT{104, 4, 176, 20}));
  DWORD start = 0, end = 0;
  SendMessageW(bar_->editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 8u);
  int dbl = 0;
  for (const auto& e : r.events) dbl += e.rfind(L"PanelDblClick", 0) == 0;
  EXPECT_EQ(dbl, 3);
  EXPECT_NE(std::find(r.events.begin(), r.events.end(), L"PanelDblClick 0"), r.events.end());
}

TEST_F(Editing, ClassicEditorIsFourPixelsHighAndEightWider) {
  bar_->put_Theme(1);  // content (105, 5, 175, 19)
  DoubleClick(150, 12);
  ASSERT_TRUE(bar_->editorVisible());
  EXPECT_TRUE((EditorPlace() == RECT{101, 9, 179, 13}));
}

TEST_F(Editing, EnterCommitsEscDiscardsFocusLossCommitsClickDiscards) {
  struct Case { const char* how; std::wstring expected; };
  const Case cases[] = {{"enter", L"new"}, {"esc", L"editable"}, {"focus", L"new"}, {"click", L"editable"}};
  for (const Case& c : cases) {
    bar_->put_PanelText(2, L"editable");
    DoubleClick(150, 12);
    ASSERT_TRUE(bar_->editorVisible());
    SendMessageW(bar_->editor(), WM_KEYDOWN, VK_DELETE, 1);  // the whole text is selected
    SendMessageW(bar_->editor(), WM_KEYUP, VK_DELETE, 0xC0000001);
    Type(L"new");
    const std::string how = c.how;
    if (how == "enter") Key(VK_RETURN);
    else if (how == "esc") Key(VK_ESCAPE);
    else if (how == "focus") ::SetFocus(form_->hwnd());
    else {
      PointerAt(250, 12);
      SendMessageW(bar_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(250, 12));
      SendMessageW(bar_->hwnd(), WM_LBUTTONUP, 0, At(250, 12));
    }
    EXPECT_FALSE(bar_->editorVisible()) << how;
    EXPECT_EQ(bar_->PanelText(2), c.expected) << how;
  }
}

TEST_F(Editing, ACommitToAPanelThatIsNotThereFailsAndKeepsTheText) {
  bar_->PanelDblClick.Connect([](long& index) { index = 7; });
  struct Case { const char* how; const char* source; };
  for (const Case& c : {Case{"enter", "VkStatxpSar.txtEdit_KeyUp"}, Case{"focus", "VkStatxpSar.txtEdit_LostFocus"}}) {
    DoubleClick(150, 12);
    ASSERT_TRUE(bar_->editorVisible());
    Type(L"X");
    test::DebugOutputRecorder debug;
    if (std::string(c.how) == "enter") Key(VK_RETURN);
    else ::SetFocus(form_->hwnd());
    EXPECT_NE(debug.text().find(std::string("error 9 in ") + c.source + ": Subscript out of range"), std::string::npos)
        << c.how << ": " << debug.text();
    EXPECT_TRUE(bar_->editorVisible()) << c.how << ": the typed text went";
    wchar_t typed[16] = {};
    GetWindowTextW(bar_->editor(), typed, 16);
    EXPECT_STREQ(L"X", typed);
    EXPECT_EQ(bar_->PanelText(1), L"fixed");
    EXPECT_EQ(bar_->PanelText(2), L"editable");
    ::SetFocus(bar_->editor());
    Key(VK_ESCAPE);
    EXPECT_FALSE(bar_->editorVisible());
  }
}

TEST_F(Editing, APanelDblClickHandlerChoosesThePanelTheCommitWritesTo) {
  bar_->put_PanelEditable(1, true);
  bar_->PanelDblClick.Connect([](long& index) { index = 1; });
  DoubleClick(150, 12);
  ASSERT_TRUE(bar_->editorVisible());
  Type(L"X");
  Key(VK_RETURN);
  EXPECT_EQ(bar_->PanelText(1), L"X");
  EXPECT_EQ(bar_->PanelText(2), L"editable");
}

}  // namespace
}  // namespace vk::controls
