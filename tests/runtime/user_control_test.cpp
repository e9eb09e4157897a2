// User controls, the thread's mouse pointer and pop-up menus, on real windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/form.h"
#include "runtime/mouse_pointer.h"
#include "runtime/popup_menu.h"
#include "runtime/test_controls.h"
#include "runtime/timer.h"
#include "runtime/user_control.h"

namespace vk::test {
namespace {

// A user control that fills itself with one colour and records what it hears.
class Swatch : public UserControl {
 public:
  Swatch(Form& form, ControlArgs args) : UserControl(form, std::move(args)) {}
  std::vector<std::string> heard;
  COLORREF colour = RGB(0, 128, 255);
  std::wstring caption;
  long theme = 0;
  int paints = 0;

 protected:
  void Paint(HDC dc, const RECT& client) override {
    ++paints;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  void OnResize() override { heard.push_back("resize"); }
  void OnMouseDown(int button, int, int x, int y) override {
    heard.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseUp(int button, int, int, int) override { heard.push_back("up " + std::to_string(button)); }
  void OnClick() override { heard.push_back("click"); }
  void OnDblClick() override { heard.push_back("dblclick"); }
  void OnKeyDown(int key, int) override { heard.push_back("key " + std::to_string(key)); }
  void OnKeyPress(int ch) override { heard.push_back("char " + std::to_string(ch)); }
  void OnInitProperties() override { caption = name(); theme = 0; }
  void OnReadProperties(const PropertyBag& bag) override {
    caption = bag.Read(L"Caption", Variant(name())).toText();
    theme = bag.Read(L"Theme", Variant(0)).toLong();
  }
  void OnWriteProperties(PropertyBag& bag) const override {
    bag.Write(L"Caption", Variant(caption), Variant(name()));
    bag.Write(L"Theme", Variant(theme), Variant(0));
  }
};

COLORREF PixelAfterPrint(HWND hwnd, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  COLORREF pixel = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST(UserControl, PaintServesPrintClientAndPaint) {
  auto form = Form::Load<TestForm>();
  auto& swatch = form->Add<Swatch>({.name = L"swatch", .width = 450, .height = 300});
  EXPECT_EQ(swatch.clientWidth(), 30);
  EXPECT_EQ(PixelAfterPrint(swatch.hwnd(), 5, 5), RGB(0, 128, 255));
  swatch.colour = RGB(200, 10, 10);
  EXPECT_EQ(PixelAfterPrint(swatch.hwnd(), 5, 5), RGB(200, 10, 10));
  form->Show();
  const int before = swatch.paints;
  swatch.Refresh();
  EXPECT_GT(swatch.paints, before) << "Refresh paints now";
  EXPECT_NE(swatch.dc(), nullptr);
  EXPECT_EQ(swatch.dc(), GetDC(swatch.hwnd())) << "the control keeps one device context";
  form->Unload();
}

TEST(UserControl, RetainedSurfaceIsShownWithoutPaint) {
  auto form = Form::Load<TestForm>();
  auto& swatch = form->Add<Swatch>({.name = L"swatch", .width = 450, .height = 300});
  swatch.setRetained(true);
  RECT all{0, 0, swatch.clientWidth(), swatch.clientHeight()};
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  FillRect(swatch.surface(), &all, green);
  DeleteObject(green);
  const int before = swatch.paints;
  EXPECT_EQ(PixelAfterPrint(swatch.hwnd(), 3, 3), RGB(0, 160, 0));
  EXPECT_EQ(swatch.paints, before) << "the retained copy is shown, Paint is not called";
  swatch.setRetained(false);
  EXPECT_EQ(PixelAfterPrint(swatch.hwnd(), 3, 3), RGB(0, 128, 255));
  form->Unload();
}

TEST(UserControl, MouseAndKeyboardReachTheHandlers) {
  auto form = Form::Load<TestForm>();
  auto& swatch = form->Add<Swatch>({.name = L"swatch", .width = 1500, .height = 600});
  form->Show();
  swatch.heard.clear();
  HWND w = swatch.hwnd();
  struct Input { UINT message; WPARAM wParam; LPARAM lParam; };
  const Input inputs[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12)},
      {WM_LBUTTONUP, 0, MAKELPARAM(10, 12)},
      {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4)},
      {WM_RBUTTONUP, 0, MAKELPARAM(3, 4)},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)},
      {WM_LBUTTONUP, 0, MAKELPARAM(500, 5)},  // released outside: no click
      {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5)},
      {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},  // ends the double click: no click of its own
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6)},
      {WM_LBUTTONUP, 0, MAKELPARAM(6, 6)},
      {WM_KEYDOWN, VK_RIGHT, 0},
      {WM_CHAR, L'a', 0},
  };
  for (const auto& in : inputs) SendMessageW(w, in.message, in.wParam, in.lParam);
  const std::vector<std::string> expected = {
      "down 1 10,12", "up 1", "click", "down 2 3,4", "up 2", "down 1 5,5", "up 1",
      "dblclick", "up 1", "down 1 6,6", "up 1", "click", "key 39", "char 97"};
  EXPECT_EQ(swatch.heard, expected);
  swatch.heard.clear();
  swatch.setWidth(3000);
  EXPECT_EQ(swatch.heard, (std::vector<std::string>{"resize"}));
  form->Unload();
}

// A user control that holds the focus and the mouse capture when it is freed: the
// focus and capture messages of its window's end must not reach a half-gone object.
class Grabber : public UserControl {
 public:
  Grabber(Form& form, ControlArgs args, std::vector<std::string>* log)
      : UserControl(form, std::move(args)), log_(log) {}
  ~Grabber() override { log_->push_back("freed"); }

