#include "runtime/timer.h"

#include <map>

#include "base/edge_report.h"
#include "runtime/form.h"

namespace vk {

namespace {

// Thread timers have no window; their ids lead back to the Timer objects here.
std::map<UINT_PTR, Timer*>& Timers() {
  thread_local auto* timers = new std::map<UINT_PTR, Timer*>();
  return *timers;
}

}  // namespace

Timer::Timer(UINT intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) { Restart(); }

Timer::Timer(const Form& owner, UINT intervalMs, bool enabled)
    : owner_(&owner), interval_(intervalMs), enabled_(enabled) {
  Restart();
}

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
  if (!enabled_ || interval_ == 0 || (owner_ && owner_->wasUnloaded())) return;
  id_ = SetTimer(nullptr, 0, interval_, &Timer::TimerProc);
  if (id_) Timers()[id_] = this;
}

void CALLBACK Timer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  Timer* timer = it->second;
  if (timer->owner_ && timer->owner_->wasUnloaded()) {
    timer->Stop();  // the form went: no more ticks, though Enabled still reads as set
    return;
  }
  HandlerScope scope;
  // The handler may delete the timer: nothing of it is used after.
  GuardEdge(L"timer", [&] { timer->Tick.Raise(); });
}

}  // namespace vk
