// The image decoding and the image viewer control, on full-page 300 dpi scans
// (2480 × 3508) written here in each format.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <string>

#include "base/vb_error.h"
#include "hosted/image_decoder.h"
#include "hosted/image_viewer.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"

namespace vk::hosted {
namespace {

using test::ImageFormat;

// 35 bytes that declare a 20,000-pixel square.
std::string CraftedGif() {
  return std::string("GIF89a\x20\x4E\x20\x4E\x80\0\0"
                     "\0\0\0\xFF\xFF\xFF"
                     "\x2C\0\0\0\0\x20\x4E\x20\x4E\0"
                     "\x02\x02\x4C\x01\0\x3B",
                     35);
}

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;

class ImageTest : public ::testing::TestWithParam<ImageFormat> {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder_ = new std::wstring(test::FreshFolder(L"images"));
    for (ImageFormat format : {ImageFormat::Bmp, ImageFormat::Gif, ImageFormat::Jpg, ImageFormat::Png,
                               ImageFormat::Tif}) {
      std::wstring path = *folder_ + L"\\page." + test::ExtensionOf(format);
      ASSERT_TRUE(test::WriteSamplePage(path, format, kPageWidth, kPageHeight)) << test::ExtensionOf(format);
    }
  }
  static std::wstring PagePath(ImageFormat format) { return *folder_ + L"\\page." + test::ExtensionOf(format); }
  static std::wstring* folder_;
};
std::wstring* ImageTest::folder_ = nullptr;

TEST_P(ImageTest, ReadsTheSizeFromTheFile) {
  EXPECT_EQ(ReadImageSize(PagePath(GetParam())), (PixelSize{kPageWidth, kPageHeight}));
}

TEST_P(ImageTest, ThumbnailIsDecodedAtThumbnailSize) {
  PixelSize shown;
  HBITMAP thumbnail = DecodeThumbnail(PagePath(GetParam()), {120, 120}, &shown);
  ASSERT_NE(thumbnail, nullptr);
  BITMAP info{};
  GetObjectW(thumbnail, sizeof info, &info);
  EXPECT_EQ(shown, (PixelSize{85, 120}));
  EXPECT_EQ(info.bmWidth, 85);
  EXPECT_EQ(info.bmHeight, 120);
  DeleteObject(thumbnail);
}

// The viewer shows the page and holds no more than the window's worth of it, fitted
// or at any zoom; the top half of the page is dark and the bottom half light.
TEST_P(ImageTest, ViewerShowsThePageAndHoldsOnlyTheShownPart) {
  test::ShownForm form(10500, 9000);
  auto& viewer = form->Add<ImageViewer>(test::At(0, 0, 600 * 15, 500 * 15, L"viewer"));
  viewer.SetFilePath(PagePath(GetParam()));
  viewer.Load();
  ASSERT_TRUE(viewer.HasImage());
  EXPECT_EQ(viewer.ImageSize(), (PixelSize{kPageWidth, kPageHeight}));
  RECT client{};

  viewer.SetFitToWindow(true);
  GetClientRect(viewer.hwnd(), &client);
  PixelSize fitted = viewer.ShownSize();
  EXPECT_EQ(fitted.height, client.bottom);
  EXPECT_LE(fitted.width, client.right);
  EXPECT_EQ(viewer.HeldSize(), fitted);
  const int left = (client.right - fitted.width) / 2;
  EXPECT_LT(test::GreyAt(viewer.hwnd(), left + fitted.width / 2, fitted.height / 4), 0x60);
  EXPECT_GT(test::GreyAt(viewer.hwnd(), left + fitted.width / 2, fitted.height * 3 / 4), 0xA0);

  struct ZoomCase {
    double zoom;
    PixelSize shown;
  };
  for (const ZoomCase& c : {ZoomCase{1.0, {2480, 3508}}, ZoomCase{0.53, {1314, 1859}}, ZoomCase{0.1, {248, 351}}}) {
    viewer.SetFitToWindow(false);
    viewer.SetZoom(c.zoom);
    GetClientRect(viewer.hwnd(), &client);
    EXPECT_EQ(viewer.ShownSize(), c.shown) << c.zoom;
    PixelSize held = viewer.HeldSize();
    // The window's part with at most one window's margin on each side.
    EXPECT_LE(held.width, std::min<int>(3 * client.right, c.shown.width)) << c.zoom;
    EXPECT_LE(held.height, std::min<int>(3 * client.bottom, c.shown.height)) << c.zoom;
    EXPECT_LT(static_cast<double>(held.width) * held.height, 0.2 * kPageWidth * kPageHeight) << c.zoom;
  }
}

TEST_P(ImageTest, ScrollingAZoomedPageShowsItsLowerHalf) {
  test::ShownForm form(10500, 9000);
  auto& viewer = form->Add<ImageViewer>(test::At(0, 0, 400 * 15, 300 * 15, L"viewer"));
  viewer.SetFilePath(PagePath(GetParam()));
  viewer.Load();
  viewer.SetZoom(0.25);  // 620 × 877: taller than the window
  EXPECT_LT(test::GreyAt(viewer.hwnd(), 10, 10), 0x60);
  RECT band = viewer.HeldPart();
  SendMessageW(viewer.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(viewer.ScrollPosition().y, 20);
  SendMessageW(viewer.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(viewer.ScrollPosition().y, 80);
  SendMessageW(viewer.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(viewer.ScrollPosition().y, 20);
  RECT after = viewer.HeldPart();
  EXPECT_TRUE(EqualRect(&band, &after));  // a small scroll repaints from memory
  for (int i = 0; i < 10; ++i) SendMessageW(viewer.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  RECT client{};
  GetClientRect(viewer.hwnd(), &client);
  RECT moved = viewer.HeldPart();
  EXPECT_FALSE(EqualRect(&band, &moved));
  EXPECT_LE(moved.top, viewer.ScrollPosition().y);
  EXPECT_GE(moved.bottom, viewer.ScrollPosition().y + client.bottom);
  EXPECT_EQ(viewer.ScrollPosition().y, 877 - client.bottom);
  EXPECT_GT(test::GreyAt(viewer.hwnd(), 10, client.bottom - 10), 0xA0);
}

INSTANTIATE_TEST_SUITE_P(EachFormat, ImageTest,
                         ::testing::Values(ImageFormat::Bmp, ImageFormat::Gif, ImageFormat::Jpg, ImageFormat::Png,
                                           ImageFormat::Tif),
                         [](const ::testing::TestParamInfo<ImageFormat>& param) {
                           std::wstring extension = test::ExtensionOf(param.param);
                           return std::string(extension.begin(), extension.end());
                         });

// Files the viewer cannot show: a clear error, and an empty viewer afterwards.
TEST(ImageViewerErrors, BadFilesRaiseAndLeaveTheViewerEmpty) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = test::FreshFolder(L"bad_images");
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\good.png", ImageFormat::Png, 64, 64));
  std::string png = test::ReadBytes(folder + L"\\good.png");
  ASSERT_TRUE(test::WriteBytes(folder + L"\\text.jpg", "this is not a picture"));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\cut.png", png.substr(0, png.size() / 3)));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\empty.bmp", ""));
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\good.bmp", ImageFormat::Bmp, 64, 64));
  std::string bmp = test::ReadBytes(folder + L"\\good.bmp");
  bmp.replace(18, 4, std::string("\xC0\xFF\xFF\xFF", 4));  // the width, -64
  ASSERT_TRUE(test::WriteBytes(folder + L"\\negative_width.bmp", bmp));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\huge.gif", CraftedGif()));
  struct Case {
    const wchar_t* name;
    long number;
  };
  const Case cases[] = {{L"missing.png", err::FileNotFound}, {L"text.jpg", err::InvalidPicture},
                        {L"cut.png", err::InvalidPicture},   {L"empty.bmp", err::InvalidPicture},
                        {L"negative_width.bmp", err::InvalidPicture}, {L"huge.gif", err::InvalidPicture},
                        {L"", err::FileNotFound}};
  test::ShownForm form;
  auto& viewer = form->Add<ImageViewer>(test::At(0, 0, 3000, 3000, L"viewer"));
  for (const Case& c : cases) {
    viewer.SetFilePath(folder + L"\\good.png");
    viewer.Load();
    ASSERT_TRUE(viewer.HasImage());
    viewer.SetFilePath(*c.name ? folder + L"\\" + c.name : L"");
    try {
      viewer.Load();
      ADD_FAILURE() << "no error for " << static_cast<int>(c.number) << " from the file " << testing::PrintToString(std::wstring(c.name));
    } catch (const VbError& error) {
      EXPECT_EQ(error.number, c.number);
    }
    EXPECT_FALSE(viewer.HasImage());
    UpdateWindow(viewer.hwnd());  // painting an empty viewer is harmless
  }
}

// GIFs go through our own decoder: a stray byte before the image, which the
// platform's decoder refuses, is stepped over as the animation control does; a GIF
// that declares a huge image is refused, however often, without taking memory.
TEST(ImageGif, StrayBytesAreSteppedOverAndHugeImagesTakeNoMemory) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = test::FreshFolder(L"gif_files");
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\page.gif", ImageFormat::Gif, 64, 48));
  std::string gif = test::ReadBytes(folder + L"\\page.gif");
  const size_t table = (gif[10] & 0x80) ? 3 * (size_t(2) << (gif[10] & 7)) : 0;
  gif.insert(13 + table, 1, '\0');
  ASSERT_TRUE(test::WriteBytes(folder + L"\\stray.gif", gif));
  EXPECT_EQ(ReadImageSize(folder + L"\\stray.gif"), (PixelSize{64, 48}));
  HBITMAP thumbnail = DecodeThumbnail(folder + L"\\stray.gif", {32, 32});
  EXPECT_NE(thumbnail, nullptr);
  DeleteObject(thumbnail);

  ASSERT_TRUE(test::WriteBytes(folder + L"\\crafted.gif", CraftedGif()));
  auto available = [] {  // MB in the free regions of the address space
    double free = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
      if (region.State == MEM_FREE) free += region.RegionSize / double(1 << 20);
      const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
      if (next <= at) break;
      at = next;
    }
    return free;
  };
  const double before = available();
  for (int opening = 0; opening < 3; ++opening) EXPECT_THROW(ImageFile{folder + L"\\crafted.gif"}, VbError);
  EXPECT_LT(before - available(), 100.0) << "MB of address space kept";
}

