// What a C++ exception becomes for the component's callers (its text read as UTF-8, or
// in the system's ANSI code page when it is not; memory as error 7, anything else 51),
// and what an edge that no failure may cross answers and reports.
#include "base/exception_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <stdexcept>

#include "base/edge_report.h"
#include "base/steps.h"
#include "support/debug_output.h"

namespace vk {
namespace {

TEST(ExceptionError, WhatIsReadAsUtf8ElseInTheAnsiCodePage) {
  EXPECT_EQ(WideFromWhat("Año ñandú"), L"Año ñandú");
  EXPECT_EQ(WideFromWhat("plain"), L"plain");
  EXPECT_EQ(WideFromWhat(""), L"");
  wchar_t ansi[8] = {};
  MultiByteToWideChar(CP_ACP, 0, "A\xF1o", -1, ansi, 8);  // not UTF-8: a lone 0xF1
  EXPECT_EQ(WideFromWhat("A\xF1o"), ansi);
}

TEST(ExceptionError, EachKindOfFailureBecomesItsRunTimeError) {
  struct Case {
    const char* kind;
    void (*fail)();
    long number;
    std::wstring description;
  };
  const Case cases[] = {
      {"library", [] { throw std::runtime_error("Año ñandú"); }, err::InternalError, L"Año ñandú"},
      {"memory", [] { throw std::bad_alloc(); }, err::OutOfMemory, StandardErrorText(err::OutOfMemory)},
      {"run-time", [] { throw VbError{err::Overflow, L"Src", L"Desbordamiento"}; }, err::Overflow, L"Desbordamiento"},
      {"unknown", [] { throw 42; }, err::InternalError, L"unknown failure"},
  };
  for (const Case& c : cases) {
    VbError error;
    try {
      c.fail();
    } catch (...) {
      error = CurrentVbError();
    }
    EXPECT_EQ(error.number, c.number) << c.kind;
    EXPECT_EQ(error.description, c.description) << c.kind;
  }
  VbError skipped;
  EXPECT_FALSE(IgnoreErrors([] { throw std::runtime_error("Año"); }, &skipped));
  EXPECT_EQ(skipped.description, L"Año");
}

TEST(ExceptionError, AnEdgeAnswersItsFallbackAndReportsWhatFailed) {
  test::DebugOutputRecorder debug;
  EXPECT_EQ(GuardEdge(L"test edge", 7L, []() -> long { throw 42; }), 7L);
  EXPECT_EQ(GuardEdge(L"test edge", [] { return 8L; }, [] { throw std::runtime_error("gone"); return 1L; }), 8L);
  EXPECT_EQ(GuardEdge(L"test edge", 7L, [] { return 1L; }), 1L);
  GuardEdge(L"test edge", [] { throw VbError{err::Overflow, L"Src", L"Desbordamiento"}; });
  EXPECT_NE(debug.text().find("test edge failed: error 51 in : unknown failure"), std::string::npos) << debug.text();
  EXPECT_NE(debug.text().find("test edge failed: error 51 in : gone"), std::string::npos);
  EXPECT_NE(debug.text().find("test edge failed: error 6 in Src: Desbordamiento"), std::string::npos);
}

}  // namespace
}  // namespace vk
