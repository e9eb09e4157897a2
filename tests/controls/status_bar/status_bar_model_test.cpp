// The status bar's model and persistence: panels and their per-panel properties
// (index clamping, refusals on an empty bar, error sources), bound controls, the
// control-level properties and the property bag's keys and defaults.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "controls/status_bar/status_bar_fixture.h"
#include "runtime/font.h"
#include "support/error_of.h"

namespace vk::controls {
namespace {

using Model = StatusBarTest;

VbError ErrorFrom(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& e) {
    return e;
  }
  return {};
}

TEST_F(Model, AddPanelStoresItsArgumentsAndAlwaysAnswersFalse) {
  struct Case { long align, width; long expectedAlign, expectedWidth; };
  const Case cases[] = {{0, 100, 0, 100}, {1, 1, 1, 1}, {2, 0, 2, 40}, {3, -5, 0, 40}};
  for (const Case& c : cases) EXPECT_FALSE(bar_->AddPanel(L"t", c.align, false, false, nullptr, 0, false, 0, 0, nullptr, L"tip", c.width));
  ASSERT_EQ(bar_->PanelCount(), 4);
  for (long i = 1; i <= 4; ++i) {
    EXPECT_EQ(bar_->PanelAlignment(i), cases[i - 1].expectedAlign) << i;
    EXPECT_EQ(bar_->PanelWidth(i), cases[i - 1].expectedWidth) << i;
    EXPECT_EQ(bar_->PanelToolTipText(i), L"tip");
  }
  bar_->put_PanelWidth(1, 0);  // the floor is AddPanel's only
  EXPECT_EQ(bar_->PanelWidth(1), 0);
}

TEST_F(Model, IndexIsClampedToTheFirstAndLastPanel) {
  bar_->AddPanel(L"one");
  bar_->AddPanel(L"two");
  bar_->AddPanel(L"three");
  struct Case { long index; const wchar_t* text; };
  const Case cases[] = {{0, L"one"}, {-5, L"one"}, {1, L"one"}, {2, L"two"}, {3, L"three"}, {99, L"three"}};
  for (const Case& c : cases) EXPECT_EQ(bar_->PanelText(c.index), c.text) << c.index;
  bar_->put_PanelText(-5, L"first");
  bar_->put_PanelText(42, L"last");
  EXPECT_EQ(bar_->PanelText(1), L"first");
  EXPECT_EQ(bar_->PanelText(3), L"last");
  EXPECT_EQ(bar_->PanelText(2), L"two");
}

TEST_F(Model, PerPanelGettersOnAnEmptyBarRaiseUnderTheirOwnName) {
  struct Case { const wchar_t* source; std::function<void()> call; };
  const Case cases[] = {
      {L"VkStatxpSar.PanelText", [&] { bar_->PanelText(1); }},
      {L"VkStatxpSar.PanelAlignment", [&] { bar_->PanelAlignment(1); }},
      {L"VkStatxpSar.PanelWidth", [&] { bar_->PanelWidth(0); }},
      {L"VkStatxpSar.PanelFont", [&] { bar_->PanelFont(1); }},
      {L"VkStatxpSar.PanelIcon", [&] { bar_->PanelIcon(1); }},
      {L"VkStatxpSar.PanelEditable", [&] { bar_->PanelEditable(1); }},
      {L"VkStatxpSar.PanelAutoSize", [&] { bar_->PanelAutoSize(1); }},
      {L"VkStatxpSar.PanelForeColor", [&] { bar_->PanelForeColor(1); }},
      {L"VkStatxpSar.PanelToolTipText", [&] { bar_->PanelToolTipText(1); }},
  };
  for (const Case& c : cases) {
    const VbError e = ErrorFrom(c.call);
    EXPECT_EQ(e.number, err::SubscriptOutOfRange) << c.source;
    EXPECT_EQ(e.source, c.source);
  }
}

TEST_F(Model, PerPanelSettersOnAnEmptyBarDoNothingAndDoNotRepaint) {
  // A mark on the retained image survives: no repaint happened.
  SetPixelV(bar_->surface(), 50, 12, RGB(1, 2, 3));
  bar_->put_PanelText(1, L"x");
  bar_->put_PanelWidth(1, 10);
  bar_->put_PanelAlignment(1, 1);
  bar_->put_PanelEditable(1, true);
  EXPECT_EQ(GetPixel(bar_->surface(), 50, 12), RGB(1, 2, 3));
  EXPECT_EQ(bar_->PanelCount(), 0);
  // A real setter repaints.
  bar_->AddPanel(L"p");
  SetPixelV(bar_->surface(), 250, 12, RGB(1, 2, 3));
  bar_->put_PanelAlignment(1, 7);  // unknown: alignment kept, repaint still follows
  EXPECT_NE(GetPixel(bar_->surface(), 250, 12), RGB(1, 2, 3));
  EXPECT_EQ(bar_->PanelAlignment(1), 0);
}

TEST_F(Model, AddPanelFontFallsBackToTheBarsFont) {
  Font verdana = CreateOleFont({.name = L"Verdana", .size = 8.25});
  Font own = CreateOleFont({.name = L"Courier New", .size = 10});
  bar_->put_Font(verdana.get());
  bar_->AddPanel(L"a");
  bar_->AddPanel(L"b", 0, false, false, nullptr, 0, false, 0, 0, own.get());
  EXPECT_EQ(bar_->PanelFont(1).get(), verdana.get());  // held by reference
  EXPECT_EQ(bar_->PanelFont(2).get(), own.get());
  bar_->put_Font(nullptr);
  bar_->AddPanel(L"c");
  com::Bstr name;
  ASSERT_TRUE(bar_->PanelFont(3));
  bar_->PanelFont(3)->get_Name(name.put());
  com::Bstr ambientName;
  CreateOleFont(AmbientFont(form_->ambient()))->get_Name(ambientName.put());
  EXPECT_EQ(name.str(), ambientName.str());
}

TEST_F(Model, BoundControlMovesWindowsInAndOut) {
  bar_->AddPanel(L"one", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
  HWND first = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form_->hwnd(), nullptr, nullptr, nullptr);
  HWND second = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form_->hwnd(), nullptr, nullptr, nullptr);
  bar_->BoundControl(1, nullptr, 3);  // nothing bound: only stores the method
  bar_->BoundControl(1, first, 0);
  EXPECT_EQ(GetParent(first), bar_->hwnd());
  RECT r;
  GetWindowRect(first, &r);
  MapWindowPoints(nullptr, bar_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, bar_->PanelRect(1).left);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.bottom - r.top, 16);
  bar_->BoundControl(1, second, 0);  // replaces the first without giving it back
  EXPECT_EQ(GetParent(first), bar_->hwnd());
  EXPECT_EQ(GetParent(second), bar_->hwnd());
  bar_->BoundControl(1, nullptr, 0);
  EXPECT_EQ(GetParent(second), form_->hwnd());
  EXPECT_EQ(bar_->PanelCount(), 1);
}

