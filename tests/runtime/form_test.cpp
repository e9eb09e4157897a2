// Forms and controls on real windows: geometry in twips, containers, control arrays,
// the loaded-form list and unloading.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <tuple>

#include "base/steps.h"
#include "base/vb_error.h"
#include "runtime/form.h"
#include "runtime/test_controls.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"
#include "runtime/window_class.h"
#include "support/debug_output.h"
#include "support/error_of.h"

namespace vk::test {
namespace {

BOOL CALLBACK FindToolTip(HWND w, LPARAM p) {
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(p) = w;
  return TRUE;
}

RECT ChildRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LRESULT CALLBACK OldProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
LRESULT CALLBACK NewProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST(WindowClasses, AClassLeftByAnEarlierLoadIsReplaced) {
  WNDCLASSEXW old{};
  old.cbSize = sizeof(old);
  old.lpfnWndProc = &OldProcedure;
  old.hInstance = RuntimeModule();
  old.lpszClassName = L"VkLeftOver";
  ASSERT_TRUE(RegisterClassExW(&old));
  EXPECT_TRUE(RegisterRuntimeClass(L"VkLeftOver", &NewProcedure, CS_DBLCLKS, nullptr));
  WNDCLASSEXW now{};
  now.cbSize = sizeof(now);
  ASSERT_TRUE(GetClassInfoExW(RuntimeModule(), L"VkLeftOver", &now));
  EXPECT_EQ(now.lpfnWndProc, &NewProcedure);
  EXPECT_TRUE(RegisterRuntimeClass(L"VkLeftOver", &NewProcedure, CS_DBLCLKS, nullptr)) << "twice is fine";
  UnregisterClassW(L"VkLeftOver", RuntimeModule());
}

TEST(Twips, FifteenToAPixelAt96Dpi) {
  EXPECT_DOUBLE_EQ(TwipsPerPixel(), 15.0);
  struct Case { double twips; int pixels; };
  const Case cases[] = {{0, 0}, {15, 1}, {1440, 96}, {11475, 765}, {22, 1}, {23, 2}, {-150, -10}};
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips;
  EXPECT_DOUBLE_EQ(PixelsToTwips(765), 11475.0);
}

TEST(Form, ClientAreaAndControlPlacementInTwips) {
  auto form = Form::Load<TestForm>(L"FPlace", true);
  EXPECT_DOUBLE_EQ(form->scaleWidth(), 6000);
  EXPECT_DOUBLE_EQ(form->scaleHeight(), 4500);
  EXPECT_DOUBLE_EQ(form->width(), 6000) << "a borderless form's outer size is its client area";
  auto& button = form->Add<TestButton>({.name = L"cmdOk", .left = 150, .top = 300, .width = 1500, .height = 450});
  RECT r = ChildRect(button.hwnd());
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 30);
  button.Move(300, 600, 750, 300);
  r = ChildRect(button.hwnd());
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right - r.left, 50);

  // A negative size is refused with 380 and changes nothing, so layout code that
  // skips each failing step keeps the old value.
  EXPECT_EQ(ErrorOf([&] { button.setWidth(-1); }), err::InvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { button.setHeight(-30); }), err::InvalidPropertyValue);
  EXPECT_DOUBLE_EQ(button.width(), 750);
  EXPECT_DOUBLE_EQ(button.height(), 300);
  EXPECT_EQ(ErrorOf([&] { button.setLeft(-300); }), 0) << "a negative position is fine";
  EXPECT_EQ(ErrorOf([&] { form->setWidth(-1); }), err::InvalidPropertyValue);
  form->Unload();
}

