// Placement beside the cursor, the outline pixel by pixel and the opacity mix.
#include "controls/balloon/balloon_shape.h"

#include <gtest/gtest.h>

namespace vk::controls {
namespace {

struct PlaceCase {
  const char* name;
  POINT cursor;
  BalloonStyle style;
  BalloonPlacement expected;
};

constexpr int kW = 120, kH = 50, kScreenW = 800, kScreenH = 600;

class PlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceTest, BalloonGoesBesideTheCursor) {
  const PlaceCase& c = GetParam();
  BalloonPlacement p = PlaceBalloon(c.cursor, kW, kH, kScreenW, kScreenH, c.style);
  EXPECT_EQ(c.expected.left, p.left);
  EXPECT_EQ(c.expected.top, p.top);
  EXPECT_EQ(c.expected.stemX, p.stemX);
  EXPECT_EQ(c.expected.stemY, p.stemY);
}

INSTANTIATE_TEST_SUITE_P(
    Balloon, PlaceTest,
    ::testing::Values(
        PlaceCase{"RoomAboveRight", {300, 300}, BalloonStyle::Balloon, {301, 250, 17, -17}},
        PlaceCase{"NearRightEdge", {750, 300}, BalloonStyle::Balloon, {630, 250, -17, -17}},
        PlaceCase{"NearTop", {300, 60}, BalloonStyle::Balloon, {301, 61, 17, 17}},
        PlaceCase{"JustEnoughRoomAbove", {300, 70}, BalloonStyle::Balloon, {301, 20, 17, -17}},
        PlaceCase{"NearBottomGoesAbove", {300, 590}, BalloonStyle::Balloon, {301, 540, 17, -17}},
        PlaceCase{"StandardHasNoStem", {750, 60}, BalloonStyle::Standard, {630, 61, 0, 0}}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(Balloon, WindowRectIncludesTheStemRows) {
  BalloonPlacement below{301, 250, 17, -17};
  RECT r = below.WindowRect(kW, kH);
  EXPECT_EQ(284, r.left);
  EXPECT_EQ(233, r.top);
  EXPECT_EQ(kW, r.right - r.left);
  EXPECT_EQ(kH + 17, r.bottom - r.top);
}

struct PixelCase {
  const char* name;
  BalloonPlacement place;
  int x, y;
  bool inside;
};

class OutlineTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(OutlineTest, PixelsOfTheOutline) {
  const PixelCase& c = GetParam();
  HRGN region = BuildBalloonRegion(kW, kH, c.place, BalloonStyle::Balloon);
  EXPECT_EQ(c.inside, PtInRegion(region, c.x, c.y) != FALSE) << c.x << "," << c.y;
  DeleteObject(region);
}

// Stem on top at the left (rows 0-16 are the stem, the body starts at row 17).
constexpr BalloonPlacement kTopLeft{0, 0, 17, 17};
// Stem below at the right (rows 50-66 are the stem).
constexpr BalloonPlacement kBottomRight{0, 0, -17, -17};

INSTANTIATE_TEST_SUITE_P(
    Balloon, OutlineTest,
    ::testing::Values(
        PixelCase{"TipOnTop", kTopLeft, 18, 0, true},
        PixelCase{"BesideTipOnTop", kTopLeft, 19, 0, false},
        PixelCase{"LeftOfStem", kTopLeft, 17, 5, false},
        PixelCase{"StemBaseOnTop", kTopLeft, 34, 16, true},
        PixelCase{"RightOfStemBase", kTopLeft, 35, 16, false},
        PixelCase{"TopLeftCornerCut", kTopLeft, 3, 18, false},
        PixelCase{"TopLeftCornerKept", kTopLeft, 4, 18, true},
        PixelCase{"BodyMiddle", kTopLeft, 60, 40, true},
        PixelCase{"BottomRightCornerCut", kTopLeft, kW - 1, 66, false},
        PixelCase{"TipBelow", kBottomRight, kW - 18, 66, true},
        PixelCase{"BesideTipBelow", kBottomRight, kW - 19, 66, false},
        PixelCase{"StemBaseBelow", kBottomRight, kW - 34, 50, true},
        PixelCase{"OutsideStemBelow", kBottomRight, 10, 55, false},
        PixelCase{"TopRightCornerCut", kBottomRight, kW - 2, 1, false}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(Balloon, StandardOutlineIsTheWholeRectangle) {
  HRGN region = BuildBalloonRegion(kW, kH, {0, 0, 0, 0}, BalloonStyle::Standard);
  RECT box{};
  EXPECT_EQ(SIMPLEREGION, GetRgnBox(region, &box));
  EXPECT_EQ(kW, box.right);
  EXPECT_EQ(kH, box.bottom);
  DeleteObject(region);
}

struct BlendCase {
  const char* name;
  std::uint32_t balloon, background;
  int alpha;
  std::uint32_t expected;
};

class BlendTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendTest, EachChannelIsMixedOnItsOwn) {
  const BlendCase& c = GetParam();
  std::vector<std::uint32_t> pixels{c.balloon};
  BlendPixels(pixels, {c.background}, c.alpha);
  EXPECT_EQ(c.expected, pixels[0]) << std::hex << pixels[0];
}

INSTANTIATE_TEST_SUITE_P(
    Balloon, BlendTest,
    ::testing::Values(
        BlendCase{"OpaqueKeepsBalloon", 0x00123456, 0x00FFFFFF, 100, 0x00123456},
        BlendCase{"ZeroShowsBackground", 0x00123456, 0x00ABCDEF, 0, 0x00ABCDEF},
        // 255 * 50% = 127.5 -> 128 (even); 1 * 50% = 0.5 -> 0 (even).
        BlendCase{"HalvesRoundToEven", 0x00FF00FF, 0x00010001, 50, 0x00800080},
        // 128 + 128 passes 255: saturated.
        BlendCase{"SumSaturates", 0x00FFFFFF, 0x00FFFFFF, 50, 0x00FFFFFF},
        BlendCase{"FourthByteUntouched", 0xAB000000, 0x00FFFFFF, 0, 0xABFFFFFF}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(Balloon, ScaleRoundsHalvesToEven) {
  EXPECT_EQ(0, ScaleByPercent(1, 50));
  EXPECT_EQ(2, ScaleByPercent(3, 50));
  EXPECT_EQ(128, ScaleByPercent(255, 50));
  EXPECT_EQ(255, ScaleByPercent(255, 100));
  EXPECT_EQ(3, ScaleByPercent(10, 33));
}

}  // namespace
}  // namespace vk::controls
