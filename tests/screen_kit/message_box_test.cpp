// The message box answered through real button clicks while it runs modally: the
// buttons each style shows, where, and what each click returns.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "hosted/simple_controls.h"
#include "runtime/form.h"
#include "runtime/timer.h"
#include "runtime/window_picture.h"
#include "screen_kit/fvk_msg_box.h"
#include "screen_kit/message_box.h"
#include "support/com_test.h"

namespace {

using namespace vk;

struct ShownButton {
  std::wstring name;
  double left;
  bool operator==(const ShownButton&) const = default;
};

// While the box is up, `act` runs once from a timer tick with the box's form.
long ShowAndAct(long style, const std::function<void(Form&)>& act, const std::wstring& title = L"Ostrela") {
  Timer poke(10);  // short: the fade timer keeps the queue busy and longer ticks wait for it
  poke.Tick.Connect([&] {
    auto box = FindLoadedForm(L"FVkMsgBox");
    if (!box) return;
    poke.setEnabled(false);
    act(*box);
  });
  return ShowVkMsgBox(L"¿Desea continuar?", style, title);
}

std::vector<ShownButton> VisibleButtons(Form& box) {
  std::vector<ShownButton> shown;
  for (auto* button : box.ControlsOf<hosted::CommandButton>())
    if (button->visible() && button->name() != L"cmdQuit") shown.push_back({button->name(), button->left()});
  return shown;
}

void Click(Form& box, const wchar_t* name) {
  auto* button = dynamic_cast<hosted::CommandButton*>(box.FindControl(name));
  ASSERT_NE(button, nullptr) << name;
  SendMessageW(button->inner(), BM_CLICK, 0, 0);
}

TEST(MessageBoxTest, EachStyleShowsItsButtonsAndEachClickItsCode) {
  struct Case {
    long style;
    std::vector<ShownButton> buttons;
    const wchar_t* click;
    long result;
  };
  const std::vector<Case> cases = {
      {36, {{L"cmdNo", 6615}, {L"cmdYes", 5670}}, L"cmdYes", msg::Yes},
      {36, {{L"cmdNo", 6615}, {L"cmdYes", 5670}}, L"cmdNo", msg::No},
      {36, {{L"cmdNo", 6615}, {L"cmdYes", 5670}}, L"cmdQuit", msg::Quit},
      {64, {{L"cmdOK", 6615}}, L"cmdOK", msg::OK},
      {0, {{L"cmdOK", 6615}}, L"cmdOK", msg::OK},
      {7, {{L"cmdOK", 6615}}, L"cmdOK", msg::OK},
      {1, {{L"cmdCancel", 6615}, {L"cmdOK", 5670}}, L"cmdCancel", msg::Cancel},
      {2, {{L"cmdAbort", 4725}, {L"cmdIgnore", 6615}, {L"cmdRetry", 5670}}, L"cmdAbort", msg::Abort},
      {2, {{L"cmdAbort", 4725}, {L"cmdIgnore", 6615}, {L"cmdRetry", 5670}}, L"cmdIgnore", msg::Ignore},
      {3, {{L"cmdCancel", 6615}, {L"cmdNo", 5670}, {L"cmdYes", 4725}}, L"cmdCancel", msg::Cancel},
      {5, {{L"cmdCancel", 6615}, {L"cmdRetry", 5670}}, L"cmdRetry", msg::Retry},
      {6, {{L"cmdNo", 6615}, {L"cmdPrint", 5670}, {L"cmdYes", 4725}}, L"cmdPrint", msg::Print},
  };
  for (const Case& c : cases) {
    std::vector<ShownButton> shown;
    const long result = ShowAndAct(c.style, [&](Form& box) {
      shown = VisibleButtons(box);
      std::sort(shown.begin(), shown.end(), [](auto& a, auto& b) { return a.name < b.name; });
      Click(box, c.click);
    });
    EXPECT_EQ(shown, c.buttons) << "style " << c.style;
    EXPECT_EQ(result, c.result) << "style " << c.style << " " << c.click;
    EXPECT_EQ(FindLoadedForm(L"FVkMsgBox"), nullptr) << "the box is unloaded";
  }
}

// The keyboard alone, one key a tick to the focused button through the box's own
// loop: Tab walks the buttons left to right and on to the close box, Enter presses
// the focused one (the first at the start), Esc the Cancel button or the close box.
TEST(MessageBoxTest, KeysWalkAndPressTheButtons) {
  constexpr WPARAM kShiftTab = VK_TAB | 0x100;
  struct Case {
    long style;
    std::vector<WPARAM> keys;
    long result;
  };
  const Case cases[] = {
      {64, {VK_RETURN}, msg::OK},
      {36, {VK_RETURN}, msg::Yes},
      {36, {VK_TAB, VK_RETURN}, msg::No},
      {36, {VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, msg::Yes},
      {36, {VK_TAB, kShiftTab, VK_RETURN}, msg::Yes},
      {36, {VK_ESCAPE}, msg::Quit},
      {2, {VK_TAB, VK_RETURN}, msg::Retry},
      {6, {kShiftTab, kShiftTab, kShiftTab, VK_RETURN}, msg::Print},
      {3, {VK_TAB, VK_ESCAPE}, msg::Cancel},
  };
  for (const Case& c : cases) {
    size_t next = 0;
    Timer typist(10);
    typist.Tick.Connect([&] {
      if (!FindLoadedForm(L"FVkMsgBox") || next == c.keys.size()) return;
      const WPARAM key = c.keys[next++];
      BYTE state[256] = {};
      GetKeyboardState(state);
      state[VK_SHIFT] = key == kShiftTab ? 0x80 : 0;
      SetKeyboardState(state);
      PostMessageW(GetFocus(), WM_KEYDOWN, key & 0xFF, 1);
    });
    EXPECT_EQ(ShowVkMsgBox(L"¿Desea continuar?", c.style, L"Ostrela"), c.result)
        << "style " << c.style << ", key " << c.keys.size();
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
  }
}

TEST(MessageBoxTest, ShowsTheCallersTitleAndTextAndClosingGivesZero) {
  std::wstring title, text;
  const long result = ShowAndAct(
      64,
      [&](Form& box) {
        auto& msgBox = static_cast<FVkMsgBox&>(box);
        title = msgBox.VkContainer().Caption();
        text = msgBox.LMessage().Caption();
        // The box's controls are in its font, Verdana.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(msgBox.LMessage().inner(), WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_STREQ(font.lfFaceName, L"Verdana");
        EXPECT_TRUE(GetWindowLongW(box.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
        PostMessageW(box.hwnd(), WM_CLOSE, 0, 0);
      },
      L"");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(title, L"");
  EXPECT_EQ(text, L"¿Desea continuar?");
}

TEST(MessageBoxTest, ModalOverTheThreadsOtherWindows) {
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
  bool hostDisabled = false;
  ShowAndAct(64, [&](Form& box) {
    hostDisabled = !IsWindowEnabled(host);
    Click(box, L"cmdOK");
  });
  EXPECT_TRUE(hostDisabled);
  EXPECT_TRUE(IsWindowEnabled(host));
  DestroyWindow(host);
}

TEST(MessageBoxTest, FadesInFromTwentyInStepsOfTenToOpaque) {
  // Sampled far more often than the fade steps: every level the box goes through.
  std::vector<int> levels;
  int opaqueSamples = 0;
  Timer watch(5);
  watch.Tick.Connect([&] {
    auto box = FindLoadedForm(L"FVkMsgBox");
    if (!box) return;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(box->hwnd(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
        (levels.empty() || levels.back() != alpha))
      levels.push_back(alpha);
    if (static_cast<FVkMsgBox&>(*box).opacity() >= 255 && ++opaqueSamples > 3) {
      watch.setEnabled(false);
      EXPECT_TRUE(SaveWindowPicture(box->hwnd(), test::BinFolder() + L"\\message_box.bmp"));
      Click(*box, L"cmdOK");
    }
  });
  EXPECT_EQ(ShowVkMsgBox(L"x", 64, L"Ostrela"), msg::OK);
  ASSERT_GE(levels.size(), 2u);
  EXPECT_EQ(levels.front(), 20) << "the first step";
  EXPECT_EQ(levels.back(), 255);
  for (size_t i = 1; i + 1 < levels.size(); ++i) {
    // A step may go unseen on a busy machine, but every level is 20 plus tens.
    EXPECT_EQ((levels[i] - levels[i - 1]) % 10, 0) << levels[i];
    EXPECT_GT(levels[i], levels[i - 1]);
  }
}

TEST(MessageBoxTest, ButtonsCarryTheirCaptions) {
  std::wstring captions;
  ShowAndAct(64, [&](Form& box) {
    for (auto* button : box.ControlsOf<hosted::CommandButton>()) {
      wchar_t text[64] = {};
      GetWindowTextW(button->inner(), text, 64);
      captions += button->name() + L"=" + text + L" ";
    }
    Click(box, L"cmdOK");
  });
  EXPECT_EQ(captions, L"cmdAbort=&Abortar cmdCancel=&Cancel cmdQuit=X cmdIgnore=&Ignorar cmdNo=No cmdOK=&Ok "
                      L"cmdRetry=&Reiterar cmdYes=Si cmdPrint=&Imprimir ");
}

TEST(MessageBoxTest, ShowMessageGoesThroughTheCurrentHandler) {
  std::wstring seen;
  ScopedMessageBox recorder([&](const std::wstring& text, long buttons, const std::wstring& title) {
    seen = text + L"|" + std::to_wstring(buttons) + L"|" + title;
    return msg::Yes;
  });
  EXPECT_EQ(ShowMessage(L"¿Borrar?", 36, L"Ostrela"), msg::Yes);
  EXPECT_EQ(seen, L"¿Borrar?|36|Ostrela");
}

}  // namespace
