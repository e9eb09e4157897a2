// The colour-keyed transfer of panel icons: key-coloured pixels leave the
// destination as it was, greying turns the rest into greys, icons are scaled.
#include "controls/status_bar/trans_blt.h"

#include <gtest/gtest.h>

#include "com/com_ptr.h"
#include "support/memory_dc.h"
#include "support/painted_picture.h"

namespace vk::controls {
namespace {

constexpr long Rgb(long r, long g, long b) { return r + g * 256 + b * 65536; }
constexpr long kKey = Rgb(255, 0, 255);
constexpr long kRed = Rgb(255, 0, 0);
constexpr long kOrange = Rgb(200, 100, 0);
constexpr long kBackdrop = Rgb(10, 120, 30);

// A picture object around a bitmap whose left half is the key colour and right
// half red, except one orange pixel at (12, 3).
struct BitmapPicture {
  BitmapPicture(int w, int h)
      : picture(test::PaintedPicture(w, h, [w](int x, int y) {
          if (x == 12 && y == 3) return COLORREF(kOrange);
          return COLORREF(x < w / 2 ? kKey : kRed);
        })) {}
  com::ComPtr<IPicture> picture;
};

bool IsGrey(long c) { return (c & 0xFF) == (c >> 8 & 0xFF) && (c & 0xFF) == (c >> 16 & 0xFF); }

TEST(TransBltEx, KeyColourShowsTheDestinationAndGreyingOnlyTouchesThePicture) {
  struct Case { bool disabled; long red, orange; };
  const Case cases[] = {{false, kRed, kOrange}, {true, Rgb(85, 85, 85), Rgb(100, 100, 100)}};
  for (const Case& c : cases) {
    BitmapPicture picture(16, 16);
    test::MemoryDc dest(40, 30);
    dest.Fill(kBackdrop);
    TransBltEx(dest.dc(), 5, 4, 16, 16, picture.picture.get(), 0, 0, kKey, c.disabled);
    EXPECT_EQ(dest.Pixel(5, 4), kBackdrop) << "key pixels are transparent";
    EXPECT_EQ(dest.Pixel(12, 19), kBackdrop);
    EXPECT_EQ(dest.Pixel(13, 4), c.red);
    EXPECT_EQ(dest.Pixel(20, 19), c.red);
    EXPECT_EQ(dest.Pixel(17, 7), c.orange);
    EXPECT_EQ(dest.Pixel(4, 4), kBackdrop) << "outside the area";
    EXPECT_EQ(dest.Pixel(21, 4), kBackdrop);
    if (c.disabled) {
      EXPECT_TRUE(IsGrey(dest.Pixel(15, 10)));
    }
  }
}

TEST(TransBltEx, GreyingLeavesThePicturesOwnBitmapInColour) {
  BitmapPicture picture(16, 16);
  test::MemoryDc dest(16, 16);
  TransBltEx(dest.dc(), 0, 0, 16, 16, picture.picture.get(), 0, 0, kKey, true);
  TransBltEx(dest.dc(), 0, 0, 16, 16, picture.picture.get(), 0, 0, kKey, false);
  EXPECT_EQ(dest.Pixel(14, 8), kRed);
}

TEST(TransBltEx, BitmapIsCopiedFromTheSourceOriginWithoutScaling) {
  BitmapPicture picture(32, 16);  // key in x 0..15, red in 16..31
  test::MemoryDc dest(20, 20);
  dest.Fill(kBackdrop);
  TransBltEx(dest.dc(), 0, 0, 8, 8, picture.picture.get(), 12, 0, kKey, false);
  EXPECT_EQ(dest.Pixel(3, 0), kBackdrop);  // source x 15: key
  EXPECT_EQ(dest.Pixel(4, 0), kRed);       // source x 16: red
  EXPECT_EQ(dest.Pixel(8, 0), kBackdrop);  // past the 8-pixel area
}

TEST(TransBltEx, IconIsScaledAndItsTransparentPixelsShowTheDestination) {
  // A 16x16 icon: opaque red square in its top-left 8x8, transparent elsewhere.
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, colour);
  RECT all{0, 0, 16, 16}, square{0, 0, 8, 8};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH red = CreateSolidBrush(COLORREF(kRed));
  FillRect(dc, &square, red);
  DeleteObject(red);
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  ASSERT_TRUE(icon);
  com::ComPtr<IPicture> picture = test::PictureOf(PICTYPE_ICON, icon, true);
  ASSERT_TRUE(picture);
  test::MemoryDc dest(40, 40);
  dest.Fill(kBackdrop);
  TransBltEx(dest.dc(), 0, 0, 32, 32, picture.get(), 0, 0, kKey, false);
  EXPECT_EQ(dest.Pixel(15, 15), kRed);  // the square doubled to 16x16
  EXPECT_EQ(dest.Pixel(17, 17), kBackdrop);
  EXPECT_EQ(dest.Pixel(30, 2), kBackdrop);
}

TEST(GrayBlt, EachPixelBecomesTheNearestGrey) {
  struct Case { long colour, grey; };
  // A mean a third above a whole number rounds down, two thirds above rounds up.
  const Case cases[] = {{kRed, 85},           {kOrange, 100},        {Rgb(0, 0, 0), 0},
                        {Rgb(255, 255, 255), 255}, {Rgb(30, 60, 90), 60}, {Rgb(200, 100, 1), 100},
                        {Rgb(200, 100, 2), 101},   {Rgb(1, 0, 0), 0},      {Rgb(0, 2, 0), 1}};
  for (const Case& c : cases) {
    test::MemoryDc dc(4, 4);
    dc.Fill(c.colour);
    GrayBlt(dc.dc(), dc.dc(), 4, 4);
    EXPECT_EQ(dc.Pixel(2, 2), Rgb(c.grey, c.grey, c.grey)) << std::hex << c.colour;
  }
}

}  // namespace
}  // namespace vk::controls
