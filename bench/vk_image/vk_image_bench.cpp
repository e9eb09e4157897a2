// Filling a strip of thumbnails from full-page 300 dpi scans (2480 × 3508) the way the
// cataloguing screen's find command does (IsPDF, Path, LoadDocument, FitMode True, a
// repaint), against the floor: the same pages decoded bare at the thumbnail's size.
// Also what each thumbnail keeps in memory.
//
//   wine vk_image_bench.exe [thumbnails per format, default 20]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/bench_timing.h"
#include "hosted/image_decoder.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "screen_kit/vk_image.h"

int main(int argc, char** argv) {
  using namespace vk;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const std::wstring folder = test::FreshFolder(L"vk_image_bench");
  const test::ImageFormat formats[] = {test::ImageFormat::Jpg, test::ImageFormat::Png, test::ImageFormat::Tif};
  for (auto format : formats) {
    if (!test::WriteSamplePage(folder + L"\\page." + test::ExtensionOf(format), format, 2480, 3508)) return 1;
  }
  // The strip's design size of a thumbnail, side by side.
  test::ShownForm form(count * 2075.0 + 300, 2400);
  std::vector<VkImage*> strip;
  for (int i = 0; i < count; ++i) {
    strip.push_back(&form->Add<VkImage>(test::At(150 + i * 2075.0, 150, 1875, 1900, L"PSlide")));
  }
  const hosted::PixelSize box{strip[0]->clientWidth(), strip[0]->clientHeight()};
  std::printf("%d thumbnails of 2480x3508 pages into %dx%d pixels\n", count, box.width, box.height);
  for (auto format : formats) {
    const std::wstring path = folder + L"\\page." + test::ExtensionOf(format);
    const double floor = bench::Seconds([&] {
      for (int i = 0; i < count; ++i) DeleteObject(hosted::DecodeThumbnail(path, box));
    });
    const double ours = bench::Seconds([&] {
      for (VkImage* thumbnail : strip) {
        thumbnail->setIsPDF(false);
        thumbnail->setPath(path);
        thumbnail->LoadDocument();
        thumbnail->setFitMode(true);
        UpdateWindow(thumbnail->iImage().hwnd());
      }
    });
    const std::string what = "VkImage thumbnails, " + std::string(path.end() - 3, path.end());
    bench::Report(what.c_str(), count, ours, floor);
    const hosted::PixelSize held = strip[0]->iImage().HeldSize();
    std::printf("  each keeps %dx%d pixels (%.0f KB)\n", held.width, held.height, held.width * held.height * 4 / 1024.0);
  }
  CoUninitialize();
  return 0;
}
