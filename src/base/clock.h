#pragma once
// The clock the screens read for "today" and "now", replaceable so a test can fix
// the date. The default reads the system's local time.
#include <windows.h>
#include <oaidl.h>

#include "base/seam.h"

namespace vk {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DATE Now() const = 0;  // local date and time
};

// The clock Now() reads, the thread's: the system clock unless a test put another in
// place.
template <>
const Clock* Seam<const Clock*>::Real();

DATE Now();    // the thread's clock's Now()
DATE Today();  // Now() without the time

// A fixed clock for tests and reproducible runs.
class FixedClock : public Clock {
 public:
  explicit FixedClock(DATE now) : now_(now) {}
  DATE Now() const override { return now_; }
  void Set(DATE now) { now_ = now; }

 private:
  DATE now_;
};

// Puts a clock in place for the thread for a block (the clock outlives the block) and
// restores the one before.
class ClockScope : public Seam<const Clock*>::Scope {
 public:
  explicit ClockScope(const Clock& clock) : Scope(&clock) {}
};

}  // namespace vk
