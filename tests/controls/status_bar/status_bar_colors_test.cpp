// Scheme selection from the Theme setting and the visual-style query (both through
// the replaceable source), and the colour arithmetic every painted colour uses.
#include "controls/status_bar/status_bar_colors.h"

#include <gtest/gtest.h>

#include <string>

namespace vk::controls {
namespace {

constexpr long Rgb(long r, long g, long b) { return r + g * 256 + b * 65536; }

struct Version {
  BOOL result;
  DWORD platform, major, minor, build;
};

VisualStyleSource Fake(Version v, HRESULT themeResult, std::wstring colourName) {
  VisualStyleSource s;
  s.version = [v](OSVERSIONINFOA& info) {
    info.dwPlatformId = v.platform;
    info.dwMajorVersion = v.major;
    info.dwMinorVersion = v.minor;
    info.dwBuildNumber = v.build;
    return v.result;
  };
  s.currentThemeName = [themeResult, colourName](wchar_t* buffer, int length) {
    for (int i = 0; i < length && i < int(colourName.size()); ++i) buffer[i] = colourName[size_t(i)];
    return themeResult;
  };
  return s;
}

constexpr Version kXp{1, 2, 5, 1, 2600};

TEST(StatusBarTheme, IsWinXPOnlyOnTheVersionWithItsVisualStyles) {
  struct Case { Version v; bool expected; };
  const Case cases[] = {
      {kXp, true},
      {{1, 2, 5, 1, 3790}, true},
      {{1, 2, 5, 1, 2599}, false},
      {{1, 2, 6, 1, 7601}, false},  // later versions too
      {{1, 2, 5, 2, 3790}, false},
      {{1, 1, 5, 1, 2600}, false},  // not the NT family
      {{0, 2, 5, 1, 2600}, false},  // the call failed
      {{2, 2, 5, 1, 2600}, false},  // a result other than exactly 1
  };
  for (const Case& c : cases) {
    VisualStyleScope scope(Fake(c.v, S_OK, L""));
    EXPECT_EQ(IsWinXP(), c.expected) << c.v.major << "." << c.v.minor << " build " << c.v.build;
  }
}

TEST(StatusBarTheme, ColourVariantNameKeepsTextUpToTheLastNul) {
  struct Case { std::wstring buffer; std::wstring expected; };
  const Case cases[] = {
      {std::wstring(L"Metallic\0\0\0", 11), L"Metallic"},
      {std::wstring(L"Normal\0Color\0", 13), L"NormalColor"},  // inner NULs removed
      {std::wstring(L"HomeStead", 9), L"None"},                // no NUL at all
      {std::wstring(L"   \0", 4), L"None"},
      {std::wstring(L"\0\0", 2), L"None"},
  };
  for (const Case& c : cases) EXPECT_EQ(ColourVariantName(c.buffer.data(), c.buffer.size()), c.expected);
}

TEST(StatusBarTheme, SchemeAndGripFollowThemeAndVisualStyle) {
  struct Case {
    Version v; HRESULT hr; std::wstring name; long theme, grip; long scheme, newGrip;
  };
  const Case cases[] = {
      {kXp, S_OK, L"Metallic", 0, 1, kSilver, 1},
      {kXp, S_OK, L"HomeStead", 0, 2, kOlive, 1},
      {kXp, S_OK, L"NormalColor", 0, 2, kBlue, 1},
      {kXp, S_OK, L"Royale", 0, 1, kBlue, 1},        // any other name
      {kXp, S_OK, L"metallic", 0, 1, kBlue, 1},      // exact, case counts
      {kXp, S_OK, L"", 0, 1, kClassic, 2},           // nothing: classic
      {kXp, E_FAIL, L"Metallic", 0, 1, kClassic, 2}, // the query failed
      {{1, 2, 6, 0, 6000}, S_OK, L"Metallic", 0, 1, kClassic, 2},
      {{1, 2, 6, 1, 7601}, S_OK, L"Metallic", 1, 1, kClassic, 2},
      {{1, 2, 6, 1, 7601}, S_OK, L"", 2, 2, kBlue, 1},
      {{1, 2, 6, 1, 7601}, S_OK, L"", 3, 2, kOlive, 1},
      {{1, 2, 6, 1, 7601}, S_OK, L"", 4, 2, kSilver, 1},
      {{1, 2, 6, 1, 7601}, S_OK, L"", 7, 2, kBlue, 1},
      {{1, 2, 6, 1, 7601}, S_OK, L"", -1, 2, kBlue, 1},
      {{1, 2, 6, 1, 7601}, S_OK, L"", 1, 0, kClassic, 0},  // no grip stays no grip
      {kXp, S_OK, L"Metallic", 0, 0, kSilver, 0},
  };
  for (const Case& c : cases) {
    VisualStyleScope scope(Fake(c.v, c.hr, c.name));
    const SchemeChoice got = SelectScheme(c.theme, c.grip);
    EXPECT_EQ(got.scheme, c.scheme) << "theme " << c.theme;
    EXPECT_EQ(got.gripShape, c.newGrip) << "theme " << c.theme;
  }
}

TEST(StatusBarTheme, TheSystemsOwnQueryAnswersWithoutAVisualStyleHere) {
  // This platform reports a version later than the one with the imitated styles, so the
  // automatic theme is classic whatever the theme service says.
  VisualStyleScope system(SystemVisualStyle());
  EXPECT_FALSE(IsWinXP());
  EXPECT_EQ(GetThemeInfo(), L"None");
  EXPECT_EQ(SelectScheme(0, 1).scheme, kClassic);
}

TEST(StatusBarColours, ShiftColor) {
  struct Case { long colour, amount, expected; };
  const Case cases[] = {
      {Rgb(192, 192, 192), -1, Rgb(191, 191, 191)},
      {Rgb(100, 100, 250), -64, Rgb(36, 36, 167)},
      {Rgb(250, 10, 0), 20, Rgb(255, 30, 0)},
      {Rgb(10, 10, 10), -64, Rgb(0, 0, 7)},   // 10 + (10 * -64) / 192 truncates to 7
      {Rgb(1, 2, 3), 0, Rgb(1, 2, 3)},
      {long(0x8000000F), 0, long(GetSysColor(COLOR_BTNFACE))},  // system colours are translated first
      {long(0x80000FFF), 0, Rgb(255, 0, 0)},  // untranslatable: -1 reads as red 255
  };
  for (const Case& c : cases) EXPECT_EQ(ShiftColor(c.colour, c.amount), c.expected) << std::hex << c.colour;
}

TEST(StatusBarColours, BlendColors) {
  struct Case { long first, second, weight, expected; };
  const Case cases[] = {
      {0xFFFFFF, Rgb(12, 34, 56), 0, Rgb(12, 34, 56)},
      {Rgb(12, 34, 56), 0xFFFFFF, 255, Rgb(12, 34, 56)},
      {0xFFFFFF, 0, 128, Rgb(128, 128, 128)},
      {0x909090, Rgb(192, 192, 192), 128, Rgb(168, 168, 168)},
      {long(0x80000FFF), 0xFFFFFF, 128, Rgb(127, 127, 127)},  // untranslatable counts as black
  };
  for (const Case& c : cases) EXPECT_EQ(BlendColors(c.first, c.second, c.weight), c.expected);
}

TEST(StatusBarColours, SchemeColoursOfASilverGreyBar) {
  const long grey = Rgb(192, 192, 192);
  struct Case { long scheme; long edge; };
  const Case cases[] = {{kBlue, Rgb(127, 142, 156)}, {kOlive, Rgb(133, 144, 117)}, {kSilver, Rgb(126, 126, 138)}};
  for (const Case& c : cases) {
    const SchemeColours colours = ColoursFor(c.scheme, grey);
    EXPECT_EQ(colours.base, Rgb(191, 191, 191));
    EXPECT_EQ(colours.edge, c.edge) << "scheme " << c.scheme;
    EXPECT_EQ(colours.separator, Rgb(168, 168, 168));
    EXPECT_EQ(colours.classicShadow, Rgb(168, 168, 168));
    EXPECT_EQ(ShiftColor(colours.base, -37), Rgb(154, 154, 155));
    EXPECT_EQ(ShiftColor(colours.base, -9), Rgb(182, 182, 183));
    const long bottom[6] = {Rgb(191, 191, 191), Rgb(183, 183, 184), Rgb(175, 175, 176),
                            Rgb(167, 167, 168), Rgb(159, 159, 160), Rgb(151, 151, 152)};
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(colours.BottomRow(i, 24), bottom[i]) << i;
    EXPECT_EQ(colours.BlendRow(0, 24), Rgb(191, 191, 191));
    EXPECT_EQ(colours.BlendRow(24, 24), Rgb(203, 203, 203));
  }
}

TEST(StatusBarColours, BlendRowWeightRoundsHalvesToEven) {
  // H = 32: y = 1 gives 1.5 (rounds to 2), y = 3 gives 4.5 (rounds to 4).
  const SchemeColours c = ColoursFor(kBlue, 0);
  EXPECT_EQ(c.BlendRow(1, 32), BlendColors(0xFFFFFF, c.base, 2));
  EXPECT_EQ(c.BlendRow(3, 32), BlendColors(0xFFFFFF, c.base, 4));
}

}  // namespace
}  // namespace vk::controls
