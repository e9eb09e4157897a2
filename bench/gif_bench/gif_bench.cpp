// What the player pays: loading an animation (split, one temporary file per frame,
// decode) and drawing a frame, opaque and colour-keyed. Each figure is printed next
// to its floor: for loading, reading the file and writing and deleting the same
// frame files (the disk alone); for drawing, the bare block transfers the drawing
// needs (two for an opaque frame, nine for a keyed one) with no player around them.
#include <windows.h>

#include <cstdio>
#include <random>

#include "bench/support/bench_timing.h"
#include "controls/frame_picture.h"
#include "controls/gif_frames.h"
#include "controls/gif_temp_file.h"
#include "controls/vk_animated_gif.h"
#include "hosted/gif_decoder.h"
#include "runtime/form.h"
#include "tools/gif/gif_writer.h"

namespace {

using vk::bench::Report;
using vk::bench::Seconds;
using vk::controls::VkAnimatedGif;

class BenchForm : public vk::Form {
 public:
  BenchForm() : Form({.name = L"FBench", .scaleWidth = 4000, .scaleHeight = 4000}) {}
};

constexpr int kSize = 128;
constexpr int kFrames = 60;

// An animation of kFrames frames of kSize x kSize: blocks of colour with some
// noise (so the data does not compress to nothing), every other frame keyed.
std::vector<uint8_t> MakeAnimation() {
  std::mt19937 rng(1);
  std::vector<vk::gif::Colour> table(256);
  for (auto& c : table) c = rng() & 0xFFFFFF;
  vk::gif::GifBuilder builder;
  builder.Header("89a", kSize, kSize, table).Loop();
  for (int k = 0; k < kFrames; ++k) {
    std::vector<uint8_t> pixels(size_t(kSize) * kSize);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = (rng() % 8 == 0) ? uint8_t(rng() % 256) : uint8_t((i / 16 + size_t(k)) % 256);
    builder.Control(1, 5, k % 2 == 1, 0).Image(0, 0, kSize, kSize, pixels);
  }
  return builder.Trailer().Bytes();
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::vector<uint8_t> bytes = MakeAnimation();
  const std::wstring path = vk::controls::WriteNewTempFile(L"bch", L"GIF", bytes);
  std::printf("animation: %d frames of %dx%d, %zu bytes\n", kFrames, kSize, kSize, bytes.size());

  auto form = vk::Form::Load<BenchForm>();
  auto& gif = form->Add<VkAnimatedGif>({.name = L"IType", .width = kSize * 15.0, .height = kSize * 15.0});
  gif.put_strGifFileName(path);

  // Loading, against reading the file and writing and deleting the frame files.
  constexpr int kLoads = 5;
  const double load = Seconds([&] {
    for (int i = 0; i < kLoads; ++i) gif.LoadGif(false);
  });
  vk::controls::GifSplit reference(bytes, true);
  const double diskFloor = Seconds([&] {
    for (int i = 0; i < kLoads; ++i) {
      std::vector<uint8_t> read;
      vk::controls::ReadWholeFile(path, read);
      for (size_t k = 0; k < reference.Frames().size(); ++k) {
        std::wstring frame = vk::controls::WriteNewTempFile(L" 0", L"GIF", reference.FrameFile(k));
        DeleteFileW(frame.c_str());
      }
    }
  });
  Report("load (split, frame files, decode)", kLoads * kFrames, load, diskFloor);

  const double split = Seconds([&] {
    for (int i = 0; i < kLoads; ++i) vk::controls::GifSplit again(bytes, true);
  });
  const double copy = Seconds([&] {
    for (int i = 0; i < kLoads; ++i) {
      std::vector<uint8_t> again(bytes);
      if (again.empty()) std::puts("");
    }
  });
  Report("split alone (vs copying the bytes)", kLoads, split, copy);

  // Decoders on one frame file.
  const std::vector<uint8_t> frameFile = reference.FrameFile(1);
  const std::wstring framePath = vk::controls::WriteNewTempFile(L" 1", L"GIF", frameFile);
  constexpr int kDecodes = 50;
  const double imaging = Seconds([&] {
    for (int i = 0; i < kDecodes; ++i) vk::controls::LoadFramePicture(framePath);
  });
  const double own = Seconds([&] {
    for (int i = 0; i < kDecodes; ++i) vk::controls::FramePictureFromGif(frameFile);
  });
  Report("frame picture: imaging vs our decoder", kDecodes, imaging, own);
  DeleteFileW(framePath.c_str());

  // Drawing, against the bare transfers the drawing needs.
  gif.LoadGif(false);
  constexpr int kDraws = 500;
  const double opaque = Seconds([&] {
    for (int i = 0; i < kDraws; ++i) gif.RenderGif(0);
  });
  const double keyed = Seconds([&] {
    for (int i = 0; i < kDraws; ++i) gif.RenderGif(1);
  });
  HDC target = gif.hDC();
  HDC canvas = CreateCompatibleDC(target);
  HBITMAP canvasBitmap = CreateCompatibleBitmap(target, kSize, kSize);
  HGDIOBJ oldCanvas = SelectObject(canvas, canvasBitmap);
  HDC frame = CreateCompatibleDC(target);
  HBITMAP frameBitmap = CreateCompatibleBitmap(target, kSize, kSize);
  HGDIOBJ oldFrame = SelectObject(frame, frameBitmap);
  const double opaqueFloor = Seconds([&] {
    for (int i = 0; i < kDraws; ++i) {
      BitBlt(canvas, 0, 0, kSize, kSize, frame, 0, 0, SRCCOPY);
      BitBlt(target, 0, 0, kSize, kSize, canvas, 0, 0, SRCCOPY);
    }
  });
  const double keyedFloor = Seconds([&] {
    for (int i = 0; i < kDraws; ++i) {
      for (int b = 0; b < 8; ++b) BitBlt(canvas, 0, 0, kSize, kSize, frame, 0, 0, b == 3 ? SRCAND : SRCCOPY);
      BitBlt(target, 0, 0, kSize, kSize, canvas, 0, 0, SRCCOPY);
    }
  });
  Report("draw an opaque frame", kDraws, opaque, opaqueFloor);
  Report("draw a colour-keyed frame", kDraws, keyed, keyedFloor);
  SelectObject(canvas, oldCanvas);
  SelectObject(frame, oldFrame);
  DeleteObject(canvasBitmap);
  DeleteObject(frameBitmap);
  DeleteDC(canvas);
  DeleteDC(frame);

  form->Unload();
  DeleteFileW(path.c_str());
  CoUninitialize();
  return 0;
}