 protected:
  void OnLostFocus() override { log_->push_back("lost focus"); }
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override {
    return std::make_unique<Grabber>(form, args, log_);
  }

 private:
  std::vector<std::string>* log_;
};

TEST(UserControl, FreedWhileFocusedAndCapturing) {
  auto form = Form::Load<TestForm>();
  form->Show();
  std::vector<std::string> log;
  auto& first = form->Add<Grabber>({.name = L"grab", .index = 0, .width = 900, .height = 300}, &log);
  ControlArray<Grabber> grabbers(first);
  Grabber& second = grabbers.Load(1);
  second.setVisible(true);
  second.SetFocus();
  SendMessageW(second.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));  // takes the capture
  grabbers.Unload(1);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "freed") << "nothing of the control ran after it began to go";
  EXPECT_EQ(std::count(log.begin(), log.end(), "freed"), 1);
  form->Unload();
}

TEST(UserControl, PropertiesPersistThroughABag) {
  auto form = Form::Load<TestForm>();
  auto& fresh = form->Add<Swatch>({.name = L"STBar"});
  fresh.InitProperties();
  EXPECT_EQ(fresh.caption, L"STBar");
  PropertyBag bag;
  fresh.WriteProperties(bag);
  EXPECT_EQ(bag.size(), 0u) << "defaults are not stored";
  fresh.theme = 4;
  fresh.WriteProperties(bag);
  auto& restored = form->Add<Swatch>({.name = L"STBar2"});
  restored.ReadProperties(bag);
  EXPECT_EQ(restored.theme, 4);
  EXPECT_EQ(restored.caption, L"STBar2") << "an absent key reads as its default";
  form->Unload();
}

// A user control that holds a button of its own and a caption from its bag.
class Holder : public UserControl {
 public:
  Holder(Form& form, ControlArgs args) : UserControl(form, std::move(args)) {
    button = &AddConstituent<TestButton>({.name = L"cmdInner", .left = 150, .top = 150, .width = 600, .height = 300});
    button->Click.Connect([this] { ++clicks; });
  }
  TestButton* button;
  int clicks = 0;
  std::wstring caption;

 protected:
  void OnReadProperties(const PropertyBag& bag) override { caption = bag.Read(L"Caption", Variant(L"")).toText(); }
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override {
    return CloneFromDesign<Holder>(form, args);
  }
};

TEST(UserControl, ConstituentsAreItsOwnAndEachCloneGetsItsOwn) {
  auto form = Form::Load<TestForm>();
  form->Show();
  auto& first = form->Add<Holder>({.name = L"holder", .index = 0, .width = 1500, .height = 900});
  first.ReadProperties(PropertyBag{{L"Caption", Variant(L"design")}});
  first.caption = L"changed at run time";
  EXPECT_EQ(form->Controls().size(), 1u) << "constituents are not the form's controls";
  ControlArray<Holder> holders(first);
  Holder& second = holders.Load(1);
  EXPECT_EQ(second.caption, L"design") << "a clone reads the bag element 0 was read from";
  for (Holder* holder : {&first, &second}) {
    EXPECT_EQ(GetParent(holder->button->hwnd()), holder->hwnd());
    holder->button->ClickWithMouse();  // its notification comes through the user control
  }
  EXPECT_EQ(first.clicks + 10 * second.clicks, 11);
  HWND secondButton = second.button->hwnd();
  holders.Unload(1);
  PumpPending();
  EXPECT_FALSE(IsWindow(secondButton)) << "constituents go with their control";
  form->Unload();
}

TEST(MousePointer, EveryWindowOfTheComponentShowsIt) {
  auto form = Form::Load<TestForm>();
  auto& button = form->Add<TestButton>({.name = L"cmd", .width = 900, .height = 300});
  auto& swatch = form->Add<Swatch>({.name = L"swatch", .top = 600, .width = 900, .height = 300});
  form->Show();
  struct Case { int pointer; const wchar_t* cursor; };
  const Case cases[] = {{pointer::Hourglass, IDC_WAIT}, {pointer::ArrowHourglass, IDC_APPSTARTING},
                        {pointer::Default, IDC_ARROW}};
  for (const auto& c : cases) {
    SetMousePointer(c.pointer);
    EXPECT_EQ(MousePointer(), c.pointer);
    for (HWND w : {form->hwnd(), button.hwnd(), swatch.hwnd()}) {
      SetCursor(nullptr);
      SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << "pointer " << c.pointer;
    }
  }
  {
    MousePointerScope busy(pointer::Hourglass);
    EXPECT_EQ(MousePointer(), pointer::Hourglass);
  }
  EXPECT_EQ(MousePointer(), pointer::Default);
  form->Unload();
}

// Answers the open pop-up menu with keys once it is showing.
UINT ChooseWithKeys(HWND owner, std::vector<UINT> keys, const std::vector<MenuItem>& items) {
  Timer driver(20);
  driver.Tick.Connect([&] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    driver.setEnabled(false);
    for (UINT key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  return PopupMenu(owner, items, 300, 300);
}

TEST(PopupMenu, ReturnsTheChosenCommandOrZero) {
  auto form = Form::Load<TestForm>();
  form->Show();
  const std::vector<MenuItem> items = {
      {.id = 11, .caption = L"Reporte"},
      {},  // separator
      {.id = 12, .caption = L"Apagado", .enabled = false},
      {.id = 13, .caption = L"Correo"},
  };
  struct Case { std::vector<UINT> keys; UINT expected; };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, 11},
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 13},  // past the separator and the disabled item
      {{VK_ESCAPE}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseWithKeys(form->hwnd(), c.keys, items), c.expected);
  form->Unload();
}

}  // namespace
}  // namespace vk::test