TEST(Form, VisibleEnabledTagAndTabOrder) {
  auto form = Form::Load<TestForm>();
  auto& a = form->Add<TestButton>({.name = L"a", .width = 600, .height = 300, .tag = L"1|2"});
  auto& b = form->Add<TestButton>({.name = L"b", .width = 600, .height = 300, .visible = false});
  auto& c = form->Add<TestButton>({.name = L"c", .width = 600, .height = 300, .enabled = false});
  EXPECT_EQ(a.tag(), L"1|2");
  EXPECT_FALSE(b.visible());
  EXPECT_FALSE(GetWindowLongW(b.hwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongW(a.hwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowEnabled(c.hwnd()));
  c.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(c.hwnd()));
  b.setVisible(true);
  EXPECT_TRUE(GetWindowLongW(b.hwnd(), GWL_STYLE) & WS_VISIBLE);

  EXPECT_EQ(a.tabIndex(), 0);
  EXPECT_EQ(b.tabIndex(), 1);
  EXPECT_EQ(c.tabIndex(), 2);
  c.setTabIndex(0);  // the others move up one, as the designer renumbers them
  EXPECT_EQ(c.tabIndex(), 0);
  EXPECT_EQ(a.tabIndex(), 1);
  EXPECT_EQ(b.tabIndex(), 2);
  EXPECT_EQ(GetWindow(form->hwnd(), GW_CHILD), c.hwnd()) << "tab order is window order";
  form->Unload();
}

TEST(Form, MovingAControlIntoAFrameReparentsIt) {
  auto form = Form::Load<TestForm>();
  auto& visibleFrame = form->Add<TestFrame>({.name = L"fraShown", .left = 1500, .top = 1500, .width = 3000, .height = 2000});
  auto& hiddenFrame = form->Add<TestFrame>({.name = L"fraHidden", .width = 3000, .height = 2000, .visible = false});
  auto& editor = form->Add<TestButton>({.name = L"txtField", .left = 150, .top = 150, .width = 900, .height = 300,
                                        .container = &hiddenFrame});
  EXPECT_EQ(GetParent(editor.hwnd()), hiddenFrame.hwnd());
  EXPECT_FALSE(IsWindowVisible(editor.hwnd()));
  editor.setContainer(visibleFrame);
  EXPECT_EQ(&editor.container(), static_cast<Container*>(&visibleFrame));
  EXPECT_EQ(GetParent(editor.hwnd()), visibleFrame.hwnd());
  RECT r = ChildRect(editor.hwnd());
  EXPECT_EQ(r.left, 10) << "Left stays relative to the new container";
  EXPECT_DOUBLE_EQ(editor.left(), 150);
  form->Show();
  EXPECT_TRUE(IsWindowVisible(editor.hwnd()));

  // A click in the frame reaches the control's own event.
  int clicks = 0;
  editor.Click.Connect([&] { ++clicks; });
  editor.ClickWithMouse();
  EXPECT_EQ(clicks, 1);

  EXPECT_EQ(ErrorOf([&] { visibleFrame.setContainer(visibleFrame); }), err::InvalidPropertyValue);
  form->Unload();
}

TEST(Form, ControlsWalkInOrderAndByKind) {
  auto form = Form::Load<TestForm>();
  form->Add<TestButton>({.name = L"one"});
  form->Add<TestFrame>({.name = L"frame"});
  form->Add<TestButton>({.name = L"two"});
  std::vector<std::wstring> names;
  for (Control* c : form->Controls()) names.push_back(c->name());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"one", L"frame", L"two"}));
  auto buttons = form->ControlsOf<TestButton>();
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[1]->name(), L"two");
  EXPECT_EQ(form->FindControl(L"FRAME"), form->Controls()[1]) << "names match in any case";
  EXPECT_EQ(form->FindControl(L"none"), nullptr);
  form->Unload();
}

TEST(ControlArrays, LoadClonesElementZeroHidden) {
  auto form = Form::Load<TestForm>();
  auto& first = form->Add<TestButton>({.name = L"cmdPage", .index = 0, .left = 300, .top = 150, .width = 600,
                                       .height = 300, .tag = L"p"});
  ControlArray<TestButton> pages(first);
  std::vector<int> clicked;
  pages.ConnectAll(&TestButton::Click, [&](int index) { clicked.push_back(index); });
  EXPECT_EQ(pages.UBound(), 0);

  TestButton& second = pages.Load(1);
  TestButton& third = pages.Load(2);
  EXPECT_EQ(pages.UBound(), 2);
  EXPECT_EQ(pages.LBound(), 0);
  EXPECT_EQ(&pages[2], &third);
  EXPECT_FALSE(second.visible()) << "a loaded element starts hidden";
  EXPECT_FALSE(IsWindowVisible(second.hwnd()));
  EXPECT_EQ(second.tag(), L"p");
  EXPECT_DOUBLE_EQ(second.left(), 300);
  EXPECT_EQ(ErrorOf([&] { pages.Load(1); }), err::ObjectAlreadyLoaded);
  EXPECT_EQ(ErrorOf([&] { pages[7]; }), err::ControlArrayElementMissing);

  form->Show();
  third.setVisible(true);
  first.ClickWithMouse();
  third.ClickWithMouse();
  EXPECT_EQ(clicked, (std::vector<int>{0, 2})) << "handlers reach loaded elements with their index";

  pages.Unload(2);
  EXPECT_EQ(pages.UBound(), 1);
  EXPECT_EQ(ErrorOf([&] { pages.Unload(0); }), err::CannotUnloadDesignControl);
  form->Unload();
}

