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

}  // namespace

template <>
const Clock* Seam<const Clock*>::Real() {
  return &systemClock;
}

DATE Now() { return Seam<const Clock*>::Current()->Now(); }

DATE Today() {
  const DATE now = Now();
  return now < 0 ? std::ceil(now) : std::floor(now);
}

}  // namespace vk
