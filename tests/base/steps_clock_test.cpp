// The step runner, the error texts users see and the replaceable clock.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/steps.h"
#include "base/variant.h"

namespace vk {
namespace {

TEST(Steps, EachStepRunsAndFailuresAreCounted) {
  std::vector<int> ran;
  const int failed = RunEachStep({
      [&] { ran.push_back(1); },
      [&] { ran.push_back(2); Raise(err::InvalidPropertyValue); },
      [&] { ran.push_back(3); throw std::runtime_error("broken"); },
      [&] { ran.push_back(4); },
  });
  EXPECT_EQ(failed, 2);
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));

  VbError error;
  EXPECT_FALSE(IgnoreErrors([] { Raise(err::TypeMismatch, L"Origen"); }, &error));
  EXPECT_EQ(error.number, err::TypeMismatch);
  EXPECT_EQ(error.source, L"Origen");
  EXPECT_FALSE(IgnoreErrors([] { throw std::bad_alloc(); }, &error));
  EXPECT_EQ(error.number, err::OutOfMemory);
  EXPECT_TRUE(IgnoreErrors([] {}));
}

TEST(ErrorTexts, EveryNumberShownToUsersHasADescription) {
  EXPECT_EQ(StandardErrorText(429), L"ActiveX component can't create object");
  EXPECT_EQ(StandardErrorText(75), L"Path/File access error");
  EXPECT_EQ(StandardErrorText(26001), L"Application-defined or object-defined error");
  const std::wstring hresult = StandardErrorText(static_cast<long>(REGDB_E_CLASSNOTREG));  // the system's text
  EXPECT_TRUE(!hresult.empty() && hresult.back() != L'\n' && hresult != StandardErrorText(26001)) << hresult;
}

TEST(Clock, AFixedClockStandsInForTheSystemOne) {
  const DATE system = Now();
  EXPECT_GT(system, MakeDate(2020, 1, 1));
  FixedClock fixed(MakeDate(2024, 2, 29, 17, 45, 0));
  {
    ClockScope scope(fixed);
    EXPECT_DOUBLE_EQ(Now(), MakeDate(2024, 2, 29, 17, 45, 0));
    EXPECT_DOUBLE_EQ(Today(), MakeDate(2024, 2, 29));
    EXPECT_EQ(FormatDate(Today(), L"yyyy-mm-dd"), L"2024-02-29");
  }
  EXPECT_NE(Seam<const Clock*>::Current(), &fixed);
}

}  // namespace
}  // namespace vk