TEST(Form, WindowsAreFoundByTheirVkName) {
  auto form = Form::Load<TestForm>(L"FNamed");
  auto& frame = form->Add<TestFrame>({.name = L"fraBox"});
  auto& first = form->Add<TestButton>({.name = L"cmdPage", .index = 0, .container = &frame});
  ControlArray<TestButton> pages(first);
  TestButton& third = pages.Load(3);
  EXPECT_EQ(VkNameOf(form->hwnd()), L"FNamed");
  EXPECT_EQ(FindVkWindow(form->hwnd(), L"cmdpage(3)"), third.hwnd()) << "array elements carry their index";
  EXPECT_EQ(FindVkWindow(form->hwnd(), L"cmdPage(0)"), first.hwnd());
  EXPECT_EQ(FindVkWindow(form->hwnd(), L"cmdPage"), nullptr);

  // The atom goes with the window: once the last window named so is gone, the
  // name is no longer in the global atom table.
  HWND thirdWindow = third.hwnd();
  pages.Unload(3);
  EXPECT_FALSE(IsWindow(thirdWindow));
  EXPECT_EQ(GlobalFindAtomW(L"cmdPage(3)"), 0);
  form->Unload();
  EXPECT_EQ(GlobalFindAtomW(L"fraBox"), 0);
}

TEST(Form, ResizeLaysOutDockedControlsThenRaisesResize) {
  auto form = Form::Load<TestForm>(L"FDock", true);
  auto& bar = form->Add<TestFrame>({.name = L"STBar", .width = 1000, .height = 360});
  auto& strip = form->Add<TestFrame>({.name = L"TBarMain", .width = 1000, .height = 600});
  auto& grid = form->Add<TestFrame>({.name = L"GRDetail", .left = 100, .top = 700, .width = 1000, .height = 900});
  bar.setAlign(Align::Bottom);
  strip.setAlign(Align::Top);
  std::vector<double> barTopsSeen;
  form->Resize.Connect([&] {
    barTopsSeen.push_back(bar.top());
    // The screens' layout code: each failing step is skipped, the others still run.
    RunEachStep({[&] { grid.setWidth(form->scaleWidth() - 200); },
                 [&] { grid.setHeight(form->scaleHeight() - strip.height() - bar.height() - 6000); },
                 [&] { grid.setTop(strip.height() + 100); }});
  });
  form->Move(0, 0, 9000, 6000);
  ASSERT_EQ(barTopsSeen.size(), 1u);
  EXPECT_DOUBLE_EQ(barTopsSeen[0], 6000 - 360) << "docked before the screen's own layout runs";
  EXPECT_DOUBLE_EQ(bar.width(), 9000);
  EXPECT_DOUBLE_EQ(strip.top(), 0);
  EXPECT_DOUBLE_EQ(strip.width(), 9000);
  EXPECT_DOUBLE_EQ(grid.width(), 8800);
  EXPECT_DOUBLE_EQ(grid.height(), 900) << "the negative height was refused";
  EXPECT_DOUBLE_EQ(grid.top(), 700);
  bar.setHeight(450);  // a docked control that changes its own height stays at the edge
  EXPECT_DOUBLE_EQ(bar.top(), 6000 - 450);
  form->Unload();
}

TEST(Form, FirstShowAndStateChangesRaiseResize) {
  auto form = Form::Load<TestForm>(L"FSearch", true);
  std::vector<double> widths;
  form->Resize.Connect([&] { widths.push_back(form->scaleWidth()); });
  form->setWindowState(WindowState::Maximized);
  EXPECT_FALSE(form->visible()) << "a hidden form stays hidden";
  EXPECT_EQ(form->windowState(), WindowState::Maximized);
  EXPECT_TRUE(widths.empty());
  form->setWindowState(WindowState::Normal);
  form->Show();
  ASSERT_EQ(widths.size(), 1u) << "the first show raises Resize";
  EXPECT_DOUBLE_EQ(widths[0], 6000);
  form->Hide();
  form->Show();
  EXPECT_EQ(widths.size(), 1u) << "only the first";

  form->setWindowState(WindowState::Maximized);
  EXPECT_EQ(form->windowState(), WindowState::Maximized);
  ASSERT_GE(widths.size(), 2u);
  EXPECT_DOUBLE_EQ(widths.back(), PixelsToTwips(GetSystemMetrics(SM_CXSCREEN)));
  form->setWindowState(WindowState::Normal);
  EXPECT_EQ(form->windowState(), WindowState::Normal);
  EXPECT_DOUBLE_EQ(widths.back(), 6000) << "restoring gives the design size back";
  form->Unload();
}

