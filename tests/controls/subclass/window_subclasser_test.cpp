// Real windows hooked by one or two owners; each case records what the owners and the
// window's own procedure heard for messages sent with SendMessage.
#include "controls/subclass/window_subclasser.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/vb_error.h"
#include "support/resource_counts.h"

namespace vk::controls {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kPong = WM_APP + 2;
constexpr UINT kOther = WM_APP + 3;
constexpr LRESULT kProcResult = 7;

std::vector<std::string> g_log;

std::string Name(UINT msg) {
  switch (msg) {
    case kPing: return "ping";
    case kPong: return "pong";
    case kOther: return "other";
    default: return "msg";
  }
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= kPing && msg <= kOther) {
    g_log.push_back("proc " + Name(msg));
    return kProcResult;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeTarget() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassTarget";
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowExW(0, L"SubclassTarget", L"target", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// An owner that logs its calls and may answer them.
class Owner : public SubclassOwner {
 public:
  explicit Owner(std::string name) : name_(std::move(name)), hooks(*this) {}
  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                      WPARAM, LPARAM) override {
    if (uMsg < kPing || uMsg > kOther) return;  // the platform's own traffic
    g_log.push_back(name_ + (bBefore ? " before " : " after ") + Name(uMsg) + " " +
                    std::to_string(lReturn));
    if (onCall) onCall(bBefore, bHandled, lReturn, hwnd);
  }
  std::function<void(bool, bool&, LRESULT&, HWND)> onCall;

 private:
  std::string name_;

 public:
  WindowSubclasser hooks;
};

struct RouteCase {
  const char* name;
  std::function<void(HWND, Owner&, Owner&)> setUp;
  UINT send;
  LRESULT expectedResult;
  std::vector<std::string> expected;
};

class RouteTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteTest, OwnersHearRegisteredMessagesInOrder) {
  const RouteCase& c = GetParam();
  HWND hwnd = MakeTarget();
  ASSERT_TRUE(hwnd);
  {
    Owner a("A"), b("B");
    c.setUp(hwnd, a, b);
    g_log.clear();
    LRESULT result = SendMessageW(hwnd, c.send, 0, 0);
    EXPECT_EQ(c.expectedResult, result);
    EXPECT_EQ(c.expected, g_log);
  }
  // Both owners have ended: their hooks are gone and the window still works alone.
  g_log.clear();
  EXPECT_EQ(kProcResult, SendMessageW(hwnd, c.send, 0, 0));
  EXPECT_EQ(std::vector<std::string>{"proc " + Name(c.send)}, g_log);
  DestroyWindow(hwnd);
}

const RouteCase kRouteCases[] = {
    {"BeforeAndAfter",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
     },
     kPing, kProcResult, {"A before ping 0", "proc ping", "A after ping 7"}},
    {"AfterOnly",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::After);
     },
     kPing, kProcResult, {"proc ping", "A after ping 7"}},
    {"UnregisteredMessagePassesStraightThrough",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
     },
     kPong, kProcResult, {"proc pong"}},
    {"HandledBeforeSkipsProcedureAndAfterCall",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       a.onCall = [](bool before, bool& handled, LRESULT& r, HWND) {
         if (before) handled = true, r = 42;
       };
     },
     kPing, 42, {"A before ping 0"}},
    {"AfterCallChangesResult",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::After);
       a.onCall = [](bool, bool&, LRESULT& r, HWND) { r += 100; };
     },
     kPing, 107, {"proc ping", "A after ping 7"}},
    {"TwoOwnersNewestHookOutermost",
     [](HWND h, Owner& a, Owner& b) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       b.hooks.Start(h);
       b.hooks.AddMsg(h, kPing, When::Both);
     },
     kPing, kProcResult,
     {"B before ping 0", "A before ping 0", "proc ping", "A after ping 7", "B after ping 7"}},
    {"OuterOwnerHandlingHidesMessageFromInnerOwner",
     [](HWND h, Owner& a, Owner& b) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       b.hooks.Start(h);
       b.hooks.AddMsg(h, kPing, When::Before);
       b.onCall = [](bool, bool& handled, LRESULT& r, HWND) { handled = true, r = 5; };
     },
     kPing, 5, {"B before ping 0"}},
    {"EveryMessage",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kAllMessages, When::After);
     },
     kOther, kProcResult, {"proc other", "A after other 7"}},
    {"EveryMessageClearedRoutesNone",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       a.hooks.AddMsg(h, kAllMessages, When::Both);
       a.hooks.DelMsg(h, kAllMessages, When::Both);
     },
     kPing, kProcResult, {"proc ping"}},
    {"DeletedMessageIsNoLongerHeard",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       a.hooks.DelMsg(h, kPing, When::Before);
     },
     kPing, kProcResult, {"proc ping", "A after ping 7"}},
    {"StoppedOwnerHearsNothingOtherStillDoes",
     [](HWND h, Owner& a, Owner& b) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::After);
       b.hooks.Start(h);
       b.hooks.AddMsg(h, kPing, When::After);
       a.hooks.Stop(h);
     },
     kPing, kProcResult, {"proc ping", "B after ping 7"}},
    {"SecondHookOfOneWindowIsStoppedFirst",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::After);
       a.hooks.Start(h);  // AddMsg now reaches the newer hook
       a.hooks.AddMsg(h, kPong, When::After);
       a.hooks.Stop(h);
       a.hooks.AddMsg(h, kPing, When::Before);  // back on the first hook
     },
     kPing, kProcResult, {"A before ping 0", "proc ping", "A after ping 7"}},
    {"StopInsideBeforeCallFinishesWithoutAfterCall",
     [](HWND h, Owner& a, Owner&) {
       a.hooks.Start(h);
       a.hooks.AddMsg(h, kPing, When::Both);
       a.onCall = [&a](bool, bool&, LRESULT&, HWND w) { a.hooks.StopAll(); (void)w; };
     },
     kPing, kProcResult, {"A before ping 0", "proc ping"}},
};

