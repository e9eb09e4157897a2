#include "tools/gif/sample_animation.h"

#include <cmath>

#include "tools/gif/gif_writer.h"

namespace vk::gif {

std::vector<uint8_t> SampleAnimation() {
  // 0 window white (also the transparent entry), 1 pale grey ring, 2 lit blue dot,
  // 3 darker trail.
  const std::vector<Colour> palette = {0xFFFFFF, 0xD0D0D0, 0xC06000, 0xE0B080};
  const double kPi = 3.14159265358979323846;
  GifBuilder builder;
  builder.Header("89a", kSampleSize, kSampleSize, palette).Loop().Comment("Ostrela busy");
  for (int frame = 0; frame < kSampleFrames; ++frame) {
    std::vector<uint8_t> pixels(size_t(kSampleSize) * kSampleSize, 0);
    for (int dot = 0; dot < kSampleFrames; ++dot) {
      double angle = 2 * kPi * dot / kSampleFrames - kPi / 2;
      double cx = 15.5 + 11 * std::cos(angle);
      double cy = 15.5 + 11 * std::sin(angle);
      int lag = (frame - dot + kSampleFrames) % kSampleFrames;
      uint8_t index = lag == 0 ? 2 : lag == 1 ? 3 : 1;
      double radius = lag == 0 ? 3.6 : 2.8;
      for (int y = 0; y < kSampleSize; ++y)
        for (int x = 0; x < kSampleSize; ++x)
          if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
            pixels[size_t(y) * kSampleSize + size_t(x)] = index;
    }
    builder.Control(2, 10, true, 0).Image(0, 0, kSampleSize, kSampleSize, pixels);
  }
  builder.Trailer();
  return builder.Bytes();
}

}  // namespace vk::gif
