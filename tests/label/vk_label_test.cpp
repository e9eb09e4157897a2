// The caption label on a real form: pointer moves, presses and the leave poll change
// the caption's colour; the help icon opens the balloon; properties survive the bag.
#include "controls/label/vk_label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/form.h"
#include "runtime/property_bag.h"
#include "runtime/window_picture.h"
#include "support/com_test.h"

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

TEST_F(LabelTest, PictureForReview) {
  label->put_Caption(L"Número de legajo");
  label->put_BallonToolTipText(L"Ayuda");
  MoveOnto(own());  // hovered: the caption in its hover colour
  UpdateWindow(form->hwnd());
  RedrawWindow(form->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(SaveWindowPicture(form->hwnd(), vk::test::BinFolder() + L"\\vk_label_review.bmp"));
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
  // Auto-sized to the text: wider for a longer caption.
  const double shortWidth = label->width();
  label->put_Caption(L"Número de legajo del empleado");
  EXPECT_GT(label->width(), shortWidth);
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
  const std::vector<Case> cases = {
      {"CaptionEqualToName", [](VkLabel&) {},
       [](VkLabel& l) {
         EXPECT_EQ(L"lblHelp", l.Caption());
         EXPECT_EQ(0x8000u, l.ForeColorDown());
         EXPECT_EQ(0x96E7u, l.ForeColorOver());
       },
       {L"ForeColorDown", L"ForeColorOver", L"Enabled"}, {L"Caption", L"ForeColor", L"AutoSize"}},
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
  }
}

}  // namespace
}  // namespace vk::controls