TEST_F(Model, BoundControlOfOneThemedPanelIsSizedOrHidden) {
  // Width 30 px: content 22 px wide, shown. Width 6: content 0 px (0 twips), hidden.
  struct Case { long width; bool visible; int expectedWidth; };
  const Case cases[] = {{30, true, 22}, {6, false, -1}};
  for (const Case& c : cases) {
    Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 3L}});
    bar_->AddPanel(L"", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", c.width);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form_->hwnd(), nullptr, nullptr, nullptr);
    bar_->BoundControl(1, child, 1);
    EXPECT_EQ(IsWindowVisible(child) != FALSE, c.visible) << c.width;
    RECT r;
    GetWindowRect(child, &r);
    if (c.visible) {
      EXPECT_EQ(r.right - r.left, c.expectedWidth);
      EXPECT_EQ(r.bottom - r.top, 16);
    }
  }
}

// A child that keeps its width of 50 pixels whatever it is asked.
LRESULT CALLBACK FixedWidth(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(l)->cx = 50;
  return DefSubclassProc(h, m, w, l);
}

TEST_F(Model, BoundControlThatRefusesItsWidthIsHidden) {
  struct Case { long theme; bool refuses; bool visible; };
  const Case cases[] = {{2, false, true}, {2, true, false}, {1, true, false}, {1, false, true}};
  for (const Case& c : cases) {
    bar_->put_Theme(c.theme);
    if (bar_->PanelCount() == 0) bar_->AddPanel(L"", 0, false, false, nullptr, 0, false, 0, 0, nullptr, L"", 100);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form_->hwnd(), nullptr, nullptr, nullptr);
    if (c.refuses) SetWindowSubclass(child, &FixedWidth, 1, 0);
    bar_->BoundControl(1, child, 1);
    EXPECT_EQ(IsWindowVisible(child) != FALSE, c.visible) << c.theme << " " << c.refuses;
    if (c.visible) {
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, bar_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
      // Themed: the content rectangle (4..96); classic: 4 further left and 9 wider (1..100).
      EXPECT_EQ(r.left, c.theme == 1 ? 1 : 4);
      EXPECT_EQ(r.right - r.left, c.theme == 1 ? 99 : 92);
      EXPECT_EQ(r.top, 4) << "half the bar's height less half the control's, in twips";
    }
    bar_->BoundControl(1, nullptr, 1);
    DestroyWindow(child);
  }
}