// A thumbnail is loaded at zoom 1 and fitted at once: it must decode once, at the
// fitted size. The file goes after the load, so a second decode would fail.
TEST(ImageViewerDecodes, SettingsThatComeBackKeepTheHeldPicture) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = test::FreshFolder(L"held_picture");
  const std::wstring path = folder + L"\\page.png";
  ASSERT_TRUE(test::WriteSamplePage(path, ImageFormat::Png, 620, 877));
  test::ShownForm form;
  auto& viewer = form->Add<ImageViewer>(test::At(0, 0, 1875, 1900, L"viewer"));
  viewer.SetFitToWindow(true);
  viewer.SetFilePath(path);
  viewer.Load();
  const PixelSize fitted = viewer.HeldSize();
  ASSERT_TRUE(DeleteFileW(path.c_str()));
  viewer.SetFitToWindow(false);
  viewer.SetZoom(1);
  viewer.SetFitToWindow(true);
  UpdateWindow(viewer.hwnd());
  EXPECT_TRUE(viewer.HasImage()) << "the picture was decoded again from the file";
  EXPECT_EQ(viewer.HeldSize(), fitted);
}

TEST(ImageViewerErrors, ZoomMustBeAboveZero) {
  test::ShownForm form;
  auto& viewer = form->Add<ImageViewer>(test::At(0, 0, 3000, 3000, L"viewer"));
  for (double zoom : {0.0, -1.0}) {
    EXPECT_THROW(viewer.SetZoom(zoom), VbError);
    EXPECT_EQ(viewer.Zoom(), 1.0);
  }
}

}  // namespace
}  // namespace vk::hosted
