#pragma once
// A small decoder for the first image of a GIF file, used where the platform's
// imaging component cannot read the one-image files the splitter writes. It keeps
// palette indices, so a frame's transparent colour stays an exact colour key.
// Plain C++ with no Windows header (also built natively for fuzzing); it sits below
// the controls so that the image viewer can use it too.
#include <cstddef>
#include <cstdint>
#include <vector>


namespace vk::hosted {

// A colour as red | green << 8 | blue << 16.
using PackedColour = uint32_t;

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;       // width * height, top-down, de-interlaced
  std::vector<PackedColour> palette;  // the image's table: local, else global
};

// Where the first image stands and which table colours it; false when the file
// holds no complete descriptor or the image has no pixels or more than 16 megapixels.
struct ImageLayout {
  int width = 0;
  int height = 0;
  bool interlaced = false;
  std::vector<PackedColour> palette;  // local, else global, else black and white
  size_t dataOffset = 0;              // the LZW minimum code size byte
  size_t imageEnd = 0;                // after the data terminator; 0 when cut short
};
bool ReadFirstImageLayout(const std::vector<uint8_t>& file, ImageLayout& layout);

// Decodes the first image. False where ReadFirstImageLayout is; LZW data that
// ends early or is corrupt leaves the remaining pixels 0.
bool DecodeFirstImage(const std::vector<uint8_t>& file, IndexedImage& image);

// The row that the n-th stored row of an interlaced image lands on.
int InterlacedRow(int storedRow, int height);

}  // namespace vk::hosted