TEST(Form, MouseDownInTwipsAndToolTips) {
  auto form = Form::Load<TestForm>(L"FMouse", true);
  std::vector<std::tuple<int, int, double, double>> downs;
  form->MouseDown.Connect([&](int button, int shift, double x, double y) { downs.emplace_back(button, shift, x, y); });
  SendMessageW(form->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  SendMessageW(form->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2));
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0], std::make_tuple(1, 0, 150.0, 300.0));
  EXPECT_EQ(downs[1], std::make_tuple(2, 0, 15.0, 30.0));

  auto& button = form->Add<TestButton>({.name = L"cmd", .width = 900, .height = 300, .toolTipText = L"Guardar"});
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindToolTip, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  button.setToolTipText(L"");
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
  form->Unload();
}

TEST(Form, AHandlerThatFailsEndsAtTheWindowsEdgeAndIsReported) {
  auto form = Form::Load<TestForm>(L"FFails", true);
  int downs = 0;
  form->MouseDown.Connect([&](int, int, double, double) {
    ++downs;
    throw 42;  // not even a std::exception
  });
  {
    DebugOutputRecorder debug;
    SendMessageW(form->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    EXPECT_NE(debug.text().find("form failed: error 51 in : unknown failure"), std::string::npos) << debug.text();
  }
  SendMessageW(form->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  EXPECT_EQ(downs, 2) << "the form goes on";
  form->Unload();
}

TEST(Form, DockedIntoAHostWindow) {
  HWND host = CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 800, 600,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto screen = Form::Load<TestForm>(L"FDocumentosABM", true);
  screen->DockInto(host);
  EXPECT_EQ(GetParent(screen->hwnd()), host);
  EXPECT_TRUE(GetWindowLongW(screen->hwnd(), GWL_STYLE) & WS_CHILD);
  screen->Move(150, 300, 7500, 4500);
  EXPECT_DOUBLE_EQ(screen->left(), 150) << "relative to the host's client area";
  EXPECT_DOUBLE_EQ(screen->top(), 300);
  EXPECT_DOUBLE_EQ(screen->width(), 7500);
  screen->Show();
  EXPECT_TRUE(IsWindowVisible(screen->hwnd()));
  screen->Show(ShowMode::Modal);  // a docked screen is shown modeless: returns at once
  EXPECT_TRUE(IsWindowEnabled(host));
  // The host closing its window takes the screen along: that unloads it, and its
  // unload handlers run; the object stays for the caller that holds it.
  int unloads = 0;
  screen->Unloading.Connect([&](bool& cancel) { ++unloads; cancel = true; });
  DestroyWindow(host);
  EXPECT_EQ(screen->hwnd(), nullptr);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(screen->loaded());
  EXPECT_EQ(FindLoadedForm(L"FDocumentosABM"), nullptr);
  screen->Unload();
  EXPECT_EQ(unloads, 1);
}

TEST(Form, LoadedListAndUnload) {
  auto a = Form::Load<TestForm>(L"FDocumentosView");
  auto b = Form::Load<TestForm>(L"FOther");
  EXPECT_EQ(FindLoadedForm(L"fdocumentosview"), a);
  int unloads = 0;
  a->Unloading.Connect([&](bool&) { ++unloads; });
  HWND window = a->hwnd();
  EXPECT_TRUE(a->Unload());
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(a->loaded());
  EXPECT_EQ(FindLoadedForm(L"FDocumentosView"), nullptr);
  EXPECT_TRUE(a->Unload()) << "a second unload is ignored";
  EXPECT_EQ(unloads, 1);
  a->Show();  // ignored
  EXPECT_EQ(a->hwnd(), nullptr);

  bool keep = true;
  b->Unloading.Connect([&](bool& cancel) { cancel = keep; });
  EXPECT_FALSE(b->Unload());
  EXPECT_TRUE(b->loaded());
  keep = false;
  EXPECT_TRUE(b->Unload());
}

}  // namespace
}  // namespace vk::test
