#include "runtime/timer.h"

#include <map>

namespace vk {

namespace {

// Thread timers have no window; their ids lead back to the Timer objects here.
std::map<UINT_PTR, Timer*>& Timers() {
  thread_local auto* timers = new std::map<UINT_PTR, Timer*>();
  return *timers;
}

}  // namespace

Timer::Timer(UINT intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) { Restart(); }

Timer::~Timer() { Stop(); }

void Timer::setInterval(UINT ms) {
  interval_ = ms;
  Restart();
}

void Timer::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Restart();
}

void Timer::Stop() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  Timers().erase(id_);
  id_ = 0;
}

void Timer::Restart() {
  Stop();
  if (!enabled_ || interval_ == 0) return;
  id_ = SetTimer(nullptr, 0, interval_, &Timer::TimerProc);
  if (id_) Timers()[id_] = this;
}

void CALLBACK Timer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  Timer* timer = it->second;
  HandlerScope scope;
  try {
    timer->Tick.Raise();  // the handler may delete the timer: nothing of it is used after
  } catch (...) {
    // A failing tick handler ends silently, as event handlers do.
  }
}

}  // namespace vk
