// What the screens pay for the runtime: building a form with many controls, one
// layout pass over them, a yield per item of a long loop, raising events and the
// value conversions of a grid fill. Each figure is printed next to its floor (the
// same work done with bare Win32 or plain C++) so the ratio shows the overhead.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "base/variant.h"
#include "bench/support/bench_timing.h"
#include "runtime/do_events.h"
#include "runtime/event.h"
#include "runtime/form.h"

namespace {

using vk::bench::Seconds;

class Button : public vk::Control {
 public:
  Button(vk::Form& form, vk::ControlArgs args) : Control(form, std::move(args)) {}

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& r) override {
    return CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
};

class BenchForm : public vk::Form {
 public:
  BenchForm() : Form({.name = L"FBench", .scaleWidth = 11475, .scaleHeight = 8430, .borderless = true}) {}
};

void Report(const char* what, int count, double ours, double floor) {
  vk::bench::Report(what, count, ours, floor, 34, 7);
}

}  // namespace

int main() {
  constexpr int kControls = 300;
  std::shared_ptr<BenchForm> form;
  std::vector<Button*> buttons;
  const double build = Seconds([&] {
    form = vk::Form::Load<BenchForm>();
    for (int i = 0; i < kControls; ++i) {
      buttons.push_back(&form->Add<Button>({.name = L"b", .index = i, .left = (i % 20) * 500.0,
                                            .top = (i / 20) * 400.0, .width = 450, .height = 300}));
    }
  });
  HWND bare = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 765, 562, nullptr, nullptr, nullptr, nullptr);
  const double buildFloor = Seconds([&] {
    for (int i = 0; i < kControls; ++i)
      CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, (i % 20) * 33, (i / 20) * 27, 30, 20, bare,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  });
  Report("form with controls: build", kControls, build, buildFloor);

  const double layout = Seconds([&] {
    for (Button* b : buttons) b->Move(b->left() + 15, b->top(), b->width() + 15, b->height());
  });
  const double layoutFloor = Seconds([&] {
    for (HWND w = GetWindow(bare, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      SetWindowPos(w, nullptr, 1, 1, 31, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  });
  Report("layout pass (Move each control)", kControls, layout, layoutFloor);

  constexpr int kYields = 20000;
  const double yields = Seconds([] { for (int i = 0; i < kYields; ++i) vk::DoEvents(); });
  const double yieldFloor = Seconds([] {
    MSG msg;
    for (int i = 0; i < kYields; ++i)
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  });
  Report("DoEvents on an empty queue", kYields, yields, yieldFloor);

  constexpr int kRaises = 1000000;
  vk::Event<int> changed;
  long sum = 0;
  changed.Connect([&](int v) { sum += v; });
  std::function<void(int)> direct = [&](int v) { sum += v; };
  const double raises = Seconds([&] { for (int i = 0; i < kRaises; ++i) changed.Raise(i); });
  const double raiseFloor = Seconds([&] { for (int i = 0; i < kRaises; ++i) direct(i); });
  Report("Event::Raise, one handler", kRaises, raises, raiseFloor);

  constexpr int kValues = 100000;
  const DATE date = vk::MakeDate(2025, 3, 7, 15, 30, 0);
  const double texts = Seconds([&] {
    for (int i = 0; i < kValues; ++i) sum += static_cast<long>(vk::Variant::FromDate(date + i).toText().size());
  });
  const double textFloor = Seconds([&] {
    wchar_t buffer[64];
    SYSTEMTIME st{2025, 3, 5, 7, 15, 30, 0, 0};
    for (int i = 0; i < kValues; ++i) {
      sum += GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 64);
      sum += GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 64);
    }
  });
  Report("CStr of a date with time", kValues, texts, textFloor);

  const double longs = Seconds([&] {
    vk::Variant text(L"12345");
    for (int i = 0; i < kValues; ++i) sum += text.toLong();
  });
  const double longFloor = Seconds([&] {
    for (int i = 0; i < kValues; ++i) sum += wcstol(L"12345", nullptr, 10);
  });
  Report("CLng of a text", kValues, longs, longFloor);

  const double unload = Seconds([&] { form->Unload(); form.reset(); });
  const double unloadFloor = Seconds([&] { DestroyWindow(bare); });
  Report("unload the form", kControls, unload, unloadFloor);
  return sum == 42 ? 1 : 0;
}
