// The keyboard on real windows, through a host's plain message loop (GetMessage,
// TranslateMessage, DispatchMessage, never IsDialogMessage): Tab and Shift+Tab on a
// docked form and in a modal one, Enter and Esc in a modal form; and what a docked
// form leaves behind when it goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/form.h"
#include "runtime/test_controls.h"
#include "runtime/timer.h"
#include "support/host_keys.h"
#include "support/resource_counts.h"

namespace vk::test {
namespace {

std::wstring FocusedName() {
  Control* c = Control::FromWindow(GetFocus());
  return c ? c->name() : L"(none)";
}

// A top-level window standing for the host program's.
struct Host {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                              500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ~Host() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
};

// A form whose design order is not its reading order: the tab indices put it right.
// What cannot take the focus (hidden, disabled, in a disabled frame, a frame) is
// passed over.
struct KeyForm {
  std::shared_ptr<TestForm> form = Form::Load<TestForm>(L"FKeys");
  TestButton& last = form->Add<TestButton>({.name = L"cmdLast", .left = 150, .top = 3000, .width = 900, .height = 300});
  TestFrame& frame = form->Add<TestFrame>({.name = L"fraFields", .top = 300, .width = 4000, .height = 2000});
  TestButton& second = form->Add<TestButton>(
      {.name = L"cmdSecond", .left = 150, .top = 900, .width = 900, .height = 300, .container = &frame});
  TestEdit& first =
      form->Add<TestEdit>({.name = L"txtFirst", .left = 150, .top = 150, .width = 900, .height = 300, .container = &frame});
  TestButton& hidden = form->Add<TestButton>({.name = L"cmdHidden", .width = 900, .height = 300, .visible = false});
  TestButton& disabled = form->Add<TestButton>({.name = L"cmdOff", .width = 900, .height = 300, .enabled = false});
  TestFrame& offFrame = form->Add<TestFrame>({.name = L"fraOff", .top = 2400, .width = 4000, .height = 500});
  TestButton& inOffFrame =
      form->Add<TestButton>({.name = L"cmdInOff", .width = 900, .height = 300, .container = &offFrame});
  TestButton& third = form->Add<TestButton>({.name = L"cmdThird", .left = 1500, .top = 3000, .width = 900, .height = 300});

