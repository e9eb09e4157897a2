// The caption label on a real form: pointer moves, presses and the leave poll change
// the caption's colour; the help icon opens the balloon; properties survive the bag.
#include "controls/label/vk_label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/do_events.h"
#include "runtime/font.h"
#include "runtime/form.h"
#include "runtime/property_bag.h"
#include "runtime/twips.h"
#include "runtime/window_picture.h"
#include "support/com_test.h"
#include "support/debug_output.h"
#include "support/memory_dc.h"
#include "support/painted_picture.h"

namespace vk::controls {
namespace {

class LabelForm : public Form {
 public:
  LabelForm()
      : Form({.name = L"FLabelTest", .caption = L"VkLabel", .scaleWidth = 6000, .scaleHeight = 3000}) {}
};

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Form::Load<LabelForm>();
    label = &form->Add<VkLabel>({.name = L"lblHelp", .left = 300, .top = 300, .width = 1500, .height = 300});
    label->InitProperties();
    form->Show(ShowMode::Modeless);
    SetWindowPos(form->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    label->PropertyChanged.Connect([this](const std::wstring& p) { notices.push_back(p); });
  }
  void TearDown() override { form->Unload(); }

  HWND own() const { return label->hwnd(); }
  static POINT Centre(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Puts the cursor on a window and tells the window, as the system would.
  static void MoveOnto(HWND hwnd) {
    POINT p = Centre(hwnd);
    SetCursorPos(p.x, p.y);
    ScreenToClient(hwnd, &p);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  }

  static RECT ClientOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
  }
  // What a text measures, in twips, in the control's own (the container's) font.
  SIZE TextTwips(const std::wstring& text) const {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateGdiFont(AmbientFont(form->ambient()));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return SIZE{static_cast<LONG>(PixelsToTwips(size.cx)), static_cast<LONG>(PixelsToTwips(size.cy))};
  }
  // Pixels a window shows in columns [left, right) that are (or, with equal false, are
  // not) of a colour.
  static int CountShown(HWND hwnd, int left, int right, long colour, bool equal = true) {
    const RECT client = ClientOf(hwnd);
    test::MemoryDc shown(client.right, client.bottom);
    HDC dc = GetDC(hwnd);
    BitBlt(shown.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    int n = 0;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = std::max(0, left); x < std::min<int>(right, client.right); ++x)
        n += (shown.Pixel(x, y) == colour) == equal ? 1 : 0;
    return n;
  }

