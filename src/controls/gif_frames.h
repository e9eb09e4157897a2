#pragma once
// Splits a GIF file into one-image GIF files, one per frame, without decoding the
// image data: the player turns each one-image file into a picture. Plain C++ with
// no Windows header, so the block scanner also builds natively for fuzzing.
//
// The scan walks the blocks the way the player always has (an unknown extension is
// stepped through byte by byte, an application block is followed from its first
// sub-block), but every read is bounds-checked: a file that is cut short, or whose
// block lengths point past its end, ends the split as Malformed and loads nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk::controls {

// A colour packed as red + 256 * green + 65536 * blue (a COLORREF).
using PackedColour = uint32_t;

// Logical screen descriptor.
struct ScreenInfo {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t flags = 0;
  uint8_t backgroundIndex = 0;
  uint8_t aspectRatio = 0;
  bool HasGlobalTable() const { return (flags & 0x80) != 0; }
  int GlobalSizeField() const { return flags & 0x07; }
};

struct GifFrameInfo {
  // Graphic control extension read since the previous image (zeros without one).
  int disposal = 0;
  bool userInput = false;
  bool transparent = false;
  uint16_t delay = 0;  // hundredths of a second, as stored
  uint8_t transparentIndex = 0;
  // Image descriptor.
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  bool localTable = false;
  bool interlaced = false;
  bool sorted = false;
  int localSizeField = 0;
  uint8_t lzwMinimumCodeSize = 0;
  // The frame's bytes in the file: from the end of the previous image (or of the
  // header) up to this image's data terminator, exclusive.
  size_t start = 0;
  size_t end = 0;
  size_t localTableOffset = 0;
  // Key colour taken from the local table after patching; valid when hasLocalKey.
  PackedColour localKey = 0;
  bool hasLocalKey = false;
};

enum class SplitStatus {
  Ok,         // at least one frame, every block inside the file
  NoFile,     // empty buffer
  NotGif,     // does not start with "GIF8"
  NoImage,    // a well-formed header and blocks, but no image
  Malformed,  // a length or field past the end of the file
};

// The entries of a colour table, 2^(sizeField + 1) of them.
inline int TableEntries(int sizeField) { return 1 << ((sizeField & 7) + 1); }

class GifSplit {
 public:
  // Splits `file` (taken over and patched in place). With changeTransparentColor,
  // a frame's transparent entry whose colour another entry of its table shares
  // gets a colour of its own, so the colour key picks only transparent pixels.
  GifSplit(std::vector<uint8_t> file, bool changeTransparentColor);

  SplitStatus Status() const { return status_; }
  const ScreenInfo& Screen() const { return screen_; }
  // Frames read; after a Malformed split, the records read before the fault.
  const std::vector<GifFrameInfo>& Frames() const { return frames_; }
  const std::array<uint8_t, 768>& GlobalTable() const { return globalTable_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  // The one-image GIF file of frame k: the header with the (patched) global table,
  // the frame's own bytes, then a terminator, a graphic-control introducer and the
  // trailer. Empty when there is no such frame.
  std::vector<uint8_t> FrameFile(size_t k) const;

  // The colour that stands for "transparent" in frame k; false when the frame is
  // not transparent or its index lies outside its table (no pixel can be keyed).
  bool KeyColour(size_t k, PackedColour& key) const;

 private:
  bool Scan(bool changeTransparentColor);
  void PatchTransparent(const GifFrameInfo& frame, uint8_t* table, size_t tableOffset,
                        int sizeField);
  bool At(size_t i, uint8_t& value) const;
  bool FollowSubBlocks(size_t& q) const;

  std::vector<uint8_t> bytes_;
  ScreenInfo screen_;
  std::array<uint8_t, 768> globalTable_{};
  std::array<uint8_t, 768> localTable_{};
  std::vector<GifFrameInfo> frames_;
  SplitStatus status_ = SplitStatus::NoFile;
};

// The midpoint of the two largest packed values of a table, rounded half to even:
// the colour a transparent entry takes when its own colour is shared.
PackedColour MidpointOfTwoLargest(const uint8_t* table, int entries);

}  // namespace vk::controls
