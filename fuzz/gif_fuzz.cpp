// libFuzzer target for the GIF block scanner and the small decoder: any input
// must split or fail cleanly, and every frame file cut from it must decode or
// fail cleanly, with no read or write out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/gif_frames.h"
#include "hosted/gif_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> input(data, data + size);
  for (bool patch : {true, false}) {
    vk::controls::GifSplit split(input, patch);
    const auto& frames = split.Frames();
    for (size_t k = 0; k < frames.size(); ++k) {
      if (frames[k].start > frames[k].end || frames[k].end > split.Bytes().size()) std::abort();
      vk::controls::PackedColour key = 0;
      split.KeyColour(k, key);
      std::vector<uint8_t> file = split.FrameFile(k);
      if (split.Status() != vk::controls::SplitStatus::Ok) continue;
      vk::hosted::IndexedImage image;
      if (vk::hosted::DecodeFirstImage(file, image) &&
          image.indices.size() != size_t(image.width) * size_t(image.height))
        std::abort();
    }
  }
  vk::hosted::IndexedImage image;
  vk::hosted::DecodeFirstImage(input, image);
  return 0;
}