TEST_F(Model, EndingTheBarGivesBoundControlsBack) {
  HWND elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 80, 80, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 20, elsewhere, nullptr, nullptr, nullptr);
  bar_->AddPanel(L"one");
  bar_->BoundControl(1, child, 0);
  ASSERT_EQ(GetParent(child), bar_->hwnd());
  form_->Unload();
  form_.reset();
  EXPECT_TRUE(IsWindow(child)) << "the host's control outlives the bar";
  EXPECT_EQ(GetParent(child), elsewhere);
  DestroyWindow(elsewhere);
}

TEST_F(Model, ControlPropertiesRepaintAndMarkThemselvesChanged) {
  std::vector<std::wstring> changed;
  bar_->PropertyChanged.Connect([&](const std::wstring& name) { changed.push_back(name); });
  bar_->put_BackColor(Rgb(1, 2, 3));
  bar_->put_ForeColor(Rgb(4, 5, 6));
  bar_->put_GripShape(bar_->GripShape());  // the same value: nothing
  bar_->put_GripShape(0);
  bar_->put_Theme(3);
  bar_->put_Sizable(true);  // grip 2 where IsWinXP is false, then the olive scheme makes it 1
  EXPECT_EQ((std::vector<std::wstring>{L"BackColor", L"ForeColor", L"GripShape", L"Theme", L"Sizable"}), changed);
  EXPECT_EQ(bar_->GripShape(), 1);
  bar_->put_Sizable(false);
  EXPECT_EQ(bar_->GripShape(), 0);
  bar_->put_Theme(1);
  EXPECT_EQ(bar_->GripShape(), 0) << "no grip stays no grip";
  EXPECT_EQ(bar_->scheme(), kClassic);
}

