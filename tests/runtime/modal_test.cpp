// Message loops on real windows: modal forms, timers, DoEvents, and forms that are
// unloaded while their own code is still running.
#include <gtest/gtest.h>

#include "runtime/do_events.h"
#include "runtime/form.h"
#include "runtime/test_controls.h"
#include "runtime/timer.h"

namespace vk::test {
namespace {

// A top-level window standing for the host program's.
class HostWindow {
 public:
  HostWindow() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Runs the thread's messages until done() or a generous number of rounds passed.
template <class F>
void PumpUntil(F done, int rounds = 2000) {
  for (int round = 0; round < rounds && !done(); ++round) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
}

enum class Ending { Hide, Unload, CloseMessage };

TEST(ModalForm, DisablesOwnerAndOtherWindowsUntilItEnds) {
  for (Ending ending : {Ending::Hide, Ending::Unload, Ending::CloseMessage}) {
    SCOPED_TRACE(static_cast<int>(ending));
    HostWindow host;
    auto other = Form::Load<TestForm>(L"FOther");
    other->Show();
    auto dialog = Form::Load<TestForm>(L"FDialog", true);

    bool hostEnabledDuring = true, otherEnabledDuring = true, dialogEnabledDuring = false;
    Timer closer(10);
    closer.Tick.Connect([&] {
      closer.setEnabled(false);
      hostEnabledDuring = IsWindowEnabled(host.hwnd());
      otherEnabledDuring = IsWindowEnabled(other->hwnd());
      dialogEnabledDuring = IsWindowEnabled(dialog->hwnd());
      switch (ending) {
        case Ending::Hide: dialog->Hide(); break;
        case Ending::Unload: dialog->Unload(); break;
        case Ending::CloseMessage: PostMessageW(dialog->hwnd(), WM_CLOSE, 0, 0); break;
      }
    });
    dialog->Show(ShowMode::Modal, host.hwnd());  // returns once the timer ended it

    EXPECT_FALSE(hostEnabledDuring);
    EXPECT_FALSE(otherEnabledDuring);
    EXPECT_TRUE(dialogEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(other->hwnd()));
    EXPECT_FALSE(dialog->modal());
    EXPECT_EQ(dialog->loaded(), ending == Ending::Hide);
    dialog->Unload();
    other->Unload();
  }
}

TEST(ModalForm, NestedModalFormsRestoreTheirOwners) {
  HostWindow host;
  auto outer = Form::Load<TestForm>(L"FOuter");
  auto inner = Form::Load<TestForm>(L"FInner");
  std::vector<std::string> trace;
  Timer step(10);
  int ticks = 0;
  step.Tick.Connect([&] {
    ++ticks;
    if (ticks == 1) {
      trace.push_back(IsWindowEnabled(outer->hwnd()) ? "outer on" : "outer off");
      step.setEnabled(false);
      Timer innerCloser(10);
      innerCloser.Tick.Connect([&] {
        innerCloser.setEnabled(false);
        trace.push_back(IsWindowEnabled(outer->hwnd()) ? "outer on" : "outer off");
        inner->Unload();
      });
      inner->Show(ShowMode::Modal, outer->hwnd());
      trace.push_back(IsWindowEnabled(outer->hwnd()) ? "outer on" : "outer off");
      trace.push_back(IsWindowEnabled(host.hwnd()) ? "host on" : "host off");
      outer->Unload();
    }
  });
  outer->Show(ShowMode::Modal, host.hwnd());
  EXPECT_EQ(trace, (std::vector<std::string>{"outer on", "outer off", "outer on", "host off"}));
  EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
}

TEST(ModalForm, ShowingAnUnloadedFormDoesNothing) {
  auto dialog = Form::Load<TestForm>(L"FGone");
  dialog->Unload();
  dialog->Show(ShowMode::Modal);  // must return at once
  EXPECT_FALSE(dialog->loaded());
}

// A form whose button handler unloads the form and then goes on using it.
class SelfClosingForm : public TestForm {
 public:
  explicit SelfClosingForm(int* destroyed) : TestForm(L"FSelfClosing"), destroyed_(destroyed) {
    button_ = &Add<TestButton>({.name = L"cmdClose", .width = 1200, .height = 400});
  }
  ~SelfClosingForm() override { ++*destroyed_; }
  TestButton& button() { return *button_; }
  int* destroyed_;
  bool aliveAfterUnload = false;
  bool loadedAfterUnload = true;