  KeyForm() {
    first.setTabIndex(0);
    second.setTabIndex(1);
    third.setTabIndex(2);
    offFrame.setEnabled(false);
  }
};

TEST(DialogKeys, TabWalksADockedFormInTabOrderThroughAPlainHostLoop) {
  Host host;
  KeyForm keys;
  keys.form->DockInto(host.hwnd);
  keys.form->Show();
  struct Case {
    bool shift;
    std::vector<std::wstring> visits;
  };
  const Case cases[] = {{false, {L"txtFirst", L"cmdSecond", L"cmdThird", L"cmdLast", L"txtFirst"}},
                        {true, {L"cmdThird", L"cmdSecond", L"txtFirst", L"cmdLast", L"cmdThird"}}};
  for (const Case& c : cases) {
    keys.last.SetFocus();
    ASSERT_EQ(FocusedName(), L"cmdLast");
    std::vector<std::wstring> visits;
    for (size_t i = 0; i < c.visits.size(); ++i) {
      PostKey(VK_TAB, c.shift);
      HostLoop();
      visits.push_back(FocusedName());
    }
    EXPECT_EQ(visits, c.visits) << (c.shift ? "Shift+Tab" : "Tab");
  }
  PostKey(VK_ESCAPE, false);
  HostLoop();
  EXPECT_TRUE(keys.form->loaded()) << "Esc does not close a docked screen";
  keys.form->Unload();
}

constexpr WPARAM kShiftTab = VK_TAB | 0x100;

TEST(DialogKeys, ModalFormsTakeTabEnterAndEsc) {
  // What the keys did: the focus after each Tab, the button pressed, "closed" when
  // the form closed without a button.
  struct Case {
    const char* what;
    bool withButtons;  // cmdThird the default button, cmdLast the cancel button
    std::vector<WPARAM> keys;
    std::wstring log;
  };
  const Case cases[] = {
      {"tab, tab, shift+tab, esc", true, {VK_TAB, VK_TAB, kShiftTab, VK_ESCAPE}, L"cmdSecond>cmdThird>cmdSecond>cmdLast"},
      {"enter in a text presses the default button", true, {VK_RETURN}, L"cmdThird"},
      {"esc presses the cancel button", true, {VK_ESCAPE}, L"cmdLast"},
      {"enter on a focused button presses it", true, {VK_TAB, VK_RETURN}, L"cmdSecond>cmdSecond"},
      {"esc without a cancel button closes", false, {VK_ESCAPE}, L"closed"},
      {"enter without a default button does nothing", false, {VK_RETURN, VK_ESCAPE}, L"closed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Host host;
    KeyForm keys;
    std::wstring log;
    bool clicked = false;
    auto note = [&log](const std::wstring& what) { log += (log.empty() ? L"" : L">") + what; };
    for (TestButton* b : {&keys.second, &keys.third, &keys.last}) {
      b->Click.Connect([&, b] {
        note(b->name());
        clicked = true;
        keys.form->Unload();
      });
    }
    keys.form->Unloading.Connect([&](bool&) {
      if (!clicked) note(L"closed");
    });
    if (c.withButtons) {
      keys.form->setDefaultButton(&keys.third);
      keys.form->setCancelButton(&keys.last);
    }

    std::wstring startedOn;
    size_t next = 0;
    bool tabbed = false;
    Timer typist(20);
    typist.Tick.Connect([&] {
      if (next == 0) startedOn = FocusedName();
      if (tabbed) note(FocusedName());
      if (next == c.keys.size()) {
        typist.setEnabled(false);
        keys.form->Unload();  // the keys did not end it
        return;
      }
      const WPARAM key = c.keys[next++];
      tabbed = (key & 0xFF) == VK_TAB;
      PostKey(key & 0xFF, key == kShiftTab);
    });
    keys.form->Show(ShowMode::Modal, host.hwnd);
    SetShift(false);
    EXPECT_EQ(startedOn, L"txtFirst") << "a modal form starts with the focus on its first control";
    EXPECT_EQ(log, c.log);
  }
}

// A clerk keying on a docked screen answers a modal form by keyboard and goes on
// where he was.
TEST(DialogKeys, TheFocusComesBackWhereItWasAfterAModalForm) {
  Host host;
  KeyForm keys;
  keys.form->DockInto(host.hwnd);
  keys.form->Show();
  keys.second.SetFocus();
  auto dialog = Form::Load<TestForm>(L"FAnswer");
  dialog->Add<TestButton>({.name = L"cmdOk", .width = 900, .height = 300});
  Timer typist(20);
  typist.Tick.Connect([&] {
    typist.setEnabled(false);
    PostKey(VK_ESCAPE, false);
  });
  dialog->Show(ShowMode::Modal, keys.form->hwnd());
  EXPECT_FALSE(dialog->loaded()) << "Esc closed it";
  EXPECT_EQ(FocusedName(), L"cmdSecond");
  keys.form->Unload();
}

// A docked form is a child window: pop-ups it owns (the tooltip) do not go with it
// unless it destroys them.
TEST(DialogKeys, ADockedFormLeavesNoWindowOrGdiObjectBehind) {
  Host host;
  auto cycle = [&](bool byHost) {
    Host own;
    HWND into = byHost ? own.hwnd : host.hwnd;
    auto form = Form::Load<TestForm>(L"FDocked");
    form->Add<TestButton>({.name = L"cmdTip", .width = 900, .height = 300, .toolTipText = L"Grabar"});
    form->DockInto(into);
    form->Show();
    if (byHost) DestroyWindow(own.hwnd);
    else form->Unload();
  };
  for (bool byHost : {false, true}) {
    SCOPED_TRACE(byHost ? "the host's window goes" : "unloaded");
    cycle(byHost);  // classes and shared fonts made once
    const int windows = ThreadWindowCount(), gdi = GdiObjectCount();
    for (int i = 0; i < 50; ++i) cycle(byHost);
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(GdiObjectCount(), gdi);
  }
}

}  // namespace
}  // namespace vk::test
