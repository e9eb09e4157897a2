#pragma once
// The clock the screens read for "today" and "now", replaceable so a test can fix
// the date. The default reads the system's local time.
#include <windows.h>
#include <oaidl.h>

namespace vk {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DATE Now() const = 0;  // local date and time
};

// The thread's clock: the system clock unless a test put another in place.
const Clock& CurrentClock();

DATE Now();    // CurrentClock().Now()
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

// Puts a clock in place for a block and restores the one before.
class ClockScope {
 public:
  explicit ClockScope(const Clock& clock);
  ClockScope(const ClockScope&) = delete;
  ClockScope& operator=(const ClockScope&) = delete;
  ~ClockScope();

 private:
  const Clock* previous_;
};

}  // namespace vk