  std::shared_ptr<LabelForm> form;
  VkLabel* label = nullptr;
  std::vector<std::wstring> notices;
};

TEST_F(LabelTest, CaptionColourFollowsHoverPressAndLeave) {
  label->put_ForeColor(0x112233);
  label->put_ForeColorOver(0x00AA00);
  label->put_ForeColorDown(0x0000AA);
  struct Step {
    const char* what;
    std::function<void()> act;
    OleColor colour;
    bool hovering;
  };
  const std::vector<Step> steps = {
      {"hover", [&] { MoveOnto(own()); }, 0x00AA00, true},
      {"press", [&] { SendMessageW(own(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, 0x0000AA, true},
      {"release over", [&] { SendMessageW(own(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, 0x00AA00, true},
      {"poll while over", [&] { label->OnTimer1Tick(); }, 0x00AA00, true},
      {"poll after leaving", [&] { SetCursorPos(1, 1); label->OnTimer1Tick(); }, 0x112233, false},
      {"hover again", [&] { MoveOnto(own()); }, 0x00AA00, true},
      {"real leave: the running timer notices it",
       [&] {
         SetCursorPos(1, 1);
         for (int i = 0; i < 100 && label->hovering(); ++i) {
           Sleep(10);
           DoEvents();
         }
       },
       0x112233, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(s.colour, label->captionColor());
    EXPECT_EQ(s.hovering, label->hovering());
    EXPECT_EQ(s.hovering, label->timerRunning());
  }
}

TEST_F(LabelTest, HelpIconOpensTheBalloonAndLeavingItHidesIt) {
  const double narrow = label->width();
  label->put_BallonToolTipText(L"Escriba el número de legajo.");
  EXPECT_TRUE(label->iconVisible());
  EXPECT_GT(label->width(), narrow);
  // The label's hwnd is its help icon: a 16 x 16 child of the caption's window.
  HWND icon = label->helpIconHwnd();
  ASSERT_TRUE(icon);
  EXPECT_NE(own(), icon);
  EXPECT_EQ(own(), GetParent(icon));
  RECT place{};
  GetWindowRect(icon, &place);
  EXPECT_EQ(16, place.right - place.left);
  EXPECT_EQ(16, place.bottom - place.top);
  EXPECT_EQ(nullptr, label->balloon().target()) << "armed before the pointer reached the icon";

  MoveOnto(own());
  ASSERT_TRUE(label->hovering());
  MoveOnto(label->helpIconHwnd());
  label->OnTimer1Tick();
  EXPECT_FALSE(label->hovering()) << "the icon is outside the caption";
  EXPECT_EQ(label->helpIconHwnd(), label->balloon().target());
  EXPECT_TRUE(label->balloon().alive);
  MoveOnto(label->helpIconHwnd());  // the pointer goes on moving over the icon
  EXPECT_TRUE(label->balloon().hovering());

  // The balloon's own ticks on the icon: it appears after the label's short delay.
  for (int i = 0; i < 1 + 25 + 1; ++i) SendMessageW(label->helpIconHwnd(), WM_TIMER, kBalloonTimerId, 0);
  HWND balloon = label->balloon().balloonWindow();
  ASSERT_TRUE(balloon);
  EXPECT_TRUE(IsWindowVisible(balloon));
  SetCursorPos(1, 1);
  SendMessageW(label->helpIconHwnd(), WM_TIMER, kBalloonTimerId, 0);
  EXPECT_FALSE(IsWindow(balloon));
}

// A host's font object that fails the way no COM caller expects: with a C++ exception.
class ThrowingFont : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID, void**) override { throw std::runtime_error("font object gone"); }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

TEST_F(LabelTest, ABalloonThatFailsToArmAtTheHelpIconIsReportedAndTheIconGoesOn) {
  label->put_BallonToolTipText(L"Ayuda");
  ThrowingFont font;
  label->balloon().look.font = com::ComPtr<IDispatch>(&font);
  {
    test::DebugOutputRecorder debug;
    MoveOnto(label->helpIconHwnd());
    EXPECT_NE(debug.text().find("label's help icon failed: error 51 in : font object gone"), std::string::npos)
        << debug.text();
  }
  EXPECT_FALSE(label->balloon().alive);
  label->balloon().look.font = {};
  MoveOnto(label->helpIconHwnd());
  EXPECT_EQ(label->helpIconHwnd(), label->balloon().target());
  EXPECT_TRUE(label->balloon().alive);
}

TEST_F(LabelTest, PictureForReviewShowsTheHoveredCaptionInItsColourAndTheIcon) {
  label->put_Caption(L"Número de legajo");
  label->put_BallonToolTipText(L"Ayuda");
  MoveOnto(own());  // hovered: the caption in its hover colour (orange)
  UpdateWindow(form->hwnd());
  RedrawWindow(form->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_GT(CountShown(own(), 0, TwipsToPixels(label->labelWidth()), 0x0096E7), 20) << "no orange caption";
  EXPECT_GT(CountShown(label->helpIconHwnd(), 0, 16, long(GetSysColor(COLOR_BTNFACE)), false), 20)
      << "no help icon";
  EXPECT_TRUE(SaveWindowPicture(form->hwnd(), vk::test::BinFolder() + L"\\vk_label_review.bmp"));
}

TEST_F(LabelTest, LayoutFollowsTheCaptionAndTheHelpIcon) {
  // A new label shows its name, laid out for it, and has no plain tooltip.
  EXPECT_EQ(L"lblHelp", label->Caption());
  EXPECT_EQ(L"", label->toolTipText());
  EXPECT_DOUBLE_EQ(TextTwips(L"lblHelp").cx + 300 + 20, label->width());
  label->put_Caption(L"Legajo");
  const SIZE text = TextTwips(L"Legajo"), first = TextTwips(L"L");
  EXPECT_DOUBLE_EQ(text.cx + 300, label->labelWidth());
  EXPECT_DOUBLE_EQ(first.cy, label->labelHeight());
  EXPECT_DOUBLE_EQ(text.cx + 300 + 20, label->width());
  EXPECT_DOUBLE_EQ(first.cy, label->height());
  label->put_BallonToolTipText(L"Ayuda");
  const double labelWidth = 240 + text.cx + 20;
  EXPECT_DOUBLE_EQ(labelWidth, label->labelWidth());
  EXPECT_DOUBLE_EQ(labelWidth + 50, label->iconLeft()) << "placed again by the pass its own resize starts";
  EXPECT_DOUBLE_EQ(240 + labelWidth + 50, label->width());
  EXPECT_DOUBLE_EQ(240, label->height());
  label->put_AutoSize(false);
  label->Move(label->left(), label->top(), 2000, 400);
  EXPECT_DOUBLE_EQ(240 + 2000 + 100, label->labelWidth());
  EXPECT_DOUBLE_EQ(400 + 50, label->labelHeight());
  EXPECT_DOUBLE_EQ(2000, label->width()) << "a fixed size stays";
}

TEST_F(LabelTest, CaptionIsPaintedAlignedAndOnItsBackStyle) {
  label->put_Caption(L"Legajo");
  label->put_BackColor(0x00FFFF);  // yellow
  struct Case { long alignment, backStyle; };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{2, 0}}) {
    label->put_Alignment(c.alignment);
    label->put_BackStyle(c.backStyle);
    const RECT client = ClientOf(own());
    test::MemoryDc painted(client.right, client.bottom);
    SendMessageW(own(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.dc()), PRF_CLIENT);
    const int labelRight = TwipsToPixels(label->labelWidth());
    const long ink = 0xC65D21;  // the label's fore colour, as OLE colours store it
    int leftmost = labelRight, rightmost = -1;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < labelRight; ++x)
        if (painted.Pixel(x, y) == ink) leftmost = std::min(leftmost, x), rightmost = std::max(rightmost, x);
    SCOPED_TRACE(c.alignment);
    ASSERT_GE(rightmost, 0) << "no caption in its fore colour";
    if (c.alignment == 0) {
      EXPECT_LE(leftmost, 2);
    } else if (c.alignment == 1) {
      EXPECT_GE(rightmost, labelRight - 3);
    } else {
      EXPECT_NEAR((leftmost + rightmost) / 2, labelRight / 2, 3);
    }
    const long corner = painted.Pixel(labelRight - 1, client.bottom - 1);
    EXPECT_EQ(c.backStyle == 1 ? 0x00FFFF : long(GetSysColor(COLOR_BTNFACE)), corner);
  }
}

TEST_F(LabelTest, MousePointerShowsOverTheCaptionOnly) {
  auto setCursor = [](HWND window, HWND under) {
    SetCursor(nullptr);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  label->put_BallonToolTipText(L"Ayuda");
  label->put_MousePointer(2);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_CROSS), setCursor(own(), own()));
  EXPECT_NE(LoadCursorW(nullptr, IDC_CROSS), setCursor(label->helpIconHwnd(), label->helpIconHwnd()));
  HICON icon = LoadIconW(nullptr, IDI_WARNING);
  label->put_MouseIcon(test::PictureOf(PICTYPE_ICON, icon, false).get());
  label->put_MousePointer(99);
  EXPECT_EQ(icon, setCursor(own(), own()));
  label->put_MousePointer(0);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), setCursor(own(), own())) << "the class's own arrow";
}

TEST_F(LabelTest, EmptyHelpTextKeepsTheIcon) {
  label->put_BallonToolTipText(L"Ayuda");
  label->put_BallonToolTipText(L"");
  EXPECT_TRUE(label->iconVisible());
  EXPECT_EQ(L"", label->BallonToolTipText());
  EXPECT_EQ((std::vector<std::wstring>{L"ToolTipText", L"ToolTipText"}), notices);
}

TEST_F(LabelTest, CaptionIsAlsoThePlainTooltip) {
  label->put_Caption(L"Legajo");
  EXPECT_EQ(L"Legajo", label->toolTipText());
  EXPECT_EQ((std::vector<std::wstring>{L"Caption", L"ToolTipText"}), notices);
}

TEST_F(LabelTest, AnEmptyBagGivesTheDefaults) {
  auto& loaded = form->Add<VkLabel>({.name = L"lblOther", .width = 1500, .height = 300});
  loaded.ReadProperties(PropertyBag{});
  EXPECT_EQ(L"lblOther", loaded.Caption());
  EXPECT_EQ(0u, loaded.ForeColorDown()) << "absent colours read as black";
  EXPECT_EQ(0u, loaded.ForeColorOver());
  EXPECT_EQ(0xC65D21u, loaded.ForeColor());
  EXPECT_EQ(0xFFFFFFu, loaded.BackColor());
  EXPECT_TRUE(loaded.AutoSize());
  EXPECT_FALSE(loaded.Enabled());
}

TEST_F(LabelTest, PropertiesSurviveTheBag) {
  struct Case {
    const char* name;
    std::function<void(VkLabel&)> set;
    std::function<void(VkLabel&)> check;
    std::vector<std::wstring> stored, notStored;
  };
  FontDescription courier;
  courier.name = L"Courier New";
  courier.size = 12;
  courier.italic = true;
  const com::ComPtr<IFont> font = CreateOleFont(courier);
  const FontDescription given = FontDescriptionOf(font.get());  // the face the system gave it
  const com::ComPtr<IPicture> icon = test::PictureOf(PICTYPE_ICON, LoadIconW(nullptr, IDI_WARNING), false);
  const std::vector<Case> cases = {
      {"CaptionEqualToName", [](VkLabel&) {},
       [](VkLabel& l) {
         EXPECT_EQ(L"lblHelp", l.Caption());
         EXPECT_EQ(0x8000u, l.ForeColorDown());
         EXPECT_EQ(0x96E7u, l.ForeColorOver());
       },
       {L"ForeColorDown", L"ForeColorOver", L"Enabled"},
       {L"Caption", L"ForeColor", L"AutoSize", L"Font", L"MouseIcon", L"ToolTipText"}},
      {"OwnCaptionAndLook",
       [](VkLabel& l) {
         l.put_Caption(L"Legajo");
         l.put_ForeColor(0x123456);
         l.put_FontBold(true);
         l.put_Alignment(2);
       },
       [](VkLabel& l) {
         EXPECT_EQ(L"Legajo", l.Caption());
         EXPECT_EQ(0x123456u, l.ForeColor());
         EXPECT_TRUE(l.FontBold());
         EXPECT_EQ(2, l.Alignment());
         EXPECT_EQ(L"Legajo", l.toolTipText());
       },
       {L"Caption", L"ForeColor", L"FontBold", L"ToolTipText", L"Alignment"}, {}},
      {"HelpTextGoesToTheIconOnly", [](VkLabel& l) { l.put_BallonToolTipText(L"Ayuda"); },
       [](VkLabel& l) {
         EXPECT_EQ(L"Ayuda", l.iconTag());
         EXPECT_EQ(L"", l.BallonToolTipText());
         EXPECT_FALSE(l.iconVisible());
       },
       {L"BaloonToolTipText"}, {}},
      {"FontObjectAndMouseIcon",
       [&](VkLabel& l) {
         l.put_Font(font.get());
         l.put_MouseIcon(icon.get());
         l.put_MousePointer(99);
       },
       [&](VkLabel& l) {
         EXPECT_EQ(given.name, l.FontName());
         EXPECT_EQ(12.0, l.FontSize());
         EXPECT_TRUE(l.FontItalic());
         EXPECT_EQ(icon.get(), l.MouseIcon().get());
         EXPECT_EQ(99, l.MousePointer());
       },
       {L"Font", L"FontName", L"FontSize", L"FontItalic", L"MouseIcon", L"MousePointer"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& saved = form->Add<VkLabel>({.name = L"lblHelp", .width = 1500, .height = 300});
    saved.InitProperties();
    c.set(saved);
    PropertyBag bag;
    saved.WriteProperties(bag);
    for (const auto& key : c.stored) EXPECT_TRUE(bag.Contains(key)) << "missing " << std::string(key.begin(), key.end());
    for (const auto& key : c.notStored) EXPECT_FALSE(bag.Contains(key)) << "stored " << std::string(key.begin(), key.end());
    auto& loaded = form->Add<VkLabel>({.name = L"lblHelp", .width = 1500, .height = 300});
    loaded.ReadProperties(bag);
    c.check(loaded);
    EXPECT_DOUBLE_EQ(saved.width(), loaded.width()) << "not laid out for the restored caption";
    EXPECT_DOUBLE_EQ(saved.labelWidth(), loaded.labelWidth());
  }
}

}  // namespace
}  // namespace vk::controls