INSTANTIATE_TEST_SUITE_P(Subclasser, RouteTest, ::testing::ValuesIn(kRouteCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(Subclasser, TablesKeepOneEntryAndReuseHoles) {
  HWND h = MakeTarget();
  Owner a("A");
  a.hooks.Start(h);
  a.hooks.AddMsg(h, kPing, When::After);
  a.hooks.AddMsg(h, kPing, When::After);
  EXPECT_EQ(1, a.hooks.Count(h, When::After));
  EXPECT_EQ(0, a.hooks.Count(h, When::Before));
  a.hooks.AddMsg(h, kPong, When::After);
  a.hooks.DelMsg(h, kPing, When::After);
  EXPECT_EQ(2, a.hooks.Count(h, When::After));
  a.hooks.AddMsg(h, kOther, When::After);  // fills the hole
  EXPECT_EQ(2, a.hooks.Count(h, When::After));
  a.hooks.AddMsg(h, kAllMessages, When::After);
  EXPECT_EQ(-1, a.hooks.Count(h, When::After));
  a.hooks.DelMsg(h, kAllMessages, When::After);
  EXPECT_EQ(0, a.hooks.Count(h, When::After));
  DestroyWindow(h);
}

TEST(Subclasser, UnhookedWindowRaisesSubscriptOutOfRange) {
  HWND h = MakeTarget();
  Owner a("A");
  a.hooks.StopAll();  // never hooked anything: nothing happens
  const std::vector<std::function<void()>> calls = {
      [&] { a.hooks.AddMsg(h, kPing, When::After); },
      [&] { a.hooks.DelMsg(h, kPing, When::After); },
      [&] { a.hooks.Stop(h); },
  };
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no error raised";
    } catch (const VbError& e) {
      EXPECT_EQ(err::SubscriptOutOfRange, e.number);
    }
  }
  a.hooks.Start(h);
  a.hooks.Stop(h);
  EXPECT_FALSE(a.hooks.IsHooked(h));
  EXPECT_THROW(a.hooks.Stop(h), VbError);
  DestroyWindow(h);
}

TEST(Subclasser, WindowDestroyedWhileHookedIsForgottenHarmlessly) {
  Owner a("A");
  HWND h = MakeTarget();
  a.hooks.Start(h);
  a.hooks.AddMsg(h, kPing, When::After);
  EXPECT_EQ(1, a.hooks.HookCount());
  DestroyWindow(h);
  EXPECT_FALSE(a.hooks.IsHooked(h));
  EXPECT_EQ(0, a.hooks.HookCount()) << "the dead window's record was kept";
  // The freed record is reused by the next window, with no StopAll in between.
  HWND other = MakeTarget();
  EXPECT_EQ(0, a.hooks.Start(other));
  a.hooks.AddMsg(other, kPing, When::After);
  g_log.clear();
  SendMessageW(other, kPing, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"proc ping", "A after ping 7"}), g_log);
  DestroyWindow(other);
}

TEST(Subclasser, AThousandWindowsDestroyedWhileHookedLeaveNothingBehind) {
  Owner a("A");
  auto cycles = [&](int n) {
    for (int i = 0; i < n; ++i) {
      HWND h = MakeTarget();
      a.hooks.Start(h);
      a.hooks.AddMsg(h, kPing, When::After);
      DestroyWindow(h);
    }
  };
  cycles(50);  // the platform's own first-use allocations
  const size_t before = test::HeapBytesInUse();
  cycles(1000);
  const size_t after = test::HeapBytesInUse();
  EXPECT_EQ(0, a.hooks.HookCount());
  HWND last = MakeTarget();
  EXPECT_EQ(0, a.hooks.Start(last)) << "the record array grew";
  DestroyWindow(last);
  // A kept subclass block alone is 32 bytes a window.
  EXPECT_LT(static_cast<long long>(after) - static_cast<long long>(before), 4000);
}

TEST(Subclasser, OwnerEndingInsideItsOwnCallbackIsSafe) {
  HWND h = MakeTarget();
  auto a = std::make_unique<Owner>("A");
  a->hooks.Start(h);
  a->hooks.AddMsg(h, kPing, When::Both);
  a->onCall = [&a](bool before, bool&, LRESULT&, HWND) {
    if (before) a.reset();  // the owner and its hooks end while the message is routed
  };
  g_log.clear();
  EXPECT_EQ(kProcResult, SendMessageW(h, kPing, 0, 0));
  EXPECT_EQ((std::vector<std::string>{"A before ping 0", "proc ping"}), g_log);
  DestroyWindow(h);
}

}  // namespace
}  // namespace vk::controls