TEST_F(Model, DefaultsWriteNoKeyAndAnEmptyBagReadsTheContainersValues) {
  struct Case { bool xpStyle; long scheme, grip; size_t keys; };
  // Under a visual style the automatic theme keeps the dotted grip (the default); without
  // one it turns classic and the rewritten grip is the one value that differs.
  const Case cases[] = {{true, kBlue, 1, 0}, {false, kClassic, 2, 1}};
  for (const Case& c : cases) {
    VisualStyleSource xp = NoVisualStyle();
    xp.version = [](OSVERSIONINFOA& info) {
      info.dwPlatformId = 2, info.dwMajorVersion = 5, info.dwMinorVersion = 1, info.dwBuildNumber = 2600;
      return TRUE;
    };
    xp.currentThemeName = [](wchar_t* b, int) { wcscpy(b, L"NormalColor"); return S_OK; };
    VisualStyleScope style(c.xpStyle ? xp : NoVisualStyle());
    Make(PropertyBag{});
    EXPECT_EQ(bar_->BackColor(), long(form_->ambient().backColor));
    EXPECT_EQ(bar_->ForeColor(), long(form_->ambient().foreColor));
    EXPECT_TRUE(bar_->Sizable());
    EXPECT_EQ(bar_->Theme(), 0);
    EXPECT_EQ(bar_->PanelCount(), 0);
    EXPECT_EQ(bar_->scheme(), c.scheme);
    EXPECT_EQ(bar_->GripShape(), c.grip);
    PropertyBag out;
    bar_->WriteProperties(out);
    EXPECT_EQ(out.size(), c.keys);
    if (c.keys) {
      EXPECT_EQ(out.Read(L"GripShape").toLong(), 2);
    }
  }
}

TEST_F(Model, StoredValuesRoundTripAndTheClassicThemeSavesItsGrip) {
  Make(PropertyBag{{L"backcolor", long(0x8000000F)}, {L"font", Variant()}, {L"theme", 4L}});
  EXPECT_EQ(bar_->scheme(), kSilver);
  EXPECT_EQ(bar_->align(), Align::Bottom);
  Font verdana = CreateOleFont({.name = L"Verdana", .size = 12});
  bar_->put_Font(verdana.get());
  bar_->put_ForeColor(Rgb(9, 8, 7));
  bar_->put_Theme(1);  // grip becomes 2 and is saved as 2
  bar_->AddPanel(L"x");
  PropertyBag out;
  bar_->WriteProperties(out);
  struct Case { const wchar_t* key; long value; };
  const Case cases[] = {{L"ForeColor", Rgb(9, 8, 7)}, {L"GripShape", 2}, {L"PanelCount", 1}, {L"Theme", 1}};
  for (const Case& c : cases) EXPECT_EQ(out.Read(c.key).toLong(), c.value) << c.key;
  EXPECT_FALSE(out.Contains(L"BackColor")) << "equal to the container's";
  EXPECT_FALSE(out.Contains(L"Sizable"));
  ASSERT_TRUE(out.Contains(L"Font"));

  Make(out);
  EXPECT_EQ(bar_->ForeColor(), Rgb(9, 8, 7));
  EXPECT_EQ(bar_->GripShape(), 2);
  EXPECT_EQ(bar_->Theme(), 1);
  EXPECT_EQ(bar_->PanelCount(), 0) << "panels are not stored";
  EXPECT_EQ(bar_->GetFont().get(), verdana.get()) << "the stored font object itself";
  EXPECT_NO_THROW(bar_->Refresh());
}

TEST_F(Model, InitPropertiesSetsTheNewControlsValuesWithoutPainting) {
  Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 3L}, {L"gripshape", 0L}, {L"sizable", false}});
  SetPixelV(bar_->surface(), 50, 12, RGB(1, 2, 3));
  bar_->InitProperties();
  EXPECT_EQ(GetPixel(bar_->surface(), 50, 12), RGB(1, 2, 3));
  EXPECT_EQ(bar_->BackColor(), long(kButtonFace));
  EXPECT_EQ(bar_->ForeColor(), long(kButtonText));
  EXPECT_EQ(bar_->GripShape(), 1);
  EXPECT_TRUE(bar_->Sizable());
  EXPECT_EQ(bar_->Theme(), 0);
}

}  // namespace
}  // namespace vk::controls
