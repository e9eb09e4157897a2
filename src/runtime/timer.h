#pragma once
// A timer as forms and user controls use it: an interval in milliseconds, an
// enabled switch and a Tick event. Interval 0 means no ticks, whatever Enabled says.
// Ticks arrive through the thread's message loop (any loop: the host's, a modal
// form's, DoEvents), so they never interrupt running code.
#include <windows.h>

#include "runtime/event.h"

namespace vk {

class Form;

class Timer {
 public:
  explicit Timer(UINT intervalMs = 0, bool enabled = true);
  // A timer that belongs to a form (a member of it, or of one of its controls):
  // once the form is unloaded its ticks stop, as the form's own timers would.
  explicit Timer(const Form& owner, UINT intervalMs = 0, bool enabled = true);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  UINT interval() const { return interval_; }
  // Changing the interval of a running timer starts its period again.
  void setInterval(UINT ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool running() const { return id_ != 0; }

  Event<> Tick;

 private:
  void Restart();
  void Stop();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;

  const Form* owner_ = nullptr;
  UINT interval_;
  bool enabled_;
  UINT_PTR id_ = 0;
};

}  // namespace vk
