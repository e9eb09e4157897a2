// Decoding full-page 300 dpi scans (2480 × 3508) to thumbnails: for each format, the
// time per thumbnail, the memory the process needed on top of what it had, and the
// floor (reading the file's bytes alone) with the ratio to it. A full-size decode is
// measured beside it, to show what decoding at the shown size saves.
//
//   wine hosted_image_bench.exe [thumbnails per format, default 10]
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/support/bench_timing.h"
#include "hosted/image_decoder.h"
#include "hosted/sample_images.h"

namespace {

using vk::bench::NowMs;
using vk::hosted::PixelSize;
using vk::test::ImageFormat;

// The process's working set now, in MB.
double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

size_t BitmapBytes(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(info.bmHeight);
}

}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::wstring folder = vk::test::FreshFolder(L"bench");
  const PixelSize box{120, 170};
  const ImageFormat formats[] = {ImageFormat::Bmp, ImageFormat::Gif, ImageFormat::Jpg, ImageFormat::Png,
                                 ImageFormat::Tif};
  for (ImageFormat format : formats) {
    if (!vk::test::WriteSamplePage(folder + L"\\page." + vk::test::ExtensionOf(format), format, 2480, 3508)) {
      std::printf("%ls could not be written\n", vk::test::ExtensionOf(format));
      return 1;
    }
  }
  std::printf("Thumbnails of 2480x3508 pages into %dx%d, %d per format\n", box.width, box.height, count);
  std::printf("%-4s %8s %9s %9s %7s %9s %14s\n", "fmt", "file KB", "ms/thumb", "floor ms", "ratio", "KB kept",
              "MB more held");
  for (ImageFormat format : formats) {
    const std::wstring path = folder + L"\\page." + vk::test::ExtensionOf(format);
    // The floor: what reading the file costs without decoding anything.
    double start = NowMs();
    size_t fileBytes = 0;
    for (int i = 0; i < count; ++i) fileBytes = vk::test::ReadBytes(path).size();
    const double floorMs = (NowMs() - start) / count;
    size_t kept = 0;
    double more = 0;
    start = NowMs();
    for (int i = 0; i < count; ++i) {
      const double before = WorkingSetMb();
      HBITMAP thumbnail = vk::hosted::DecodeThumbnail(path, box);
      more = std::max(more, WorkingSetMb() - before);  // what stays in memory with the thumbnail
      kept = BitmapBytes(thumbnail);
      DeleteObject(thumbnail);
    }
    const double thumbMs = (NowMs() - start) / count;
    std::printf("%-4ls %8.0f %9.1f %9.2f %7.1f %9.1f %10.1f\n", vk::test::ExtensionOf(format),
                static_cast<double>(fileBytes) / 1024.0, thumbMs, floorMs, floorMs > 0 ? thumbMs / floorMs : 0.0,
                static_cast<double>(kept) / 1024.0, more);
  }
  std::printf("\nFor comparison, the whole page decoded at full size:\n%-4s %9s %9s %14s\n", "fmt", "ms", "MB kept",
              "MB more held");
  for (ImageFormat format : formats) {
    const std::wstring path = folder + L"\\page." + vk::test::ExtensionOf(format);
    const double before = WorkingSetMb();
    const double start = NowMs();
    HBITMAP full = vk::hosted::DecodeScaled(path, {2480, 3508}, RECT{0, 0, 2480, 3508});
    const double fullMs = NowMs() - start;
    const double more = WorkingSetMb() - before;
    const size_t kept = BitmapBytes(full);
    DeleteObject(full);
    std::printf("%-4ls %9.1f %9.1f %14.1f\n", vk::test::ExtensionOf(format), fullMs,
                static_cast<double>(kept) / (1024.0 * 1024.0), more);
  }
  CoUninitialize();
  return 0;
}