 private:
  TestButton* button_;
};

TEST(DeferredDestruction, UnloadFromInsideOwnHandler) {
  int destroyed = 0;
  auto form = Form::Load<SelfClosingForm>(&destroyed);
  std::weak_ptr<SelfClosingForm> watch = form;
  SelfClosingForm* raw = form.get();
  raw->button().Click.Connect([raw, &destroyed] {
    raw->Unload();
    // The form's code goes on after its own unload: the object must still be there.
    raw->aliveAfterUnload = destroyed == 0;
    raw->loadedAfterUnload = raw->loaded();
    raw->button().setLeft(300);  // a command for an unloaded form: no window, no effect
    raw->Show();
  });
  form.reset();  // only the loaded list holds it now
  raw->Show();
  raw->button().ClickWithMouse();
  EXPECT_EQ(destroyed, 1) << "freed once the handler returned";
  EXPECT_TRUE(watch.expired());
}

TEST(DeferredDestruction, StillAliveInsideHandlerWhenClosedDuringDoEvents) {
  int destroyed = 0;
  auto form = Form::Load<SelfClosingForm>(&destroyed);
  SelfClosingForm* raw = form.get();
  int itemsDone = 0;
  bool aliveInLoop = true;
  raw->button().Click.Connect([&] {
    // A long loop that yields after each item; the form is closed from outside
    // while it yields, and the loop notices on the next item.
    PostMessageW(raw->hwnd(), WM_CLOSE, 0, 0);
    for (int item = 0; item < 50 && raw->loaded(); ++item) {
      ++itemsDone;
      DoEvents();
      aliveInLoop = aliveInLoop && destroyed == 0;
    }
  });
  form.reset();
  raw->Show();
  raw->button().ClickWithMouse();
  EXPECT_TRUE(aliveInLoop);
  EXPECT_EQ(itemsDone, 1);
  EXPECT_EQ(destroyed, 1);
}

TEST(DeferredDestruction, InputQueuedForAnUnloadedFormIsIgnored) {
  int destroyed = 0;
  auto form = Form::Load<SelfClosingForm>(&destroyed);
  form->Show();
  int clicks = 0;
  form->button().Click.Connect([&] { ++clicks; });
  PostMessageW(form->button().hwnd(), BM_CLICK, 0, 0);
  PostMessageW(form->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  int downs = 0;
  form->MouseDown.Connect([&](int, int, double, double) { ++downs; });
  form->Unload();
  DoEvents();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(destroyed, 0) << "the caller still holds it";
}

TEST(DeferredDestruction, ACallerReferenceKeepsTheUnloadedForm) {
  int destroyed = 0;
  auto form = Form::Load<SelfClosingForm>(&destroyed);
  form->Unload();
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(form->hwnd(), nullptr);
  form.reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(DoEvents, ServesQueuedMessagesAndIsNotReentrant) {
  auto form = Form::Load<TestForm>(L"FPump");
  auto& button = form->Add<TestButton>({.name = L"cmd", .width = 900, .height = 300});
  form->Show();
  PumpPending();
  int clicks = 0;
  int nestedServed = -1;
  button.Click.Connect([&] {
    ++clicks;
    nestedServed = DoEvents();  // inside a DoEvents already: returns at once
  });
  PostMessageW(button.hwnd(), BM_CLICK, 0, 0);
  PostMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_GE(DoEvents(), 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(nestedServed, 0);
  EXPECT_FALSE(InDoEvents());
  form->Unload();
}

TEST(Timers, TickWhileEnabledAndStopWhenDisabledOrZero) {
  Timer timer(5, false);
  int ticks = 0;
  timer.Tick.Connect([&] { ++ticks; });
  EXPECT_FALSE(timer.running());
  timer.setEnabled(true);
  EXPECT_TRUE(timer.running());
  PumpUntil([&] { return ticks >= 3; });
  EXPECT_GE(ticks, 3);
  timer.setInterval(0);
  EXPECT_FALSE(timer.running()) << "interval 0 stops the ticks";
  timer.setInterval(5);
  EXPECT_TRUE(timer.running());
  timer.setEnabled(false);
  EXPECT_FALSE(timer.running());
}

// A form with a timer of its own, as the fading dialogs have.
class FadingForm : public TestForm {
 public:
  FadingForm() : TestForm(L"FFading"), fade(*this, 5) {
    fade.Tick.Connect([this] { ++ticks; if (ticks == 2) Unload(); });
  }
  Timer fade;
  int ticks = 0;
};

TEST(Timers, AFormsTimerStopsWhenTheFormIsUnloaded) {
  auto form = Form::Load<FadingForm>();  // the caller keeps the object after the unload
  PumpUntil([&] { return !form->loaded(); });
  EXPECT_FALSE(form->loaded());
  PumpUntil([] { return false; }, 30);  // room for more ticks, which must not come
  EXPECT_EQ(form->ticks, 2);
  EXPECT_FALSE(form->fade.running());
  form->fade.setInterval(5);
  EXPECT_FALSE(form->fade.running()) << "an unloaded form's timer does not start again";
}

TEST(Timers, AHandlerMayDestroyItsOwnTimer) {
  auto timer = std::make_unique<Timer>(5);
  int ticks = 0;
  timer->Tick.Connect([&] {
    ++ticks;
    timer.reset();
  });
  PumpUntil([&] { return timer == nullptr; });
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer, nullptr);
}

}  // namespace
}  // namespace vk::test
