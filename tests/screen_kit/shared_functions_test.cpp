// The shared text, user and file-name functions, and SQL quoting.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/clock.h"
#include "base/variant.h"
#include "base/vb_error.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/sql_text.h"

namespace {

using namespace vk;

TEST(PadLeft, FillsTrimsAndNeverCuts) {
  struct Case {
    const wchar_t* text;
    short width;
    const wchar_t* pad;
    const wchar_t* expected;
    const wchar_t* padAfter;
  };
  const Case cases[] = {
      {L"42", 5, L"0", L"00042", L"0"},
      {L"42", 5, L"null", L"   42", L" "},
      {L"42", 5, L"NULL", L"   42", L" "},
      {L"123456", 5, L"0", L"123456", L"0"},
      {L"  7  ", 3, L"0", L"007", L"0"},
      {L"7", 4, L"ab", L"ababab7", L"ab"},  // a long pad repeats whole
      {L"", 2, L"0", L"00", L"0"},
      {L"99", 0, L"0", L"99", L"0"},
  };
  for (const Case& c : cases) {
    std::wstring pad = c.pad;
    EXPECT_EQ(PadLeft(c.text, c.width, pad), c.expected) << c.text << " / " << c.pad;
    EXPECT_EQ(pad, c.padAfter);
  }
}

TEST(PadLeft, WidthDifferenceOutside16BitsOverflows) {
  std::wstring pad = L"0";
  std::wstring longText(40000, L'x');
  try {
    PadLeft(longText, -32000, pad);
    FAIL() << "no overflow";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, err::Overflow);
  }
}

TEST(GetField, SplitsTrimsAndAnswersEmptyOutsideThePieces) {
  EXPECT_EQ(GetField(L"A01 - Facturas", L"-", 0), L"A01");
  EXPECT_EQ(GetField(L"A01 - Facturas", L"-", 1), L"Facturas");
  EXPECT_EQ(GetField(L"A01 - Facturas", L"-", 2), L"");
  EXPECT_EQ(GetField(L"A01 - Facturas", L"-", -1), L"");
  EXPECT_EQ(GetField(L"", L"-", 0), L"");
  EXPECT_EQ(GetField(L"a||b", L"|", 1), L"");
  EXPECT_EQ(GetField(L"a||b", L"|", 2), L"b");
  EXPECT_EQ(GetField(L"1 - Uno - Dos", L" - ", 2), L"Dos");
  EXPECT_EQ(GetField(L"abc", L"X", 0), L"abc");  // the match is case-sensitive
  EXPECT_EQ(GetField(L"aXb", L"x", 1), L"");
}

TEST(SqlText, DoublesQuotesOnly) {
  EXPECT_EQ(SqlText(L"o'neil"), L"o''neil");
  EXPECT_EQ(SqlText(L"''"), L"''''");
  EXPECT_EQ(SqlText(L"plain"), L"plain");
  EXPECT_EQ(SqlQuoted(L"o'neil"), L"'o''neil'");
  EXPECT_EQ(SqlQuoted(L""), L"''");
}

HostSeams FixedSeams(std::wstring user) {
  HostSeams seams = Seam<HostSeams>::Real();
  seams.logonName = [user] { return user; };
  return seams;
}

TEST(BuildTempFileName, NamesByUserAndTimeAndDeletesTheOldFile) {
  ScopedHostSeams seams(FixedSeams(L" jdoe "));
  FixedClock clock(MakeDate(2026, 3, 6, 9, 5));
  ClockScope clockScope(clock);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = temp;
  folder.pop_back();  // without the trailing backslash
  const std::wstring name = BuildTempFileName(folder, L"pdf");
  EXPECT_EQ(name, folder + L"\\IMjdoe695.pdf");

  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(BuildTempFileName(folder, L"pdf"), name);
  EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES) << "the old file is gone";

  EXPECT_EQ(BuildTempFileName(L"Z:\\no\\such\\folder", L"tif"), L"Z:\\no\\such\\folder\\IMjdoe695.tif");
}

TEST(LogonName, RealNameIsReadAndFitsTheBuffer) {
  std::wstring name = Seam<HostSeams>::Real().logonName();
  EXPECT_FALSE(name.empty());
  EXPECT_LT(name.size(), 25u);
  EXPECT_FALSE(Seam<HostSeams>::Real().computerName().empty());
}

TEST(SetWindowLayered, AddsTheLayeredStyleAndReturnsFalse) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(SetWindowLayered(window));
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  DestroyWindow(window);
  EXPECT_FALSE(SetWindowLayered(nullptr));
}

}  // namespace
