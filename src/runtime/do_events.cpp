#include "runtime/do_events.h"

#include <windows.h>

#include "runtime/event.h"

namespace vk {

namespace {

thread_local bool pumping = false;

// A window that never validates its paint, or a handler that posts to itself,
// would keep the queue from ever emptying; one call serves at most this many.
constexpr int kMostMessagesPerCall = 10000;

struct PumpFlag {
  PumpFlag() { pumping = true; }
  ~PumpFlag() { pumping = false; }
};

}  // namespace

int DoEvents() {
  if (pumping) return 0;
  PumpFlag flag;
  HandlerScope scope;
  int served = 0;
  MSG msg;
  while (served < kMostMessagesPerCall && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns the thread
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++served;
  }
  return served;
}

bool InDoEvents() { return pumping; }

}  // namespace vk
