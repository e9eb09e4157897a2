#include "base/clock.h"

#include <cmath>

#include "base/variant.h"

namespace vk {

namespace {

class SystemClock : public Clock {
 public:
  DATE Now() const override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  }
};

const SystemClock systemClock;
thread_local const Clock* current = nullptr;

}  // namespace

const Clock& CurrentClock() { return current ? *current : systemClock; }

DATE Now() { return CurrentClock().Now(); }

DATE Today() {
  const DATE now = Now();
  return now < 0 ? std::ceil(now) : std::floor(now);
}

ClockScope::ClockScope(const Clock& clock) : previous_(current) { current = &clock; }

ClockScope::~ClockScope() { current = previous_; }

}  // namespace vk
